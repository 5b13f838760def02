#pragma once
#include "gfx/surface.h"

struct Game;

// The switches and arrows that the options and the music test both draw.
namespace scenes {

// Each control is drawn with its top-left at the corner of its hit area.
// Switch cells: 0 on, 1 on and hot, 2 off, 3 off and hot.
void draw_switch(Game& game, const gfx::Rect& r, bool on, bool hot);
// Arrow cells: 0 and 1 point left, 2 and 3 point right; the odd ones are hot.
void draw_arrow(Game& game, const gfx::Rect& r, bool right, bool hot);

}  // namespace scenes
