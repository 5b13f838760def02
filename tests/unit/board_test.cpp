#include "puzzle/board.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/game.h"
#include "puzzle/game_state.h"
#include "support/fixture_pack.h"
#include "support/test_game.h"

namespace {

using namespace puzzle;

TEST(ResetGame, SetsTheTimeFromTheDifficultyAndClearsTheGameButNotTheChain) {
    struct Case {
        int difficulty, time_left;
    };
    for (const Case& c : {Case{0, 600}, Case{1, 700}, Case{2, 900}}) {
        TestGame t(false);
        Game& g = *t.game;
        GameState& s = g.state;
        g.difficulty = c.difficulty;
        s.score = s.total = s.stage = s.max_chain = 7;
        s.shown_score = s.shown_time_bonus = s.shown_chain_bonus = 9;
        s.score_done = s.time_bonus_done = s.chain_bonus_done = true;
        s.gallery_hover = s.record_hover = true;
        s.chain = 3;
        s.popup_cursor = 2;
        s.held_piece = 11;
        reset_game(g);
        EXPECT_EQ(s.time_left, c.time_left);
        EXPECT_EQ(s.score + s.total + s.stage + s.max_chain, 0);
        EXPECT_EQ(s.shown_score + s.shown_time_bonus + s.shown_chain_bonus, 0);
        EXPECT_FALSE(s.score_done || s.time_bonus_done || s.chain_bonus_done);
        EXPECT_FALSE(s.gallery_hover || s.record_hover);
        EXPECT_EQ(s.chain, 3);
        EXPECT_EQ(s.popup_cursor, 2);
        EXPECT_EQ(s.held_piece, 11);
    }
}

class BeginStage : public ::testing::Test {
  protected:
    void SetUp() override {
        t.start(1);
        g.sound.enabled = {true, true};
        reset_game(g);
    }
    // Scripts the 96 scatter draws: x and y of each piece in turn.
    void script_scatter(int x, int y) {
        for (int n = 0; n < kPieceCount; ++n) g.random.script({x, y});
    }
    TestGame t;
    Game& g = *t.game;
    GameState& s = g.state;
};

TEST_F(BeginStage, DrawsHiddenPieceThenMarksWithRedrawsThenTwoPerPiece) {
    g.random.script({100});                                     // hidden piece 100 % 48 = 4
    g.random.script({1, 2, 9, 8, 3, 0, 7, 5});                  // marks 0 and 1 are both (80, 160)
    g.random.script({8 + 3, 6 + 1, 2, 5, 32767, 32767, 0, 0});  // four different cells
    for (int n = 0; n < kPieceCount; ++n) g.random.script({n, 1000 + n});
    s.popups[2] = {true, 3, 50, 1, 1};
    begin_stage(g);

    EXPECT_EQ(g.random.scripted_left(), 0u);
    EXPECT_EQ(s.stage, 1);
    EXPECT_EQ(s.hidden_piece, 4);
    EXPECT_TRUE(s.hidden_bonus_open);
    EXPECT_TRUE(s.mark_bonus_open);
    EXPECT_EQ(s.marks_hit, 0);
    const MarkedCell marks[] = {{240, 80}, {160, 400}, {560, 80}, {0, 0}};
    for (int i = 0; i < kMarkCount; ++i) EXPECT_EQ(s.marks[i], marks[i]) << i;
    for (int n = 0; n < kPieceCount; ++n) {
        EXPECT_EQ(s.x[n], n - 40);
        EXPECT_EQ(s.y[n], (1000 + n) % 480 - 40);
        EXPECT_EQ(g.sheets.screen_picture.last_x(n), s.x[n]);
        EXPECT_EQ(g.sheets.screen_picture.last_y(n), s.y[n]);
        EXPECT_EQ(s.stacking[n], n);
        EXPECT_FALSE(s.placed[n]);
    }
    EXPECT_FALSE(s.popups[2].active);
    EXPECT_TRUE(s.show_stage_number);
    EXPECT_EQ(s.stage_ticks, 0);
}

TEST_F(BeginStage, KeepsRedrawingAllFourMarksWhileAnyTwoCoincide) {
    g.random.script({0});
    // Each attempt repeats one cell in a different pair; the fourth attempt differs throughout.
    g.random.script({1, 1, 1, 1, 2, 2, 3, 3});
    g.random.script({0, 0, 1, 1, 1, 1, 2, 2});
    g.random.script({0, 0, 1, 1, 2, 2, 0, 0});
    g.random.script({0, 0, 1, 1, 2, 2, 3, 3});
    script_scatter(0, 0);
    begin_stage(g);
    EXPECT_EQ(g.random.scripted_left(), 0u);
    const MarkedCell marks[] = {{0, 0}, {80, 80}, {160, 160}, {240, 240}};
    for (int i = 0; i < kMarkCount; ++i) EXPECT_EQ(s.marks[i], marks[i]);
}

TEST_F(BeginStage, ScattersWithinTheScreenGrownByFortyOnEverySide) {
    g.random.script({0, 1, 2, 3, 4, 5, 6, 7, 0});
    g.random.script({639, 479, 640, 480, 0, 0});
    script_scatter(0, 0);
    begin_stage(g);
    EXPECT_EQ(s.x[0], 599);
    EXPECT_EQ(s.y[0], 439);
    EXPECT_EQ(s.x[1], -40);
    EXPECT_EQ(s.y[1], -40);

    for (int stage = 2; stage <= kStageCount; ++stage) {
        begin_stage(g);
        for (int n = 0; n < kPieceCount; ++n) {
            EXPECT_GE(s.x[n], -40);
            EXPECT_LE(s.x[n], 599);
            EXPECT_GE(s.y[n], -40);
            EXPECT_LE(s.y[n], 439);
        }
        for (int i = 0; i < kMarkCount; ++i)
            for (int j = i + 1; j < kMarkCount; ++j) EXPECT_NE(s.marks[i], s.marks[j]);
    }
}

TEST_F(BeginStage, LoadsTheStagePictureCutIntoTilesAndStartsTheStageMusic) {
    t.platform.headless_audio().clear_log();
    begin_stage(g);
    begin_stage(g);
    const gfx::SpriteSheet& picture = g.sheets.screen_picture;
    ASSERT_EQ(picture.cell_count(), kPieceCount);
    ASSERT_TRUE(picture.has_surface());
    EXPECT_EQ(picture.surface()->pixel(567, 401), fixture::picture_pixel(2, 567, 401));
    EXPECT_EQ(picture.cell(47)->source, (gfx::Rect{560, 400, 640, 480}));
    EXPECT_EQ(picture.cell(6)->source, (gfx::Rect{80, 0, 160, 80}));
    // The fixture's stage tracks are 101 to 105 bytes long.
    const auto& log = t.platform.headless_audio().log();
    EXPECT_NE(std::find(log.begin(), log.end(), "open 102"), log.end());
    EXPECT_NE(t.platform.headless_audio().playing_stream(0), 0);
}

}  // namespace
