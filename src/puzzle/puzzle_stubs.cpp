// Play, tally, game over and pause before they are built: picture, pointer, Escape.
#include "app/game.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "puzzle/play_scene.h"
#include "puzzle/tally.h"
#include "scenes/game_over.h"
#include "scenes/pause.h"

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
void game_over_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void game_over_update(Game& g) { stub_update(g); }
void game_over_restore(Game& g) { stub_restore(g); }
void pause_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void pause_update(Game& g) { stub_update(g); }
void pause_restore(Game& g) { stub_restore(g); }
}  // namespace scenes
