// The Win32 backend's window, under Wine or Windows: Alt+Enter and F11 switch the display and
// never reach the game, the pack's icon keeps its transparency, and the player's folders.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/player_folder.h"
#include "platform/win32/dropped_files.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/window_icon.h"
#include "support/fixture_pack.h"

namespace {

namespace fs = std::filesystem;
using platform::win32::DisplayKeys;
using Use = DisplayKeys::Use;

constexpr LPARAM kAlt = LPARAM{1} << 29;
constexpr LPARAM kRepeat = LPARAM{1} << 30;
constexpr LPARAM kRelease = (LPARAM{1} << 31) | kRepeat;

// What the window does with one key message: switch, keep it from everyone, or hand it on, and
// then whether the game hears it.
struct Heard {
    Use use;
    bool game;
};
Heard hear(DisplayKeys& keys, UINT id, WPARAM wparam, LPARAM lparam) {
    const Use use = keys.take(id, wparam, lparam);
    platform::Message message;
    const bool game =
        use == Use::Other && platform::win32::game_message(id, wparam, lparam, {}, message);
    return {use, game};
}

TEST(Win32DisplayKeys, AltEnterSwitchesOnceAndNoneOfItsMessagesReachTheGame) {
    DisplayKeys keys;
    // Alt down, Enter down, held (repeats), its character, Enter up, Alt up.
    EXPECT_EQ(hear(keys, WM_SYSKEYDOWN, VK_MENU, kAlt).use, Use::Other);
    EXPECT_FALSE(hear(keys, WM_SYSKEYDOWN, VK_MENU, kAlt).game);
    const Heard press = hear(keys, WM_SYSKEYDOWN, VK_RETURN, kAlt);
    EXPECT_EQ(press.use, Use::Switch);
    EXPECT_FALSE(press.game);
    EXPECT_EQ(hear(keys, WM_SYSKEYDOWN, VK_RETURN, kAlt | kRepeat).use, Use::Keep);
    EXPECT_EQ(hear(keys, WM_SYSCHAR, '\r', kAlt).use, Use::Keep);
    EXPECT_EQ(hear(keys, WM_SYSKEYUP, VK_RETURN, kAlt | kRelease).use, Use::Keep);
    EXPECT_EQ(hear(keys, WM_SYSKEYUP, VK_MENU, kAlt | kRelease).use, Use::Other);
    // A plain Enter afterwards is the game's again.
    EXPECT_TRUE(hear(keys, WM_KEYDOWN, VK_RETURN, 0).game);
    EXPECT_TRUE(hear(keys, WM_KEYUP, VK_RETURN, kRelease).game);
}

TEST(Win32DisplayKeys, EnterLetGoAfterAltIsKeptFromTheGameToo) {
    DisplayKeys keys;
    EXPECT_EQ(hear(keys, WM_SYSKEYDOWN, VK_RETURN, kAlt).use, Use::Switch);
    EXPECT_EQ(hear(keys, WM_KEYUP, VK_MENU, kRelease).use, Use::Other);
    const Heard release = hear(keys, WM_KEYUP, VK_RETURN, kRelease);
    EXPECT_EQ(release.use, Use::Keep);
    EXPECT_FALSE(release.game);
    EXPECT_TRUE(hear(keys, WM_KEYUP, VK_RETURN, kRelease).game);
}

TEST(Win32DisplayKeys, F11SwitchesOnceWhileHeldAndNeverReachesTheGame) {
    DisplayKeys keys;
    const Heard press = hear(keys, WM_KEYDOWN, VK_F11, 0);
    EXPECT_EQ(press.use, Use::Switch);
    EXPECT_FALSE(press.game);
    EXPECT_EQ(hear(keys, WM_KEYDOWN, VK_F11, kRepeat).use, Use::Keep);
    EXPECT_EQ(hear(keys, WM_KEYUP, VK_F11, kRelease).use, Use::Keep);
    EXPECT_EQ(hear(keys, WM_SYSKEYDOWN, VK_F11, kAlt).use, Use::Switch);
    EXPECT_EQ(hear(keys, WM_SYSKEYUP, VK_F11, kAlt | kRelease).use, Use::Keep);
}

TEST(Win32DisplayKeys, OtherKeysAndEnterWithoutAltAreTheGames) {
    DisplayKeys keys;
    for (WPARAM vk : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}, WPARAM{VK_SPACE}, WPARAM{VK_F10}}) {
        SCOPED_TRACE(vk);
        EXPECT_EQ(keys.take(WM_KEYDOWN, vk, 0), Use::Other);
        EXPECT_EQ(keys.take(WM_KEYUP, vk, kRelease), Use::Other);
    }
    EXPECT_EQ(keys.take(WM_CHAR, '\r', 0), Use::Other);
    EXPECT_EQ(keys.take(WM_MOUSEMOVE, 0, 0), Use::Other);
}

