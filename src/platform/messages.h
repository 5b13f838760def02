#pragma once
#include <cstdint>

namespace platform {

// A window message in the Win32 shape that every scene handler is written in.
struct Message {
    uint32_t id = 0;
    uint32_t wparam = 0;
    uint32_t lparam = 0;
};

// Win32's values under names of our own: windows.h defines WM_* and VK_* as macros, and the
// core must compile beside it.
inline constexpr uint32_t kWmDestroy = 0x0002;
inline constexpr uint32_t kWmClose = 0x0010;
inline constexpr uint32_t kWmQuit = 0x0012;
inline constexpr uint32_t kWmKeyDown = 0x0100;
inline constexpr uint32_t kWmKeyUp = 0x0101;
inline constexpr uint32_t kWmMouseMove = 0x0200;
inline constexpr uint32_t kWmLButtonDown = 0x0201;
inline constexpr uint32_t kWmLButtonUp = 0x0202;
inline constexpr uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr uint32_t kWmRButtonDown = 0x0204;
inline constexpr uint32_t kWmRButtonDblClk = 0x0206;
// Files were dropped on the window; the platform hands their paths over once
// (Platform::take_dropped_files). wparam holds how many.
inline constexpr uint32_t kWmDropFiles = 0x0233;

inline constexpr uint32_t kVkShift = 16;
inline constexpr uint32_t kVkControl = 17;
inline constexpr uint32_t kVkEscape = 27;
inline constexpr uint32_t kVkSpace = 32;

// Mouse positions travel as x in the low and y in the high 16 bits.
constexpr uint32_t pack_point(int x, int y) {
    return (static_cast<uint32_t>(x) & 0xFFFFu) | ((static_cast<uint32_t>(y) & 0xFFFFu) << 16);
}
constexpr int point_x(uint32_t lparam) {
    return static_cast<int>(lparam & 0xFFFFu);
}
constexpr int point_y(uint32_t lparam) {
    return static_cast<int>(lparam >> 16);
}

inline Message mouse_message(uint32_t id, int x, int y) {
    return {id, 0, pack_point(x, y)};
}
inline Message key_message(uint32_t id, uint32_t vk) {
    return {id, vk, 0};
}

}  // namespace platform
