#include "scenes/title.h"

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "puzzle/play_scene.h"
#include "scenes/gallery.h"
#include "scenes/music_test.h"
#include "scenes/options.h"
#include "scores/high_score_scene.h"
#include "scores/high_score_table.h"
#include "settings/settings.h"
#include "sound/sound.h"
#include "viewer/viewer_scene.h"

namespace scenes {

using namespace platform;

namespace {

void leave_title(Game& game, Scene next) {
    game.current_scene = next;
    sound::sound_stop_all(game);
    game.title.menu_hot = {};
}

// The gallery and the high-score display both need a valid table first.
void ensure_high_scores(Game& game) {
    if (!scores::load_high_scores(game)) scores::reset_high_scores(game);
}

void run_item(Game& game, int item) {
    switch (item) {
        case 0:
            puzzle::start_game(game);
            game.title.menu_hot = {};
            break;
        case 1:
            viewer::enter_viewer(game);
            leave_title(game, ScriptViewer);
            break;
        case 2:
            load_options(game);
            leave_title(game, Options);
            break;
        case 3:
            ensure_high_scores(game);
            game.state.total = settings::read_top_score(game);
            load_gallery(game);
            leave_title(game, Gallery);
            break;
        case 4:
            load_music_test(game);
            sound::sound_step_level(game, sound::kMusicChannel, +1);
            leave_title(game, MusicTest);
            break;
        case 5:
            ensure_high_scores(game);
            scores::load_high_score_scene(game);
            leave_title(game, HighScores);
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
    app::handle_common(game, message);
    if (message.id == kWmMouseMove) {
        app::store_mouse(game, message);
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
    sound::music_loop_check(game);
    for (size_t i = 0; i < kMenuItems.size(); ++i) {
        if (game.title.menu_hot[i]) {
            game.sheets.menu_sheet.draw_cell(game.back_buffer(), kMenuItems[i].left,
                                             kMenuItems[i].top, static_cast<int>(i), true);
        }
    }
    app::draw_cursor(game, 0);
}

void title_restore(Game& game) {
    app::load_screen_picture(game, app::kTitlePicture);
    app::load_common_sheets(game);
}

void back_to_title(Game& game) {
    app::load_screen_picture(game, app::kTitlePicture);
    sound::sound_stop_all(game);
    sound::sound_open_and_apply(game, sound::kMusicChannel, sound::kMusicFiles[0]);
}

}  // namespace scenes
