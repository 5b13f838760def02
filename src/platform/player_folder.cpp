// Everywhere but Windows, the player's files follow the XDG rules (app/data_paths.cpp): there
// is no application-data folder to name.
#include "platform/player_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace platform {

bool windows_folders() {
    return false;
}

std::filesystem::path app_data_folder() {
    return {};
}

bool can_make_files_in(const std::filesystem::path& dir) {
    // A name of this process's own, so that two games never take each other's answer.
    const std::filesystem::path probe =
        dir / (".vasul-write-test." + std::to_string(::getpid()) + ".tmp");
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

}  // namespace platform
