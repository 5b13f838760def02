#include "scenes/pause.h"

#include "app/game.h"
#include "app/hit_test.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "puzzle/play_scene.h"
#include "scenes/title.h"
#include "sound/sound.h"

namespace scenes {

using namespace platform;

namespace {

// Every way out of the pause drops the back button's hover, so a stale flag from this visit
// can't abandon a later game with a click elsewhere.
void resume(Game& game) {
    game.back_button_hot = 0;
    puzzle::resume_play(game);
}

void abandon_game(Game& game) {
    game.back_button_hot = 0;
    back_to_title(game);
    game.current_scene = Title;
}

}  // namespace

void pause_handle(Game& game, const Message& message) {
    app::handle_common(game, message);
    switch (message.id) {
        case kWmKeyDown:
            if (message.wparam == kVkSpace) resume(game);
            break;
        case kWmMouseMove:
            app::store_mouse(game, message);
            game.back_button_hot = app::on_back_button(game.mouse_x, game.mouse_y) ? 1 : 0;
            break;
        case kWmLButtonDown:
            if (game.back_button_hot) abandon_game(game);
            break;
        case kWmRButtonDown:
            resume(game);
            break;
        default:
            break;
    }
}

void pause_update(Game& game) {
    sound::sound_stop_all(game);
    app::draw_screen_picture(game);
    app::draw_back_button(game);
    gfx::Surface& bb = game.back_buffer();
    game.sheets.font_sheet.draw_text(bb, 134, 200, "PRESS SPACE KEY OR", true);
    game.sheets.font_sheet.draw_text(bb, 84, 230, "RIGHT CLICK TO CONTINUE", true);
    app::draw_cursor(game, 0);
}

void pause_restore(Game& game) {
    app::load_screen_picture(game, app::kPausePicture);
    app::load_common_sheets(game);
}

}  // namespace scenes
