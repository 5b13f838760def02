#pragma once
#include <memory>
#include <string>

#include "platform/backend.h"

namespace platform {

// The real backend: an SDL2 window with the 640 x 480 picture scaled and letterboxed,
// SDL2_mixer for sound. Alt+Enter and F11 switch between full screen and a window at any
// moment; the game never hears those keys. Nothing, with the reason in error, when no display
// can be opened.
Result<std::unique_ptr<Platform>> make_sdl_platform(const BackendOptions& options);

}  // namespace platform
