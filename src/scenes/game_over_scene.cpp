#include "scenes/game_over_scene.h"

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"

namespace scenes {

void game_over_enter(Game& game) {
    app::load_screen_picture(game, app::kTimeUpPicture);
}

void game_over_update(Game& game) {
    app::draw_screen_picture(game);
    app::draw_back_button(game);
    app::draw_text(game, kPlayAgainLine);
    app::draw_cursor(game, 0);
}

}  // namespace scenes
