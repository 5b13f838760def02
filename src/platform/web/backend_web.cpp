#include "platform/backend.h"
#include "platform/web/web_platform.h"

namespace platform {

// The page's canvas is the window: full screen and the window's icon belong to the page.
Result<std::unique_ptr<Platform>> make_platform(const BackendOptions&) {
    return web::make_web_platform();
}

std::vector<std::string> start_process(int argc, char** argv) {
    // The page hands over its query string's options as UTF-8 arguments.
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace platform
