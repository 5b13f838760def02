#include "scenes/gallery_scene.h"

#include "app/game.h"
#include "app/hit_test.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "gfx/archive.h"
#include "scenes/controls.h"

namespace scenes {

using namespace platform;

namespace {

constexpr int kThumbSize = 80;

// Thumbnail k sits in column k mod 4 and row k div 4, 160 pixels apart.
constexpr std::array<gfx::Rect, 8> kThumbnails = [] {
    std::array<gfx::Rect, 8> areas{};
    for (int k = 0; k < 8; ++k)
        areas[static_cast<size_t>(k)] =
            app::hit_area(40 + 160 * (k % 4), 110 + 160 * (k / 4), kThumbSize, kThumbSize);
    return areas;
}();

auto thumbnails(Game& game) {
    return ControlTable{kThumbnails, game.gallery.lit};
}

// A closed thumbnail is chosen too; the click then finds it closed.
void gallery_hover(Game& game) {
    GalleryState& g = game.gallery;
    thumbnails(game).point_at(game.mouse_x, game.mouse_y);
    g.choice = g.lit.index + 1;
}

// The choice stays after the picture view, so a click there without a move opens it again.
void gallery_click(Game& game) {
    const GalleryState& g = game.gallery;
    if (g.choice != 0 && g.open[static_cast<size_t>(g.choice - 1)]) {
        game.handover.gallery_choice = g.choice;
        app::change_scene(game, PictureView);
    }
}

// The thumbnail sheet holds the hot rows above the plain rows and the lock tile below them.
void draw_thumbnail(Game& game, size_t k) {
    const GalleryState& g = game.gallery;
    const int col = static_cast<int>(k % 4), row = static_cast<int>(k / 4);
    int sx = 0, sy = 320;
    if (g.open[k]) {
        sx = kThumbSize * col;
        sy = kThumbSize * row + (g.lit.on(static_cast<int>(k)) ? 0 : 160);
    }
    game.sheets.thumbnail_sheet().blit_region(game.back_buffer(), kThumbnails[k].left,
                                              kThumbnails[k].top, sx, sy, kThumbSize, kThumbSize);
}

}  // namespace

void gallery_enter(Game& game) {
    game.gallery.lit.clear();
    gallery_restore(game);
}

void gallery_restore(Game& game) {
    app::load_screen_picture(game, app::kGalleryPicture);
    app::load_piece(game, game.sheets.thumbnail_sheet(), gfx::kThumbnailPiece);
}

void gallery_handle(Game& game, const Message& message) {
    if (message.id == kWmMouseMove) {
        gallery_hover(game);
    } else if (message.id == kWmLButtonDown) {
        gallery_click(game);
    }
}

// Which pictures are open is never stored: every frame decides it from the score in hand.
void gallery_update(Game& game) {
    GalleryState& g = game.gallery;
    app::draw_screen_picture(game);
    app::draw_back_button(game);
    for (size_t k = 0; k < g.open.size(); ++k) {
        g.open[k] = game.handover.gallery_score >= kGalleryThresholds[k];
        draw_thumbnail(game, k);
    }
    app::draw_cursor(game, 0);
}

}  // namespace scenes
