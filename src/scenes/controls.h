#pragma once
#include <span>
#include <string_view>

struct Game;

// The switches, arrows and labels that the options and the music test both draw.
namespace scenes {

// A control's hit rectangle; the control is drawn with its top-left at the corner.
struct ControlRect {
    int left, top, width, height;
};

// The first control whose rectangle strictly holds the point, or -1.
int control_at(std::span<const ControlRect> controls, int x, int y);

// Switch cells: 0 on, 1 on and hot, 2 off, 3 off and hot.
void draw_switch(Game& game, const ControlRect& r, bool on, bool hot);
// Arrow cells: 0 and 1 point left, 2 and 3 point right; the odd ones are hot.
void draw_arrow(Game& game, const ControlRect& r, bool right, bool hot);
// A label or value in the game's font, colour keyed.
void draw_label(Game& game, int x, int y, std::string_view text);

}  // namespace scenes
