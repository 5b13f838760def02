#include "scenes/picture_view_scene.h"

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "scenes/gallery_scene.h"

namespace scenes {

using namespace platform;

// Only the right button leaves; the gallery's choice stays, so a left click there without a
// move opens the same picture again.
void picture_view_enter(Game& game) {
    app::load_screen_picture(game, app::reward_picture(game.gallery.thumb_choice));
}

void picture_view_handle(Game& game, const Message& message) {
    if (message.id == kWmRButtonDown) app::change_scene(game, Gallery);
}

void picture_view_update(Game& game) {
    app::draw_screen_picture(game);
    app::draw_cursor(game, 0);
}

void picture_view_restore(Game& game) {
    gallery_restore(game);
    picture_view_enter(game);
}

}  // namespace scenes
