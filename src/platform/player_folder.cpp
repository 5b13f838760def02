// Everywhere but Windows, the player's files follow the XDG rules (app/data_paths.cpp), and
// nothing here is asked.
#include "platform/player_folder.h"

namespace platform {

bool windows_folders() {
    return false;
}

std::filesystem::path app_data_folder() {
    return {};
}

bool can_make_files_in(const std::filesystem::path&) {
    return false;
}

}  // namespace platform
