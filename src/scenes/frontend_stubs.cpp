// Options, music test, gallery and picture view before they are built.
#include "app/game.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "scenes/gallery.h"
#include "scenes/music_test.h"
#include "scenes/options.h"
#include "scenes/picture_view.h"

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

namespace scenes {
void load_options(Game&) {}
void options_handle(Game& g, const platform::Message& m) { stub_handle(g, m); }
void options_update(Game& g) { stub_update(g); }
void options_restore(Game& g) { stub_restore(g); }
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
