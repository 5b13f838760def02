#include "platform/backend.h"

// The game for node: only --headless, with real files. It proves that the browser's build of
// the game draws the same frames as every other.
namespace platform {

Result<std::unique_ptr<Platform>> make_platform(const BackendOptions&) {
    return Error{ErrorKind::Missing, "this build has no display: run it with --headless"};
}

std::vector<std::string> start_process(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace platform
