#include "scenes/game_over.h"

#include "app/game.h"
#include "app/hit_test.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "scenes/title.h"

namespace scenes {

using namespace platform;

namespace {

void leave_to_title(Game& game) {
    game.back_button_hot = 0;
    back_to_title(game);
    game.current_scene = Title;
}

}  // namespace

void game_over_handle(Game& game, const Message& message) {
    app::handle_common(game, message);
    switch (message.id) {
        case kWmMouseMove:
            app::store_mouse(game, message);
            game.back_button_hot = app::on_back_button(game.mouse_x, game.mouse_y) ? 1 : 0;
            break;
        case kWmLButtonDown:
            if (game.back_button_hot) leave_to_title(game);
            break;
        case kWmRButtonDown:
            leave_to_title(game);
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
    app::load_screen_picture(game, app::kTimeUpPicture);
    app::load_common_sheets(game);
}

}  // namespace scenes
