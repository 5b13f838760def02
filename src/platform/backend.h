#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/result.h"

// The real backend of this build, SDL2 on Linux and Win32 on Windows, chosen when the program
// is linked, so that main includes no backend's headers. The headless backend is the core's.
namespace platform {

struct BackendOptions {
    bool windowed = false;
    // A BMP with transparency for the window's icon; the system's own when empty or unreadable.
    std::filesystem::path icon;
    // The player switched between full screen and the window (Alt+Enter, F11), so that the
    // game can remember the choice.
    std::function<void(bool fullscreen)> fullscreen_changed;
};

// Nothing, with the reason in error, when no display can be opened.
Result<std::unique_ptr<Platform>> make_platform(const BackendOptions& options);

// Readies the process for the backend and gives its arguments (without the program's name)
// as UTF-8, whatever the system's own encoding.
std::vector<std::string> start_process(int argc, char** argv);

// One pass of the main loop; the quit code when the loop must end.
using LoopPass = std::function<std::optional<int>(uint64_t pass)>;
// What follows the loop: shuts the game down and gives the program's exit status.
using LoopFinish = std::function<int(int code)>;

// Runs pass(0), pass(1), ... until one returns a quit code, then returns finish(code). A
// browser page must not wait in a loop: there the passes run from the page's animation frames,
// this returns at once and finish runs when the loop ends.
int run_loop(LoopPass pass, LoopFinish finish);

// A path from UTF-8 text such as an argument, so that any file name works on every system.
inline std::filesystem::path utf8_path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}
// And back: a path as UTF-8 text for a message, whatever the system's own encoding.
inline std::string utf8_text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace platform
