#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace platform {

struct SdlOptions {
    bool windowed = false;
    // A BMP with transparency for the window's icon; the system's own when empty or unreadable.
    std::filesystem::path icon;
    // Told whenever the player switches between full screen and the window.
    std::function<void(bool fullscreen)> fullscreen_changed;
};

// The real backend: an SDL2 window with the 640 x 480 picture scaled and letterboxed,
// SDL2_mixer for sound. Alt+Enter and F11 switch between full screen and a window at any
// moment; the game never hears those keys. Nothing, with the reason in error, when no display
// can be opened.
std::unique_ptr<Platform> make_sdl_platform(const SdlOptions& options, std::string& error);

}  // namespace platform
