#include "rules/tally.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/pictures.h"
#include "puzzle_helpers.h"
#include "rules/board.h"
#include "scenes/tally_scene.h"
#include "support/fixture_pack.h"
#include "support/test_game.h"

namespace {

using namespace puzzle;
using namespace platform;
using namespace puzzle_test;

// The tally as the play scene leaves it after stage 5: picture 14 up, counters at 0.
class TallyScene : public ::testing::Test {
  protected:
    void SetUp() override {
        t.start(2);
        g.sound.enabled = {true, true};
        rules::reset_game(s, g.difficulty);
        app::change_scene(g, Tally);
    }
    void enter(int score, int time_left, int max_chain) {
        s.score = score;
        s.time_left = time_left;
        s.max_chain = max_chain;
    }
    void press(int x, int y) { t.send(mouse_message(kWmLButtonDown, x, y)); }
    // The pass's message is handled before its frame, so the counting runs after the click.
    void count_to_the_end() {
        for (int frame = 0; frame < 5000 && g.current_scene == Tally && !rules::tally_done(s);
             ++frame)
            t.pass();
        ASSERT_EQ(g.current_scene, Tally);
        ASSERT_TRUE(rules::tally_done(s));
    }

    TestGame t{true, 0};
    Game& g = *t.game;
    rules::GameState& s = g.state;
};

TEST_F(TallyScene, DrawsTheCountersAndTheOffersOnlyOnceAllThreeAreDone) {
    enter(120000, 0, 1);
    g.random.script({0, 5, 5});
    t.pass();
    EXPECT_EQ(s.shown_score, 50) << "each frame counts one step";
    EXPECT_EQ(s.shown_chain_bonus, 45);
    EXPECT_EQ(t.pixel(630, 470), fixture::picture_pixel(14, 630, 470));
    EXPECT_EQ(t.pixel(226, 179), fixture::glyph_colour('S'));
    EXPECT_EQ(t.pixel(226, 204), fixture::glyph_colour('B'));
    EXPECT_EQ(t.pixel(418, 204), fixture::glyph_colour('('));
    EXPECT_EQ(t.pixel(226, 229), fixture::glyph_colour('R'));
    EXPECT_EQ(t.pixel(226, 254), fixture::glyph_colour('T'));
    EXPECT_EQ(t.pixel(176, 294), fixture::glyph_colour('N')) << "NOW COUNTING. . .";
    s.shown_score = 119990;
    t.pass();  // score and time bonus done, the chain bonus still counting
    ASSERT_TRUE(s.score_done && s.time_bonus_done && !s.chain_bonus_done);
    EXPECT_EQ(t.pixel(176, 294), fixture::glyph_colour('N'));
    EXPECT_NE(t.pixel(196, 334), fixture::glyph_colour('R'));
    t.pass();
    EXPECT_EQ(s.total, 120100);
    EXPECT_EQ(t.pixel(glyph_left(337, "120100", 5) + 1, 254), fixture::glyph_colour('0'));
    EXPECT_EQ(t.pixel(glyph_left(337, "120100", 1) + 1, 254), fixture::glyph_colour('2'));
    EXPECT_EQ(t.pixel(206, 294), fixture::glyph_colour('E')) << "ENTER GALLERY";
    EXPECT_EQ(t.pixel(196, 334), fixture::glyph_colour('R')) << "RECORD HISCORE";
    EXPECT_EQ(t.pixel(320, 240), fixture::cell_colour(12, 0));
}

TEST_F(TallyScene, ANothingTotalOffersOnlyTheGallery) {
    enter(0, 0, 0);
    t.pass();
    EXPECT_EQ(t.pixel(206, 294), fixture::glyph_colour('E'));
    EXPECT_NE(t.pixel(196, 334), fixture::glyph_colour('R'));
    t.move(300, 340);
    EXPECT_FALSE(g.tally.lit.any());
    press(300, 340);
    EXPECT_EQ(g.current_scene, Tally);
}

TEST_F(TallyScene, OfferAreasExcludeTheirEdges) {
    enter(5000, 0, 0);
    t.pass();
    struct Case {
        int x, y;
        bool gallery, record;
    };
    for (const Case& c :
         {Case{225, 300, false, false}, Case{226, 300, true, false}, Case{414, 300, true, false},
          Case{415, 300, false, false}, Case{300, 293, false, false}, Case{300, 294, true, false},
          Case{300, 315, true, false}, Case{300, 316, false, false}, Case{300, 333, false, false},
          Case{300, 334, false, true}, Case{300, 355, false, true}, Case{300, 356, false, false},
          Case{414, 340, false, true}, Case{415, 340, false, false}}) {
        t.move(c.x, c.y);
        EXPECT_EQ(g.tally.lit.on(kGalleryOffer), c.gallery) << c.x << "," << c.y;
        EXPECT_EQ(g.tally.lit.on(kRecordOffer), c.record) << c.x << "," << c.y;
    }
}

// The last game's offer is not lit on the next game's tally, where no move has been made yet.
TEST_F(TallyScene, EntryLightsNoOffer) {
    enter(400, 40, 3);
    t.move(300, 300);
    count_to_the_end();
    press(300, 300);
    ASSERT_EQ(g.current_scene, Gallery);
    app::change_scene(g, Tally);
    EXPECT_FALSE(g.tally.lit.any());
}

TEST_F(TallyScene, AClickBeforeAllThreeCountersAreDoneDoesNothing) {
    enter(40, 3, 30);  // score and time bonus land at once; the chain bonus takes 60 frames
    t.pass();
    t.move(300, 300);
    ASSERT_TRUE(s.score_done && s.time_bonus_done && !s.chain_bonus_done);
    press(300, 300);
    EXPECT_EQ(g.current_scene, Tally);
    count_to_the_end();
    EXPECT_EQ(s.total, 40 + 30 + 3000);
}

TEST_F(TallyScene, HoverSetBeforeCountingEndsMakesTheClickWorkWithoutAMove) {
    enter(400, 40, 3);
    t.move(300, 300);
    EXPECT_TRUE(g.tally.lit.on(kGalleryOffer));
    count_to_the_end();
    press(300, 300);
    EXPECT_EQ(g.current_scene, Gallery);
    EXPECT_EQ(s.total, 400 + 400 + 300);
}

TEST_F(TallyScene, RecordHiscoreOpensNameEntryWithTheWholeTotal) {
    enter(2000, 10, 5);
    count_to_the_end();
    t.move(300, 340);
    press(300, 340);
    EXPECT_EQ(g.current_scene, NameEntry);
    EXPECT_EQ(s.total, 2000 + 100 + 500);
    EXPECT_EQ(g.name_entry.entry_length, 0);
    EXPECT_EQ(g.name_entry.entry_name[0], '-');
}

TEST_F(TallyScene, EveryFrameStopsAllSound) {
    enter(1000, 10, 0);
    for (int frame = 0; frame < 3; ++frame) {
        t.platform.headless_audio().clear_log();
        t.pass();
        const auto& log = t.platform.headless_audio().log();
        EXPECT_NE(std::find(log.begin(), log.end(), "stop -3"), log.end());
    }
}

TEST_F(TallyScene, ALostDisplayReloadsPictureFourteenAndTheCommonSheets) {
    enter(1000, 10, 0);
    g.sheets.screen_picture.unload();
    g.sheets.font_sheet.unload();
    lose_display(t);
    EXPECT_EQ(t.pixel(630, 470), fixture::picture_pixel(14, 630, 470));
    EXPECT_EQ(t.pixel(226, 179), fixture::glyph_colour('S'));
}

}  // namespace
