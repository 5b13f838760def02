#include "platform/sdl/sdl_platform.h"

namespace platform {

std::unique_ptr<Platform> make_sdl_platform(const SdlOptions&, std::string& error) {
    error = "the window backend is not built yet";
    return nullptr;
}

}  // namespace platform
