#include "platform/executable.h"

namespace platform {

std::filesystem::path executable_path() {
    // Linux names the program's file in /proc whatever the name it was started by.
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self;
}

}  // namespace platform
