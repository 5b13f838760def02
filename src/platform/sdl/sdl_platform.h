#pragma once
#include <memory>
#include <string>

#include "platform/platform.h"

namespace platform {

struct SdlOptions {
    bool windowed = false;
};

// The real backend: an SDL2 window with the 640 x 480 picture scaled and letterboxed,
// SDL2_mixer for sound. Nothing, with the reason in error, when no display can be opened.
std::unique_ptr<Platform> make_sdl_platform(const SdlOptions& options, std::string& error);

}  // namespace platform
