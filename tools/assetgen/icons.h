#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "assetgen/image.h"
#include "platform/result.h"

// The application icon: a jigsaw piece cut from the lake at sunset, the first puzzle.
namespace assetgen {

// The sizes of the hicolor theme's application icons that the game ships.
inline constexpr int kIconSizes[] = {32, 48, 64, 128, 256};

// The icon at size x size pixels on a transparent background, cut from `lake` (reward 1).
Image paint_icon(const Image& lake, int size);

// The size of the icon the game sets on its own window.
inline constexpr int kWindowIconSize = 64;

// A 32-bit BMP with an alpha channel (a version 4 header with bit fields), which SDL and
// Windows read with its transparency: the window's icon, shipped in the pack.
std::vector<uint8_t> encode_icon_bmp(const Image& icon);

// Writes dir/hicolor/NxN/apps/<app_id>.png for every size; stops at the first file that can't
// be written, naming it.
platform::Result<void> write_icons(const std::filesystem::path& dir, const std::string& app_id);

// The web page's icons: the tab's (32) and the installed app's (192 and 512), as the
// manifest names them.
inline constexpr int kWebIconSizes[] = {32, 192, 512};

// Writes dir/icon-N.png for every size of the web page's icons; stops at the first file that
// can't be written, naming it.
platform::Result<void> write_web_icons(const std::filesystem::path& dir);

}  // namespace assetgen
