// Scenes that are not built yet: they show their picture and the pointer and quit on Escape.
#include "app/game.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "puzzle/board.h"
#include "puzzle/play_scene.h"
#include "puzzle/rules.h"
#include "puzzle/tally.h"
#include "scenes/gallery.h"
#include "scenes/game_over.h"
#include "scenes/music_test.h"
#include "scenes/options.h"
#include "scenes/pause.h"
#include "scenes/picture_view.h"
#include "scores/high_score_scene.h"
#include "scores/high_score_table.h"
#include "scores/name_entry.h"
#include "viewer/script.h"
#include "viewer/viewer_scene.h"

namespace {
void stub_handle(Game& game, const platform::Message& m) {
    if (m.id == platform::WM_MOUSEMOVE) app::store_mouse(game, m);
    app::handle_common(game, m);
}
void stub_update(Game& game) {
    app::draw_screen_picture(game);
    app::draw_cursor(game, 0);
}
void stub_restore(Game& game) { app::load_common_sheets(game); }
}  // namespace

namespace puzzle {
void start_game(Game&) {}
void load_play_pictures(Game&) {}
void restore_play_pictures(Game& g) { stub_restore(g); }
void play_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void play_update(Game& g) { stub_update(g); }
void resume_play(Game&) {}
void tally_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void tally_update(Game& g) { stub_update(g); }
void tally_restore(Game& g) { stub_restore(g); }
}  // namespace puzzle

namespace scenes {
void load_options(Game&) {}
void options_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void options_update(Game& g) { stub_update(g); }
void options_restore(Game& g) { stub_restore(g); }
void game_over_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void game_over_update(Game& g) { stub_update(g); }
void game_over_restore(Game& g) { stub_restore(g); }
void pause_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void pause_update(Game& g) { stub_update(g); }
void pause_restore(Game& g) { stub_restore(g); }
void load_music_test(Game&) {}
void music_test_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void music_test_update(Game& g) { stub_update(g); }
void music_test_restore(Game& g) { stub_restore(g); }
void load_gallery(Game&) {}
void gallery_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void gallery_update(Game& g) { stub_update(g); }
void gallery_restore(Game& g) { stub_restore(g); }
void picture_view_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void picture_view_update(Game& g) { stub_update(g); }
void picture_view_restore(Game& g) { stub_restore(g); }
}  // namespace scenes

namespace scores {
bool load_high_scores(Game&) { return true; }
void reset_high_scores(Game&) {}
void open_name_entry(Game&) {}
void name_entry_update(Game& g) { stub_update(g); }
void name_entry_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void load_high_score_scene(Game&) {}
void high_scores_update(Game& g) { stub_update(g); }
void high_scores_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void high_scores_restore(Game& g) { stub_restore(g); }
}  // namespace scores

namespace viewer {
void enter_viewer(Game&) {}
void restore_viewer(Game& g) { stub_restore(g); }
void viewer_update(Game& g) { stub_update(g); }
void viewer_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
}  // namespace viewer
