#include "scenes/pause_scene.h"

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "sound/sound.h"

namespace scenes {

using namespace platform;

namespace {

// Resuming drops the back button's hover (the title's entry drops it on the other way out),
// so a stale flag from this visit can't abandon a later game with a click elsewhere.
void resume(Game& game) {
    game.back_button_hot = 0;
    app::resume_scene(game, Play);
}

}  // namespace

void pause_enter(Game& game) {
    app::load_screen_picture(game, app::kPausePicture);
}

void pause_handle(Game& game, const Message& message) {
    switch (message.id) {
        case kWmKeyDown:
            if (message.wparam == kVkSpace) resume(game);
            break;
        case kWmRButtonDown:
            resume(game);
            break;
        default:
            break;
    }
}

void pause_update(Game& game) {
    sound::sound_stop_all(game.mixer());
    app::draw_screen_picture(game);
    app::draw_back_button(game);
    for (const gfx::TextAt& line : kPauseLines) app::draw_text(game, line);
    app::draw_cursor(game, 0);
}

}  // namespace scenes
