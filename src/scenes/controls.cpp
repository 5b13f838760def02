#include "scenes/controls.h"

#include "app/game.h"
#include "app/shell.h"

namespace scenes {

int control_at(std::span<const ControlRect> controls, int x, int y) {
    for (size_t i = 0; i < controls.size(); ++i) {
        const ControlRect& r = controls[i];
        if (app::point_in_rect(x, y, r.left, r.width, r.top, r.height)) return static_cast<int>(i);
    }
    return -1;
}

void draw_switch(Game& game, const ControlRect& r, bool on, bool hot) {
    game.sheets.switch_sheet.draw_cell(game.back_buffer(), r.left, r.top,
                                       (on ? 0 : 2) + (hot ? 1 : 0), true);
}

void draw_arrow(Game& game, const ControlRect& r, bool right, bool hot) {
    game.sheets.arrow_sheet.draw_cell(game.back_buffer(), r.left, r.top,
                                      (right ? 2 : 0) + (hot ? 1 : 0), true);
}

void draw_label(Game& game, int x, int y, std::string_view text) {
    game.sheets.font_sheet.draw_text(game.back_buffer(), x, y, text, true);
}

}  // namespace scenes
