#include "app/pictures.h"

#include <string>

#include "app/game.h"
#include "gfx/archive.h"
#include "platform/log.h"

namespace app {

namespace {

// A picture the game cannot draw is left out, and named each time it is asked for.
void load_or_warn(gfx::SpriteSheet& sheet, const std::string& name,
                  const platform::FileBytes& bytes, bool marked) {
    if (!bytes) {
        sheet.unload();
        platform::warn(name + " " + bytes.error().reason + "; not loaded");
        return;
    }
    const platform::Result<void> loaded =
        marked ? sheet.load_sheet(*bytes) : sheet.load_picture(*bytes);
    if (!loaded) platform::warn(name + " " + loaded.error().reason);
}

}  // namespace

void load_picture(Game& game, gfx::SpriteSheet& sheet, int n) {
    const std::string name = std::string(gfx::kPictureArchive) + " picture " + std::to_string(n);
    load_or_warn(sheet, name,
                 gfx::extract_slice(*game.data, gfx::kPictureArchive, n, gfx::kPictureCount),
                 false);
}

void load_piece(Game& game, gfx::SpriteSheet& sheet, int p) {
    if (p < 0 || p >= gfx::kPieceCount) {
        sheet.unload();
        return;
    }
    const auto range = gfx::kPieceTable[static_cast<size_t>(p)];
    load_or_warn(sheet, std::string(gfx::kSheetArchive) + " piece " + std::to_string(p),
                 gfx::extract_range(*game.data, gfx::kSheetArchive, range.first, range.end), true);
}

void load_screen_picture(Game& game, int n) {
    load_picture(game, game.sheets.screen_picture, n);
}

void draw_screen_picture(Game& game) {
    game.sheets.screen_picture.blit_picture(game.back_buffer(), 640, 480);
}

void load_common_sheets(Game& game) {
    Sheets& s = game.sheets;
    load_piece(game, s.back_button_sheet, gfx::kBackButtonPiece);
    load_piece(game, s.script_font_sheet, gfx::kScriptFontPiece);
    load_piece(game, s.font_sheet, gfx::kFontPiece);
    load_piece(game, s.menu_sheet, gfx::kMenuPiece);
    load_piece(game, s.cursor_sheet, gfx::kCursorPiece);
}

void draw_cursor(Game& game, int cell) {
    game.sheets.cursor_sheet.draw_cell(game.back_buffer(), game.mouse_x, game.mouse_y, cell, true);
}

void draw_back_button(Game& game) {
    game.sheets.back_button_sheet.draw_cell(game.back_buffer(), 10, 10, game.back_button_hot, true);
}

void draw_text(Game& game, int x, int y, std::string_view text) {
    game.sheets.font_sheet.draw_text(game.back_buffer(), x, y, text, true);
}

void draw_text(Game& game, const gfx::TextAt& text) {
    draw_text(game, text.x, text.y, text.text);
}

}  // namespace app
