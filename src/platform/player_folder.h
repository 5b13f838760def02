#pragma once
#include <filesystem>

// What the system says about where the player's own files go, for app/data_paths. Linux follows
// the XDG rules from the environment; Windows has folders of its own (player_folder_win32.cpp).
namespace platform {

// Whether the game keeps its files by Windows' rules (app::place_settings_windows).
bool windows_folders();

// Windows: the player's roaming application-data folder for the game (%APPDATA%\Vasul), not
// created; empty when the system names none, and everywhere but Windows.
std::filesystem::path app_data_folder();

// Whether a new file can be made in dir: tried with a file that is gone again at once.
bool can_make_files_in(const std::filesystem::path& dir);

}  // namespace platform
