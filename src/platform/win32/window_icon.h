#pragma once
// windows.h goes first: the headers after it build on it.
// clang-format off
#include <windows.h>
// clang-format on

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "gfx/surface.h"

namespace platform::win32 {

// The pixels of a BMP file as 0xAARRGGBB, read with the game's own BMP reader: a plain 32-bit file
// gives each pixel's fourth byte as its alpha, any other file (or a 32-bit one whose fourth
// bytes are all zero, as most such files have) is opaque. Nothing when it is not a usable BMP.
std::optional<gfx::Surface> icon_pixels(std::span<const uint8_t> bytes);

// The pixels averaged down (or repeated up) to size x size, transparency weighing each pixel.
gfx::Surface icon_of_size(const gfx::Surface& argb, int size);

// An icon with the pixels' transparency; null when Windows won't make it.
HICON make_icon(const gfx::Surface& argb);

// The big and small icons (SM_CXICON, SM_CXSMICON) of a BMP file; nulls when the file can't be
// read, so that the system's default stays.
struct WindowIcons {
    HICON big_icon = nullptr;
    HICON small_icon = nullptr;
};
WindowIcons load_window_icons(const std::filesystem::path& file);

}  // namespace platform::win32
