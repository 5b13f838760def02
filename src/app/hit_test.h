#pragma once
#include <span>

#include "gfx/surface.h"

namespace app {

// A hover or click area as the screens are laid out: left, top, width, height.
constexpr gfx::Rect hit_area(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

// The strict inside test of every hover and click area: all four edges are outside.
constexpr bool point_in_rect(int x, int y, const gfx::Rect& area) {
    return area.left < x && x < area.right && area.top < y && y < area.bottom;
}

// The index of the first area that holds the point, or -1; earlier areas win.
constexpr int rect_at(std::span<const gfx::Rect> areas, int x, int y) {
    for (size_t i = 0; i < areas.size(); ++i) {
        if (point_in_rect(x, y, areas[i])) return static_cast<int>(i);
    }
    return -1;
}

// The back button at (10, 10), 47 x 23.
inline constexpr gfx::Rect kBackButton = hit_area(10, 10, 47, 23);
constexpr bool on_back_button(int x, int y) {
    return point_in_rect(x, y, kBackButton);
}

}  // namespace app
