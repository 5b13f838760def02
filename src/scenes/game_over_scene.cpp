#include "scenes/game_over_scene.h"

#include "app/game.h"
#include "app/hit_test.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"

namespace scenes {

using namespace platform;

void game_over_enter(Game& game) {
    app::load_screen_picture(game, app::kTimeUpPicture);
}

void game_over_handle(Game& game, const Message& message) {
    switch (message.id) {
        case kWmMouseMove:
            game.back_button_hot = app::on_back_button(game.mouse_x, game.mouse_y) ? 1 : 0;
            break;
        case kWmLButtonDown:
            if (game.back_button_hot) app::change_scene(game, Title);
            break;
        case kWmRButtonDown:
            app::change_scene(game, Title);
            break;
        default:
            break;
    }
}

void game_over_update(Game& game) {
    app::draw_screen_picture(game);
    app::draw_back_button(game);
    game.sheets.font_sheet.draw_text(game.back_buffer(), 84, 230, "RIGHT CLICK TO PLAY AGAIN",
                                     true);
    app::draw_cursor(game, 0);
}

void game_over_restore(Game& game) {
    game_over_enter(game);
    app::load_common_sheets(game);
}

}  // namespace scenes
