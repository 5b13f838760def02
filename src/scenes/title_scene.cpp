#include "scenes/title_scene.h"

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "scenes/play_scene.h"
#include "scores/high_score_table.h"
#include "settings/settings.h"
#include "sound/sound.h"

namespace scenes {

using namespace platform;

namespace {

// What follows the next scene's entry on every way out but a new game: silence, no highlight.
void leave_title(Game& game) {
    sound::sound_stop_all(game.mixer());
    game.title.menu_hot = {};
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
            puzzle::start_game(game);
            game.title.menu_hot = {};
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
            game.state.total = settings::read_top_score(game.profile);
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
        game.title.menu_hot = {};
        const int item = app::rect_at(kMenuItems, game.mouse_x, game.mouse_y);
        if (item >= 0) game.title.menu_hot[static_cast<size_t>(item)] = true;
    } else if (message.id == kWmLButtonDown) {
        for (size_t i = 0; i < kMenuItems.size(); ++i) {
            if (game.title.menu_hot[i]) {
                run_item(game, static_cast<int>(i));
                break;
            }
        }
    }
}

void title_update(Game& game) {
    app::draw_screen_picture(game);
    sound::music_loop_check(game.mixer());
    for (size_t i = 0; i < kMenuItems.size(); ++i) {
        if (game.title.menu_hot[i]) {
            game.sheets.menu_sheet.draw_cell(game.back_buffer(), kMenuItems[i].left,
                                             kMenuItems[i].top, static_cast<int>(i), true);
        }
    }
    app::draw_cursor(game, 0);
}

void title_enter(Game& game) {
    game.back_button_hot = 0;
    load_pictures(game);
    sound::sound_stop_all(game.mixer());
    sound::sound_open_and_apply(game.mixer(), sound::kMusicChannel, sound::kMusicFiles[0]);
}

void title_restore(Game& game) {
    load_pictures(game);
    app::load_common_sheets(game);
}

}  // namespace scenes
