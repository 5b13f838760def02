// Name entry and the high-score display, driven through the whole game on the fixture pack.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <string_view>

#include "app/game.h"
#include "frontend_helpers.h"
#include "gfx/archive.h"
#include "gfx/text.h"
#include "scenes/high_score_scene.h"
#include "scenes/name_entry_scene.h"
#include "scores/high_score_table.h"
#include "support/fixture_pack.h"
#include "support/test_game.h"

namespace {

using platform::kWmLButtonDown;
using platform::mouse_message;

constexpr int kNameEntryPicture = 14;
constexpr int kHighScorePicture = 13;
constexpr int kHighScoresItem = 5;

// Checks that text is drawn glyph by glyph from (x, y), with the background of `picture`
// right after its last glyph.
void expect_text(TestGame& t, int x, int y, std::string_view text, int picture) {
    for (char ch : text) {
        EXPECT_EQ(t.pixel(x + 1, y + 1), fixture::glyph_colour(ch)) << "'" << ch << "' at " << x;
        x += fixture::glyph_width(gfx::glyph_index(ch));
    }
    EXPECT_EQ(t.pixel(x + 1, y + 1), fixture::picture_pixel(picture, x + 1, y + 1))
        << "after \"" << text << "\"";
}

void open_entry(TestGame& t, int total) {
    t.start();
    t.game->state.total = total;
    app::change_scene(*t.game, NameEntry);
}

std::string entered(const TestGame& t) {
    const auto& e = t.game->name_entry;
    return std::string(e.entry_name.data(), static_cast<size_t>(e.entry_length));
}

void open_display(TestGame& t, const std::string& ini) {
    frontend::write_ini(t, ini);
    t.start();
    frontend::click_title_item(t, kHighScoresItem);
    ASSERT_EQ(t.game->current_scene, HighScores);
    t.move(600, 460);
}

}  // namespace

TEST(NameEntry, OnlyAPointerStrictlyInsideAButtonEntersItsLetter) {
    struct Case {
        int x, y;
        const char* entered;  // "" when the click adds nothing
        size_t length;
    };
    const Case cases[] = {
        {220, 220, "A", 1},  {201, 201, "A", 1},
        {239, 239, "A", 1},  {200, 220, "", 0},   // the left edge of A
        {240, 220, "", 0},                        // the line between A and B
        {241, 220, "B", 1},  {220, 240, "", 0},   // the line between the rows
        {220, 241, "H", 1},  {479, 319, "U", 1},  // the last button of row 2
        {420, 340, "\0", 1},                      // the blank button enters a zero byte
        {460, 340, "", 0},                        // right of the blank button: no button
        {300, 410, "", 0},                        // "ENTER GALLERY" before three letters
    };
    TestGame t;
    open_entry(t, 900);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        t.game->name_entry = {};
        t.click(c.x, c.y);
        EXPECT_EQ(entered(t), std::string(c.entered, c.length));
        EXPECT_EQ(t.game->current_scene, NameEntry);
    }
}

// The hot flag survives the click, so pressing again without a move repeats the letter.
TEST(NameEntry, QuickClicksOnOneLetterRepeatItUntilThree) {
    TestGame t;
    open_entry(t, 900);
    t.move(300, 260);  // J
    for (int i = 0; i < 4; ++i) t.send(mouse_message(kWmLButtonDown, 300, 260));
    EXPECT_EQ(entered(t), "JJJ");
    t.right_click(300, 260);
    EXPECT_EQ(t.game->current_scene, NameEntry);
}

TEST(NameEntry, GalleryLineShowsOnlyAtThreeLetters) {
    TestGame t;
    open_entry(t, 900);
    for (int letters = 0; letters < 3; ++letters) {
        t.move(620, 460);
        EXPECT_EQ(t.pixel(201, 401), fixture::picture_pixel(kNameEntryPicture, 201, 401));
        t.click(220, 220);
    }
    t.move(620, 460);
    expect_text(t, 200, 400, "ENTER GALLERY", kNameEntryPicture);
    // Letters do nothing now, and the line's area is strict too.
    t.click(260, 220);
    t.click(200, 410);
    EXPECT_EQ(entered(t), "AAA");
    EXPECT_EQ(t.game->current_scene, NameEntry);
    t.click(201, 401);
    EXPECT_EQ(t.game->current_scene, Gallery);
}

