#pragma once
#include <string_view>

#include "gfx/sprite_sheet.h"
#include "gfx/text.h"

struct Game;

namespace app {

// Loads slice n of the picture archive into a sheet as a plain picture.
void load_picture(Game& game, gfx::SpriteSheet& sheet, int n);
// Loads piece p of the sheet archive into a sheet as a marked sheet.
void load_piece(Game& game, gfx::SpriteSheet& sheet, int p);
// "Load picture n": slice n into screen_picture.
void load_screen_picture(Game& game, int n);
// "Draw the picture": screen_picture over the whole back buffer.
void draw_screen_picture(Game& game);
// The five sheets every scene shares.
void load_common_sheets(Game& game);
// The pointer, drawn last in every frame.
void draw_cursor(Game& game, int cell);
// The back button at (10, 10) in its normal or hot form.
void draw_back_button(Game& game);
// Text in the game font, its key colour left out, on the back buffer.
void draw_text(Game& game, int x, int y, std::string_view text);
void draw_text(Game& game, const gfx::TextAt& text);

}  // namespace app
