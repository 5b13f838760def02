#pragma once
#include <filesystem>

namespace platform {

// The running program's own file, so that an install moved as a whole still finds what it
// ships beside the program. Empty when the system does not say.
std::filesystem::path executable_path();

}  // namespace platform
