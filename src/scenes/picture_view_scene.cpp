#include "scenes/picture_view_scene.h"

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "scenes/gallery_scene.h"

namespace scenes {

// The picture the gallery handed over; only the right button leaves, back to the gallery.
void picture_view_enter(Game& game) {
    app::load_screen_picture(game, app::reward_picture(game.handover.gallery_choice));
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
