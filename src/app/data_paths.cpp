#include "app/data_paths.h"

#include <cstdlib>

#include "platform/executable.h"
#include "platform/file_io.h"
#include "platform/player_folder.h"

namespace app {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsName = "vasul.ini";
// The pack's defaults are a few lines; anything far larger is not what the generator wrote.
constexpr uint64_t kMaxDefaultsSize = 1 << 20;

struct Candidate {
    fs::path dir;
    DataOrigin origin;
    const char* called;  // how the message names the place
    bool given;          // named by the player: taken without looking
};

std::vector<Candidate> candidates(const DataSearch& s) {
    fs::path beside;
    if (!s.executable.empty() && !s.beside_program.empty())
        beside = (s.executable.parent_path() / s.beside_program).lexically_normal();
    const Candidate all[] = {
        {s.flag, DataOrigin::Flag, "--data", true},
        {s.environment, DataOrigin::Environment, "VASUL_DATA_DIR", true},
        {s.current, DataOrigin::CurrentFolder, "the current folder", false},
        {beside, DataOrigin::BesideProgram, "beside the program", false},
        {s.prefix, DataOrigin::Prefix, "the install folder", false},
    };
    std::vector<Candidate> out;
    for (const Candidate& c : all)
        if (!c.dir.empty()) out.push_back(c);
    return out;
}

bool holds_pack(const fs::path& dir) {
    std::error_code ec;
    return fs::exists(dir / kPackMarker, ec);
}

std::string shown(const fs::path& dir) {
    std::error_code ec;
    fs::path full = fs::absolute(dir, ec).lexically_normal();
    if (ec) return dir.string();
    // "." becomes "/home/me/" once made whole: the folder is named without the last slash.
    if (!full.has_filename() && full.has_relative_path()) full = full.parent_path();
    return full.string();
}

const char* env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

platform::Result<DataFound> find_data(const DataSearch& search) {
    std::string looked;
    for (const Candidate& c : candidates(search)) {
        if (c.given || holds_pack(c.dir)) return DataFound{c.dir, c.origin};
        looked += (looked.empty() ? "" : ", ") + shown(c.dir) + " (" + c.called + ")";
    }
    return platform::Error{platform::ErrorKind::Missing,
                           std::string("no data pack found: none of ") + looked + " holds " +
                               kPackMarker +
                               "; --data DIR or VASUL_DATA_DIR names the folder that does"};
}

bool is_portable(DataOrigin origin) {
    return origin == DataOrigin::Flag || origin == DataOrigin::CurrentFolder;
}

fs::path player_folder(const HomeFolders& home) {
    // A relative XDG_DATA_HOME is invalid by the base-directory rules and is ignored.
    if (fs::path xdg = home.xdg_data_home; xdg.is_absolute()) return xdg / "vasul";
    if (home.home.empty()) return {};
    return fs::path(home.home) / ".local" / "share" / "vasul";
}

platform::Result<SettingsPlace> place_settings(const DataFound& data, const fs::path& ini_flag,
                                               const HomeFolders& home) {
    if (!ini_flag.empty()) return SettingsPlace{ini_flag, {}};
    if (is_portable(data.origin)) return SettingsPlace{data.dir / kSettingsName, {}};
    const fs::path folder = player_folder(home);
    if (folder.empty()) {
        return platform::Error{platform::ErrorKind::Missing,
                               "no folder for vasul.ini: neither XDG_DATA_HOME nor HOME is set "
                               "(--ini FILE names the file)"};
    }
    return SettingsPlace{folder / kSettingsName, data.dir / kSettingsName};
}

namespace {

// A shortcut starts the game in its own folder: on Windows a pack found there is the zip's as
// much as one found beside the program, and both keep vasul.ini where the player may write.
bool unpacked(DataOrigin origin) {
    return origin == DataOrigin::CurrentFolder || origin == DataOrigin::BesideProgram;
}

}  // namespace

platform::Result<SettingsPlace> place_settings_windows(const DataFound& data,
                                                       const fs::path& ini_flag,
                                                       const WindowsFolders& folders) {
    if (!ini_flag.empty()) return SettingsPlace{ini_flag, {}};
    if (data.origin == DataOrigin::Flag || (unpacked(data.origin) && folders.pack_writable))
        return SettingsPlace{data.dir / kSettingsName, {}};
    if (folders.app_data.empty()) {
        return platform::Error{platform::ErrorKind::Missing,
                               "no folder for vasul.ini: the game's folder cannot be written and "
                               "Windows names no application-data folder (--ini FILE names the "
                               "file)"};
    }
    return SettingsPlace{folders.app_data / kSettingsName, data.dir / kSettingsName};
}

platform::Result<void> copy_default_settings(const SettingsPlace& place) {
    std::error_code ec;
    if (place.defaults.empty() || fs::exists(place.file, ec) || ec) return {};
    const platform::Result<platform::FileText> read =
        platform::read_whole_file(place.defaults, kMaxDefaultsSize);
    if (!read) {
        if (read.error().kind == platform::ErrorKind::Missing) return {};
        return read.error();
    }
    if (place.file.has_parent_path()) fs::create_directories(place.file.parent_path(), ec);
    if (ec) {
        return platform::Error{
            platform::ErrorKind::Failed,
            "cannot create " + place.file.parent_path().string() + ": " + ec.message()};
    }
    const platform::Result<platform::FileStamp> written =
        platform::replace_file(place.file, read->text);
    if (!written) return written.error();
    return {};
}

platform::Result<GameFiles> locate_game_files(const FileOptions& options,
                                              const fs::path& beside_program,
                                              const fs::path& prefix) {
    DataSearch search;
    search.flag = options.data;
    search.environment = env("VASUL_DATA_DIR");
    // The current folder stays "." so that messages name files as the player sees them.
    search.current = ".";
    search.executable = platform::executable_path();
    search.beside_program = beside_program;
    search.prefix = prefix;
    const platform::Result<DataFound> data = find_data(search);
    if (!data) return data.error();
    platform::Result<SettingsPlace> place = platform::Error{};
    if (platform::windows_folders()) {
        // Only a pack the zip unpacked asks whether its folder can be written.
        WindowsFolders folders;
        folders.pack_writable =
            options.ini.empty() && unpacked(data->origin) && platform::can_make_files_in(data->dir);
        folders.app_data = platform::app_data_folder();
        place = place_settings_windows(*data, options.ini, folders);
    } else {
        place = place_settings(*data, options.ini, {env("XDG_DATA_HOME"), env("HOME")});
    }
    if (!place) return place.error();
    return GameFiles{data->dir, *place};
}

}  // namespace app
