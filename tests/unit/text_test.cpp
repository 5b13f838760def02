#include "gfx/text.h"

#include <gtest/gtest.h>

#include "gfx/sprite_sheet.h"
#include "packwriter/packwriter.h"
#include "platform/numbers.h"

TEST(GlyphIndex, MapsTheFontTable) {
    const std::pair<char, int> cases[] = {
        {'a', 0},  {'0', 0},  {'9', 9},  {'A', 10}, {'Z', 35},
        {':', 36}, {'.', 38}, {' ', 42}, {'(', 43}, {'-', 46},
        {'=', 49}, {'<', 0},  {'[', 0},  {'\t', 0}, {static_cast<char>(200), 0},
    };
    for (auto [ch, glyph] : cases) EXPECT_EQ(gfx::glyph_index(ch), glyph) << int(ch);
}

TEST(Format5Digits, PadsToFiveAndNeverCuts) {
    const std::pair<int, const char*> cases[] = {
        {0, "00000"},       {7, "00007"},         {1234, "01234"},
        {65000, "65000"},   {99999, "99999"},     {-5, "000-5"},
        {100000, "100000"}, {1234567, "1234567"}, {-12345, "-12345"},
    };
    for (auto [value, text] : cases) EXPECT_EQ(gfx::format_5digits(value), text);
}

TEST(ParseNumber, ReadsLikeTheFilesSpellThem) {
    const std::pair<const char*, int> cases[] = {
        {"12abc", 12},
        {"abc", 0},
        {"  -3", -3},
        {"+7", 7},
        {"0012", 12},
        {"5\r", 5},
        {"", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (auto [text, value] : cases) EXPECT_EQ(platform::parse_number(text), value) << text;
}

namespace {

// A font whose glyph i is (i % 4 + 2) pixels wide and 3 high, coloured i + 1.
gfx::SpriteSheet tiny_font(int glyphs) {
    std::vector<std::vector<pack::SheetCell>> rows(1);
    for (int i = 0; i < glyphs; ++i) {
        rows[0].push_back({gfx::Surface(i % 4 + 2, 3, static_cast<uint32_t>(i + 1)), {0, 0}});
    }
    gfx::SpriteSheet sheet;
    EXPECT_TRUE(sheet.load_sheet(pack::compose_sheet(rows)));
    return sheet;
}

}  // namespace

TEST(DrawText, AdvancesByEachGlyphsOwnWidth) {
    auto font = tiny_font(50);
    gfx::Surface target(100, 10, 0);
    font.draw_text(target, 10, 2, "A B", true);  // glyphs 10, 42, 11: widths 4, 4, 5
    EXPECT_EQ(target.pixel(10, 2), 11u);
    EXPECT_EQ(target.pixel(14, 2), 43u);
    EXPECT_EQ(target.pixel(18, 2), 12u);
    EXPECT_EQ(target.pixel(22, 2), 12u);
    EXPECT_EQ(target.pixel(23, 2), 0u);
    font.draw_text(target, 50, 2, "", true);
    EXPECT_EQ(target.pixel(50, 2), 0u);
}

TEST(DrawCodeText, FourDigitCodesAndIgnoredTail) {
    auto font = tiny_font(127);
    gfx::Surface target(100, 10, 0);
    font.draw_code_text(target, 10, 2, "00120034\r", true);  // glyph 12 (w 2), then 34
    EXPECT_EQ(target.pixel(10, 2), 13u);
    EXPECT_EQ(target.pixel(12, 2), 35u);
    gfx::Surface untouched(100, 10, 0);
    font.draw_code_text(untouched, 10, 2, "012", true);
    EXPECT_EQ(untouched.pixel(10, 2), 0u);
    font.draw_code_text(untouched, 10, 2, "9999", true);  // a code the sheet lacks
    EXPECT_EQ(untouched.pixel(10, 2), 0u);
}
