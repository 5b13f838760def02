#pragma once
#include <array>
#include <cstddef>

#include "app/hit_test.h"
#include "gfx/surface.h"

struct Game;

// The controls of a scene's screen: title items, offers, thumbnails, letters, switches, arrows.
namespace scenes {

// Which of a scene's controls the pointer is on: one index, or none.
struct Lit {
    static constexpr int kNone = -1;
    int index = kNone;

    bool on(int c) const { return index == c; }
    bool any() const { return index != kNone; }
    void clear() { index = kNone; }
};

// Each control is drawn with its top-left at the corner of its hit area.
// Switch cells: 0 on, 1 on and lit, 2 off, 3 off and lit.
void draw_switch(Game& game, const gfx::Rect& r, bool on, bool lit);
// Arrow cells: 0 and 1 point left, 2 and 3 point right; the odd ones are lit.
void draw_arrow(Game& game, const gfx::Rect& r, bool right, bool lit);

// A scene's controls: their hit areas, in the order the pointer is tested against them (the
// first that holds the pointer wins), and the one that is lit.
template <size_t N>
struct ControlTable {
    const std::array<gfx::Rect, N>& areas;
    Lit& lit;

    // Lights the control under the pointer, and no other.
    void point_at(int x, int y) const { lit.index = app::rect_at(areas, x, y); }
    const gfx::Rect& area(int c) const { return areas[static_cast<size_t>(c)]; }
    void draw_switch(Game& game, int c, bool on) const {
        scenes::draw_switch(game, area(c), on, lit.on(c));
    }
    void draw_arrow(Game& game, int c, bool right) const {
        scenes::draw_arrow(game, area(c), right, lit.on(c));
    }
};
// Spelled out for compilers without deduction for aggregates.
template <size_t N>
ControlTable(const std::array<gfx::Rect, N>&, Lit&) -> ControlTable<N>;

}  // namespace scenes
