#include "scenes/viewer_scene.h"

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "gfx/archive.h"
#include "viewer/script.h"

namespace viewer {

using namespace platform;

namespace {

void load_pictures(Game& game) {
    app::load_screen_picture(game, app::kViewerPicture);
    app::load_piece(game, game.sheets.caption_panel_sheet, gfx::kCaptionPanelPiece);
}

void run_viewer_script(Game& game, int from) {
    run_script(
        game.script, game.viewer,
        [&game](gfx::SpriteSheet& sheet, int piece) { app::load_piece(game, sheet, piece); }, from);
}

// Every visit starts the script at its first line.
void start_script(Game& game) {
    clear_script(game.script);
    read_script(*game.data, kScriptFile, game.script);
    run_viewer_script(game, 0);
}

void next_page(Game& game) {
    const int from = game.script.resume_line;
    if (from == 0) return;
    game.script.resume_line = 0;
    run_viewer_script(game, from);
}

void draw_slots(Game& game) {
    ViewerState& v = game.viewer;
    for (size_t s = 0; s < v.image_sheet.size(); ++s) {
        const int p = placement_position(v.image_placement[s]);
        if (p < 0) continue;
        v.image_sheet[s].draw_cell(game.back_buffer(), p, p, v.image_frame[s], true);
    }
}

}  // namespace

void enter_viewer(Game& game) {
    game.script.resume_line = 0;
    load_pictures(game);
    start_script(game);
}

void viewer_update(Game& game) {
    gfx::Surface& target = game.back_buffer();
    app::draw_screen_picture(game);
    draw_slots(game);
    app::draw_back_button(game);
    game.sheets.caption_panel_sheet.draw_cell(target, 0, kPanelY, 0, true);
    for (size_t k = 0; k < game.viewer.caption.size(); ++k) {
        game.sheets.script_font_sheet.draw_code_text(target, kCaptionX,
                                                     kCaptionY + kCaptionStep * static_cast<int>(k),
                                                     game.viewer.caption[k], true);
    }
    app::draw_cursor(game, kViewerCursorCell);
}

// A click turns the page; the back button and the right click (to the title) are the shell's.
void viewer_handle(Game& game, const Message& message) {
    if (message.id == kWmLButtonDown) next_page(game);
}

}  // namespace viewer
