#include "rules/board.h"

#include <gtest/gtest.h>

#include "rules/difficulty.h"
#include "support/rules_helpers.h"

namespace {

using namespace rules;

TEST(Difficulty, AnyStoredNumberIsClampedToTheThreeLevels) {
    struct Case {
        int stored, level, divisor;
        const char* name;
    };
    for (const Case& c : {Case{-5, 0, 1, "HARD"}, Case{0, 0, 1, "HARD"}, Case{1, 1, 2, "NORM"},
                          Case{2, 2, 4, "EASY"}, Case{3, 2, 4, "EASY"}, Case{70, 2, 4, "EASY"}}) {
        EXPECT_EQ(difficulty_level(c.stored), c.level) << c.stored;
        EXPECT_EQ(difficulty_divisor(c.stored), c.divisor) << c.stored;
        EXPECT_STREQ(difficulty_name(c.stored), c.name) << c.stored;
    }
}

TEST(Difficulty, TheArrowsStepWithinTheThreeLevels) {
    const struct {
        int start, delta, expected;
    } cases[] = {{0, 1, 1}, {1, 1, 2},  {2, 1, 2},  {1, -1, 0}, {0, -1, 0},
                 {7, 0, 2}, {-4, 0, 0}, {3, -1, 2}, {-1, 1, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(step_difficulty(c.start, c.delta), c.expected) << c.start << " + " << c.delta;
    }
}

TEST(ResetGame, SetsTheTimeFromTheDifficultyAndClearsTheGameButNotTheChain) {
    struct Case {
        int difficulty, time_left;
    };
    for (const Case& c : {Case{0, 600}, Case{1, 700}, Case{2, 900}, Case{5, 900}}) {
        GameState s;
        s.score = s.total = s.stage = s.max_chain = 7;
        s.shown_score = s.shown_time_bonus = s.shown_chain_bonus = 9;
        s.score_done = s.time_bonus_done = s.chain_bonus_done = true;
        s.chain = 3;
        s.popup_cursor = 2;
        s.held_piece = 11;
        reset_game(s, c.difficulty);
        EXPECT_EQ(s.time_left, c.time_left);
        EXPECT_EQ(s.score + s.total + s.stage + s.max_chain, 0);
        EXPECT_EQ(s.shown_score + s.shown_time_bonus + s.shown_chain_bonus, 0);
        EXPECT_FALSE(s.score_done || s.time_bonus_done || s.chain_bonus_done);
        EXPECT_EQ(s.chain, 3);
        EXPECT_EQ(s.popup_cursor, 2);
        EXPECT_EQ(s.held_piece, 11);
    }
}

class BeginStage : public ::testing::Test {
  protected:
    // Scripts the 96 scatter draws: x and y of each piece in turn.
    void script_scatter(int x, int y) {
        for (int n = 0; n < kPieceCount; ++n) random.script({x, y});
    }
    GameState s;
    Random random;
};

TEST_F(BeginStage, DrawsHiddenPieceThenMarksWithRedrawsThenTwoPerPiece) {
    random.script({100});                                     // hidden piece 100 % 48 = 4
    random.script({1, 2, 9, 8, 3, 0, 7, 5});                  // marks 0 and 1 are both (80, 160)
    random.script({8 + 3, 6 + 1, 2, 5, 32767, 32767, 0, 0});  // four different cells
    for (int n = 0; n < kPieceCount; ++n) random.script({n, 1000 + n});
    s.popups[2] = {true, 3, 50, 1, 1};
    s.placed[5] = true;
    s.stacking[0] = 9;
    s.stage_ticks = 12;
    begin_stage(s, random);

    EXPECT_EQ(random.scripted_left(), 0u);
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
        EXPECT_EQ(s.stacking[n], n);
        EXPECT_FALSE(s.placed[n]);
    }
    EXPECT_FALSE(s.popups[2].active);
    EXPECT_TRUE(s.show_stage_number);
    EXPECT_EQ(s.stage_ticks, 0);
}

TEST_F(BeginStage, KeepsRedrawingAllFourMarksWhileAnyTwoCoincide) {
    random.script({0});
    // Each attempt repeats one cell in a different pair; the fourth attempt differs throughout.
    random.script({1, 1, 1, 1, 2, 2, 3, 3});
    random.script({0, 0, 1, 1, 1, 1, 2, 2});
    random.script({0, 0, 1, 1, 2, 2, 0, 0});
    random.script({0, 0, 1, 1, 2, 2, 3, 3});
    script_scatter(0, 0);
    begin_stage(s, random);
    EXPECT_EQ(random.scripted_left(), 0u);
    const MarkedCell marks[] = {{0, 0}, {80, 80}, {160, 160}, {240, 240}};
    for (int i = 0; i < kMarkCount; ++i) EXPECT_EQ(s.marks[i], marks[i]);
}

TEST_F(BeginStage, ScattersWithinTheScreenGrownByFortyOnEverySide) {
    random.script({0, 1, 2, 3, 4, 5, 6, 7, 0});
    random.script({639, 479, 640, 480, 0, 0});
    script_scatter(0, 0);
    begin_stage(s, random);
    EXPECT_EQ(s.x[0], 599);
    EXPECT_EQ(s.y[0], 439);
    EXPECT_EQ(s.x[1], -40);
    EXPECT_EQ(s.y[1], -40);

    random.seed(12345);
    for (int stage = 2; stage <= kStageCount; ++stage) {
        begin_stage(s, random);
        EXPECT_EQ(s.stage, stage);
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

TEST(Board, PieceAtExcludesTheEdgeLinesAndFindsTheTopmost) {
    GameState s;
    rules_test::clear_board(s);
    move_piece(s, 20, 100, 200);
    struct Case {
        int px, py;
        bool hit;
    };
    for (const Case& c : {Case{100, 240, false}, Case{101, 240, true}, Case{179, 240, true},
                          Case{180, 240, false}, Case{140, 200, false}, Case{140, 201, true},
                          Case{140, 279, true}, Case{140, 280, false}}) {
        EXPECT_EQ(piece_at(s, c.px, c.py), c.hit ? std::optional<int>(20) : std::nullopt)
            << c.px << "," << c.py;
    }
    move_piece(s, 3, 140, 240);  // lower in the starting order than 20
    EXPECT_EQ(piece_at(s, 150, 250), 20);
    raise_to_top(s, 3);
    EXPECT_EQ(piece_at(s, 150, 250), 3);
    send_to_bottom(s, 3);
    EXPECT_EQ(s.stacking[0], 3);
    EXPECT_EQ(piece_at(s, 150, 250), 20);
}

TEST(Board, HomeCornersRunColumnByColumn) {
    struct Case {
        int piece, x, y;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{5, 0, 400}, Case{6, 80, 0}, Case{47, 560, 400}}) {
        EXPECT_EQ(home_x(c.piece), c.x) << c.piece;
        EXPECT_EQ(home_y(c.piece), c.y) << c.piece;
        EXPECT_EQ(rules_test::piece_homed_at(c.x, c.y), c.piece);
    }
}

}  // namespace
