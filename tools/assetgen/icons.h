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

// The sizes of the Windows icon (vasul.ico) that Explorer, the Start menu, the taskbar and the
// list of installed programs pick from.
inline constexpr int kWindowsIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// An .ico file holding the given square icons in the order given: 32-bit images with their
// alpha and a transparency mask up to 128 pixels, PNG above (as Windows reads them since
// Vista). Each icon is 1 to 256 pixels wide.
std::vector<uint8_t> encode_ico(const std::vector<Image>& icons);

// Writes the icon at every size of kWindowsIconSizes as one .ico file, replaced whole.
platform::Result<void> write_windows_icon(const std::filesystem::path& file);

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
