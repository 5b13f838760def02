#include "platform/backend.h"
#include "platform/sdl/sdl_platform.h"

namespace platform {

Result<std::unique_ptr<Platform>> make_platform(const BackendOptions& options) {
    return make_sdl_platform(options);
}

std::vector<std::string> start_process(int argc, char** argv) {
    // Linux hands arguments over as bytes, which are UTF-8 on every current system.
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace platform