// The blank button shows as the 0 glyph in the preview and ends the recorded name. The table
// was never written before this game, so the default table takes the entry.
TEST(NameEntry, BlankButtonEndsTheRecordedName) {
    TestGame t;
    open_entry(t, 900);
    t.move(620, 460);
    expect_text(t, 280, 120, "-", kNameEntryPicture);
    expect_text(t, 200, 200, "A", kNameEntryPicture);
    expect_text(t, 360, 320, "Z", kNameEntryPicture);
    EXPECT_EQ(t.pixel(401, 321), fixture::picture_pixel(kNameEntryPicture, 401, 321));
    t.click(220, 220);
    t.click(420, 340);
    t.click(260, 220);
    t.move(620, 460);
    EXPECT_EQ(t.pixel(281, 121), fixture::glyph_colour('A'));
    EXPECT_EQ(t.pixel(321, 121), fixture::glyph_colour('0'));
    EXPECT_EQ(t.pixel(361, 121), fixture::glyph_colour('B'));
    t.click(300, 410);
    ASSERT_EQ(t.game->current_scene, Gallery);
    auto ini = frontend::read_ini(t.dir);
    EXPECT_EQ(ini["score/nam0"], "A");
    EXPECT_EQ(ini["score/sco0"], "900");
    EXPECT_EQ(ini["score/nam1"], "AAA");
    EXPECT_EQ(ini["score/sco1"], "500");
    EXPECT_TRUE(scores::load_high_scores(t.game->profile, t.game->high_scores));
}

TEST(HighScoreDisplay, FirstVisitShowsTheDefaultRows) {
    TestGame t;
    open_display(t, "");
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        expect_text(t, 240, 110 + 30 * i, "AAA", kHighScorePicture);
        expect_text(t, 320, 110 + 30 * i, "00500", kHighScorePicture);
    }
}

// Rows come from the file in every frame; a score too wide for five digits keeps them all.
TEST(HighScoreDisplay, RowsShowWhatTheFileHoldsNow) {
    TestGame t;
    open_display(t, "");
    std::string ini = "[score]\n";
    const char* names[] = {"A", "XYZW", "", "B-C"};
    const char* values[] = {"7", "65000", "123456", "-5"};
    for (int i = 0; i < 4; ++i) {
        ini += "nam" + std::to_string(i) + "=" + names[i] + "\nsco" + std::to_string(i) + "=" +
               values[i] + "\n";
    }
    frontend::write_ini(t, ini);
    t.pass();
    const char* shown_names[] = {"A", "XYZ", "", "B-C"};
    const char* shown_scores[] = {"00007", "65000", "123456", "000-5"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        expect_text(t, 240, 110 + 30 * i, shown_names[i], kHighScorePicture);
        expect_text(t, 320, 110 + 30 * i, shown_scores[i], kHighScorePicture);
    }
    expect_text(t, 240, 110 + 30 * 4, "AAA", kHighScorePicture);  // keys missing
}

TEST(HighScoreDisplay, BackButtonIsStrictAndRightClickLeavesAnywhere) {
    TestGame t;
    open_display(t, "");
    for (auto [x, y] : {std::pair{10, 20}, {57, 20}, {30, 10}, {30, 33}}) {
        t.click(x, y);
        EXPECT_EQ(t.game->current_scene, HighScores) << x << "," << y;
        EXPECT_EQ(t.game->back_button_hot, 0);
    }
    t.move(11, 11);
    EXPECT_EQ(t.pixel(20, 25), fixture::cell_colour(gfx::kBackButtonPiece, 1));
    t.click(11, 11);
    EXPECT_EQ(t.game->current_scene, Title);
    EXPECT_EQ(t.game->back_button_hot, 0);

    frontend::click_title_item(t, kHighScoresItem);
    ASSERT_EQ(t.game->current_scene, HighScores);
    t.right_click(320, 200);
    EXPECT_EQ(t.game->current_scene, Title);
    t.pass();
    EXPECT_EQ(t.pixel(600, 460), fixture::picture_pixel(0, 600, 460));
}
