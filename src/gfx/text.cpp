#include "gfx/text.h"

#include <array>
#include <cstdint>

#include "gfx/sprite_sheet.h"
#include "platform/numbers.h"

namespace gfx {

namespace {

constexpr std::array<int, 91 - 32> make_glyph_table() {
    std::array<int, 91 - 32> t{};  // every unlisted character is glyph 0
    for (int c = '1'; c <= '9'; ++c) t[c - 32] = c - '0';
    for (int c = 'A'; c <= 'Z'; ++c) t[c - 32] = 10 + (c - 'A');
    t[':' - 32] = 36;
    t[';' - 32] = 37;
    t['.' - 32] = 38;
    t[',' - 32] = 39;
    t['!' - 32] = 40;
    t['?' - 32] = 41;
    t[' ' - 32] = 42;
    t['(' - 32] = 43;
    t[')' - 32] = 44;
    t['+' - 32] = 45;
    t['-' - 32] = 46;
    t['/' - 32] = 47;
    t['*' - 32] = 48;
    t['=' - 32] = 49;
    return t;
}

constexpr auto kGlyphTable = make_glyph_table();

}  // namespace

bool has_glyph(char ch) {
    const int c = static_cast<signed char>(ch);
    return ch == '0' || (c >= 32 && c <= 'Z' && kGlyphTable[static_cast<size_t>(c - 32)] != 0);
}

int glyph_index(char ch) {
    const int c = static_cast<signed char>(ch);
    if (c < 32 || c > 'Z') return 0;
    return kGlyphTable[static_cast<size_t>(c - 32)];
}

std::string format_5digits(int value) {
    std::string text = std::to_string(value);
    if (text.size() >= 5) return text;
    return std::string(5 - text.size(), '0') + text;
}

void SpriteSheet::draw_glyph(Surface& target, int x, int y, char ch, bool keyed) const {
    draw_cell(target, x, y, glyph_index(ch), keyed);
}

void SpriteSheet::draw_text(Surface& target, int x, int y, std::string_view text,
                            bool keyed) const {
    int previous = -1;
    for (char ch : text) {
        const int i = glyph_index(ch);
        if (previous >= 0) x += cell_width(previous);
        draw_cell(target, x, y, i, keyed);
        previous = i;
    }
}

int SpriteSheet::text_width(std::string_view text) const {
    int width = 0;
    for (char ch : text) width += cell_width(glyph_index(ch));
    return width;
}

void SpriteSheet::draw_code_text(Surface& target, int x, int y, std::string_view codes,
                                 bool keyed) const {
    int previous = 0;
    for (size_t k = 0; k + 4 <= codes.size(); k += 4) {
        const int g = platform::parse_number(codes.substr(k, 4));
        if (k > 0) x += cell_width(previous);
        draw_cell(target, x, y, g, keyed);
        previous = g;
    }
}

}  // namespace gfx