// A 32-bit bottom-up BMP with colour masks and an alpha mask, as the pack's icon is written.
std::vector<uint8_t> bmp32(int w, int h, const std::vector<uint32_t>& argb_top_down) {
    std::vector<uint8_t> out;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const uint32_t pixels = static_cast<uint32_t>(w * h * 4);
    put('B' | 'M' << 8, 2);
    put(14 + 108 + pixels, 4);
    put(0, 4);
    put(14 + 108, 4);
    put(108, 4);
    put(static_cast<uint32_t>(w), 4);
    put(static_cast<uint32_t>(h), 4);
    put(1, 2);
    put(32, 2);
    put(3, 4);
    put(pixels, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) put(mask, 4);
    put(0x73524742, 4);
    for (int i = 0; i < 12; ++i) put(0, 4);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) put(argb_top_down[static_cast<size_t>(y * w + x)], 4);
    return out;
}

TEST(Win32WindowIcon, ThePacksIconKeepsItsTransparencyAndBecomesAnIcon) {
    // Top left opaque red, top right clear, bottom half half-seen blue.
    const std::vector<uint32_t> argb = {0xFFFF0000, 0x00000000, 0x800000FF, 0x800000FF};
    const auto pixels = platform::win32::icon_pixels(bmp32(2, 2, argb));
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->pixels(), argb);

    const gfx::Surface big = platform::win32::icon_of_size(*pixels, 32);
    EXPECT_EQ(big.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(big.pixel(31, 0) >> 24, 0u);
    EXPECT_EQ(big.pixel(31, 31), 0x800000FFu);
    const gfx::Surface one = platform::win32::icon_of_size(*pixels, 1);
    EXPECT_EQ(one.pixel(0, 0) >> 24, (0xFFu + 0x80 + 0x80) / 4);

    const HICON icon = platform::win32::make_icon(big);
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    ASSERT_TRUE(GetObjectW(info.hbmColor, sizeof colour, &colour));
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    EXPECT_EQ(colour.bmBitsPixel, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

TEST(Win32WindowIcon, AFileWithoutAlphaIsOpaqueAndAMissingOrBadFileGivesNoIcon) {
    const auto opaque = platform::win32::icon_pixels(bmp32(2, 1, {0x00123456, 0x00654321}));
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->pixel(0, 0), 0xFF123456u);
    EXPECT_EQ(opaque->pixel(1, 0), 0xFF654321u);

    const std::vector<uint8_t> junk = {'B', 'M', 1, 2, 3};
    EXPECT_FALSE(platform::win32::icon_pixels(junk));
    const auto none = platform::win32::load_window_icons(fs::path("no/such/icon.bmp"));
    EXPECT_EQ(none.big_icon, nullptr);
    EXPECT_EQ(none.small_icon, nullptr);
    EXPECT_EQ(platform::win32::load_window_icons({}).big_icon, nullptr);
}

TEST(Win32PlayerFolder, TheRoamingAppDataFolderAndTheWriteTest) {
    EXPECT_TRUE(platform::windows_folders());
    const fs::path app_data = platform::app_data_folder();
    EXPECT_TRUE(app_data.is_absolute()) << app_data;
    EXPECT_EQ(app_data.filename(), fs::path("Vasul"));

    const fs::path dir = fixture::make_temp_dir("player-folder");
    EXPECT_TRUE(platform::can_make_files_in(dir));
    EXPECT_TRUE(fs::is_empty(dir));  // the test file is gone again
    EXPECT_FALSE(platform::can_make_files_in(dir / "missing"));
    std::error_code ec;
    fs::remove_all(dir, ec);
}

}  // namespace

namespace {

// A drop as Explorer hands it to a window: DROPFILES, then the wide names, each ended by a
// zero, and one zero more.
HDROP make_drop(const std::vector<std::wstring>& names) {
    size_t chars = 1;
    for (const std::wstring& n : names) chars += n.size() + 1;
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* head = static_cast<DROPFILES*>(GlobalLock(memory));
    head->pFiles = sizeof(DROPFILES);
    head->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(head) + sizeof(DROPFILES));
    for (const std::wstring& n : names) {
        std::copy(n.begin(), n.end(), text);
        text += n.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

}  // namespace

TEST(Win32Drop, TheFilesOfADropComeWithTheirFullNames) {
    const std::vector<std::wstring> names = {L"C:\\Users\\player\\Pictures\\K\u00fcste.jpg",
                                             L"D:\\b.png"};
    const HDROP drop = make_drop(names);
    const std::vector<std::filesystem::path> files = platform::win32::dropped_paths(drop);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].wstring(), names[0]);
    EXPECT_EQ(files[1].wstring(), names[1]);
    GlobalFree(drop);
}
