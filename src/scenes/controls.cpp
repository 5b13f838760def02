#include "scenes/controls.h"

#include "app/game.h"

namespace scenes {

void draw_switch(Game& game, const gfx::Rect& r, bool on, bool lit) {
    game.sheets.switch_sheet.draw_cell(game.back_buffer(), r.left, r.top,
                                       (on ? 0 : 2) + (lit ? 1 : 0), true);
}

void draw_arrow(Game& game, const gfx::Rect& r, bool right, bool lit) {
    game.sheets.arrow_sheet.draw_cell(game.back_buffer(), r.left, r.top,
                                      (right ? 2 : 0) + (lit ? 1 : 0), true);
}

}  // namespace scenes
