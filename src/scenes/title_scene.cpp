#include "scenes/title_scene.h"

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "scenes/controls.h"
#include "scores/high_score_table.h"
#include "settings/settings.h"
#include "sound/sound.h"

namespace scenes {

using namespace platform;

namespace {

// What follows the next scene's entry on every way out but a new game: silence.
void leave_title(Game& game) {
    sound::sound_stop_all(game.mixer());
}

auto menu(Game& game) {
    return ControlTable{kMenuItems, game.title.lit};
}

void load_pictures(Game& game) {
    app::load_screen_picture(game, app::kTitlePicture);
}

// The gallery and the high-score display both need a valid table first.
void ensure_high_scores(Game& game) {
    if (!scores::load_high_scores(game.profile, game.high_scores))
        scores::reset_high_scores(game.profile);
}

void run_item(Game& game, int item) {
    switch (item) {
        case 0:
            app::change_scene(game, Play);
            break;
        case 1:
            app::change_scene(game, ScriptViewer);
            leave_title(game);
            break;
        case 2:
            app::change_scene(game, Options);
            leave_title(game);
            break;
        case 3:
            ensure_high_scores(game);
            game.handover.gallery_score = settings::read_top_score(game.profile);
            app::change_scene(game, Gallery);
            leave_title(game);
            break;
        case 4:
            app::change_scene(game, MusicTest);
            // Every visit raises the music step by one, heard at once but not written.
            sound::sound_step_level(game.mixer(), sound::kMusicChannel, +1);
            leave_title(game);
            break;
        case 5:
            ensure_high_scores(game);
            app::change_scene(game, HighScores);
            leave_title(game);
            break;
        case 6:
            app::quit_game(game);
            break;
        default:
            break;
    }
}

}  // namespace

void title_handle(Game& game, const Message& message) {
    if (message.id == kWmMouseMove) {
        menu(game).point_at(game.mouse_x, game.mouse_y);
    } else if (message.id == kWmLButtonDown) {
        run_item(game, game.title.lit.index);
    }
}

void title_update(Game& game) {
    app::draw_screen_picture(game);
    sound::music_loop_check(game.mixer());
    const Lit& lit = game.title.lit;
    if (lit.any()) {
        const gfx::Rect& item = menu(game).area(lit.index);
        game.sheets.menu_sheet.draw_cell(game.back_buffer(), item.left, item.top, lit.index, true);
    }
    app::draw_cursor(game, 0);
}

void title_enter(Game& game) {
    game.back_button_hot = 0;
    game.title.lit.clear();
    load_pictures(game);
    sound::sound_stop_all(game.mixer());
    sound::sound_open_and_apply(game.mixer(), sound::kMusicChannel, sound::kMusicFiles[0]);
}

void title_restore(Game& game) {
    load_pictures(game);
}

}  // namespace scenes
