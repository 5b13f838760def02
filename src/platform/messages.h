#pragma once
#include <cstdint>

namespace platform {

// A window message in the Win32 shape that every scene handler is written in.
struct Message {
    uint32_t id = 0;
    uint32_t wparam = 0;
    uint32_t lparam = 0;
};

inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;

inline constexpr uint32_t VK_SHIFT = 16;
inline constexpr uint32_t VK_CONTROL = 17;
inline constexpr uint32_t VK_ESCAPE = 27;
inline constexpr uint32_t VK_SPACE = 32;

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
