#pragma once
#include <array>
#include <cstddef>

#include "app/hit_test.h"
#include "gfx/surface.h"

struct Game;

// The switches and arrows that the options and the music test both draw.
namespace scenes {

// Each control is drawn with its top-left at the corner of its hit area.
// Switch cells: 0 on, 1 on and hot, 2 off, 3 off and hot.
void draw_switch(Game& game, const gfx::Rect& r, bool on, bool hot);
// Arrow cells: 0 and 1 point left, 2 and 3 point right; the odd ones are hot.
void draw_arrow(Game& game, const gfx::Rect& r, bool right, bool hot);

// A scene's controls: their hit areas, in the order the pointer is tested against them, and
// the flags that say which one the pointer is on.
template <size_t N>
struct ControlTable {
    const std::array<gfx::Rect, N>& areas;
    std::array<bool, N>& hot;

    // Marks the control under the pointer hot, and no other.
    void point_at(int x, int y) const {
        hot = {};
        const int c = app::rect_at(areas, x, y);
        if (c >= 0) hot[static_cast<size_t>(c)] = true;
    }
    // The hot control, or -1 when the pointer is on none.
    int hot_control() const {
        for (size_t i = 0; i < N; ++i)
            if (hot[i]) return static_cast<int>(i);
        return -1;
    }
    void draw_switch(Game& game, int c, bool on) const {
        scenes::draw_switch(game, areas[static_cast<size_t>(c)], on, hot[static_cast<size_t>(c)]);
    }
    void draw_arrow(Game& game, int c, bool right) const {
        scenes::draw_arrow(game, areas[static_cast<size_t>(c)], right, hot[static_cast<size_t>(c)]);
    }
};
// Spelled out for compilers without deduction for aggregates.
template <size_t N>
ControlTable(const std::array<gfx::Rect, N>&, std::array<bool, N>&) -> ControlTable<N>;

}  // namespace scenes
