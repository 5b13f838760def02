// The viewer before it is built.
#include "app/game.h"
#include "app/pictures.h"
#include "app/shell.h"
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

namespace viewer {
void enter_viewer(Game&) {}
void restore_viewer(Game& g) { stub_restore(g); }
void viewer_update(Game& g) { stub_update(g); }
void viewer_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
}  // namespace viewer
