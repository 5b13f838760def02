// High scores and name entry before they are built.
#include "app/game.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "scores/high_score_scene.h"
#include "scores/high_score_table.h"
#include "scores/name_entry.h"

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
