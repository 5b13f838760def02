#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"

// Where the game's files are: the data pack it reads, and the player's vasul.ini.
//
// A game run from its data folder (or pointed at one with --data) is portable: it keeps
// vasul.ini beside the pack, so the whole game can live on a stick. An installed game reads a
// pack that the player may not write to, and keeps vasul.ini in the player's own data folder.
namespace app {

// How the pack was found. The first two are portable; the rest are installs.
enum class DataOrigin { Flag, Environment, CurrentFolder, BesideProgram, Prefix };

// The places the search may look at; empty ones are left out.
struct DataSearch {
    std::filesystem::path flag;            // --data DIR: taken as given
    std::filesystem::path environment;     // VASUL_DATA_DIR: taken as given
    std::filesystem::path current;         // the folder the game was started from
    std::filesystem::path executable;      // the program's own file
    std::filesystem::path beside_program;  // the pack's folder relative to the program's folder
    std::filesystem::path prefix;          // the pack's folder in the install prefix
};

struct DataFound {
    std::filesystem::path dir;
    DataOrigin origin = DataOrigin::Flag;
};

// The file whose presence marks a folder as holding the pack.
inline constexpr const char* kPackMarker = "image/data.bmp";
// The window's icon, a 32-bit BMP with transparency that the pack ships.
inline constexpr const char* kIconFile = "image/icon.bmp";

// The first place in the order above that holds the pack (or is named outright); Missing,
// naming every place looked at, when none does.
platform::Result<DataFound> find_data(const DataSearch& search);

bool is_portable(DataOrigin origin);

// The folders that decide where an installed game keeps the player's files.
struct HomeFolders {
    std::string xdg_data_home;  // $XDG_DATA_HOME
    std::string home;           // $HOME
};

// $XDG_DATA_HOME/vasul, or ~/.local/share/vasul when that is unset or not absolute; empty
// when neither tells.
std::filesystem::path player_folder(const HomeFolders& home);

// Where vasul.ini goes and whether it starts as a copy of the pack's defaults.
struct SettingsPlace {
    std::filesystem::path file;
    std::filesystem::path defaults;  // the pack's vasul.ini for an install, else empty
};

// --ini wins; a portable game keeps the file beside the pack, an installed one in the player's
// folder. Missing, saying why, when an installed game has no home to write to.
platform::Result<SettingsPlace> place_settings(const DataFound& data,
                                               const std::filesystem::path& ini_flag,
                                               const HomeFolders& home);

// Windows' rules, for a game unpacked from its zip: the pack beside vasul.exe (or in the
// current folder) is a portable game, which keeps vasul.ini there when that folder can be
// written, and else in the player's application-data folder (%APPDATA%\Vasul), starting from
// the pack's defaults as an install does. --ini and --data are as on Linux; a pack named by
// VASUL_DATA_DIR is an install, as on Linux.
struct WindowsFolders {
    bool pack_writable = false;      // whether a file can be made in the pack's folder
    std::filesystem::path app_data;  // the player's folder for the game; empty when unknown
};
platform::Result<SettingsPlace> place_settings_windows(const DataFound& data,
                                                       const std::filesystem::path& ini_flag,
                                                       const WindowsFolders& folders);

// On an install's first run, copies the pack's default settings to the player's file
// (creating its folder), so that a new player starts with music and a middle difficulty.
// Nothing is done when the player's file exists or the pack has no defaults. The error says
// why the copy could not be read or written.
platform::Result<void> copy_default_settings(const SettingsPlace& place);

// What the command line says about files.
struct FileOptions {
    std::filesystem::path data;  // --data
    std::filesystem::path ini;   // --ini
};

// Everything the game needs to know about its files, looked up in the process's environment:
// VASUL_DATA_DIR, the current folder, the program's own path, XDG_DATA_HOME and HOME, or on
// Windows whether the pack's folder can be written and the application-data folder.
struct GameFiles {
    std::filesystem::path data_dir;
    SettingsPlace settings;
};
platform::Result<GameFiles> locate_game_files(const FileOptions& options,
                                              const std::filesystem::path& beside_program,
                                              const std::filesystem::path& prefix);

}  // namespace app
