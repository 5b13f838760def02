#pragma once
#include <string>
#include <string_view>

namespace gfx {

inline constexpr int kFontGlyphs = 50;

// The font cell of a character: digits 0-9, letters A-Z, then punctuation; anything the font
// lacks (lower case included) is the "0" glyph.
int glyph_index(char ch);
// Whether the game font draws the character itself (every other one draws as its glyph 0).
bool has_glyph(char ch);

// A text the game draws at a fixed place: its first glyph's top-left corner, and the text.
struct TextAt {
    int x;
    int y;
    std::string_view text;
};

// A number as five characters padded with "0" on the left ("00007", "000-5"). A value that
// needs more characters keeps all of them, so big scores are never cut.
std::string format_5digits(int value);

}  // namespace gfx
