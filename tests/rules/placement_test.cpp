#include "rules/placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "rules/board.h"
#include "rules/difficulty.h"
#include "support/rules_helpers.h"

namespace {

using namespace rules;

class Rules : public ::testing::Test {
  protected:
    void SetUp() override {
        s = {};
        difficulty = 0;
        s.time_left = 600;
        s.stage = 1;
        s.hidden_piece = 47;
        rules_test::clear_board(s);
    }
    std::optional<Placement> drop(int p, int x, int y) {
        return rules_test::drop(s, difficulty, p, x, y);
    }
    std::optional<Placement> place(int p) { return rules_test::place(s, difficulty, p); }
    // Lets every pop-up die, as enough one-second ticks do.
    void expire_popups() { s.popups = {}; }

    GameState s;
    int difficulty = 0;
};

TEST_F(Rules, SnapToleranceRunsFromElevenBeforeToTenPastOnBothAxes) {
    struct Case {
        int dx, dy;
        bool snaps;
    };
    const Case cases[] = {{-11, 0, true},  {10, 0, true},   {11, 0, false},   {-12, 0, false},
                          {0, -11, true},  {0, 10, true},   {0, 11, false},   {0, -12, false},
                          {-11, 10, true}, {10, -11, true}, {11, -11, false}, {-11, 11, false}};
    const int p = 13;  // home (160, 80)
    for (const Case& c : cases) {
        SetUp();
        const auto placement = drop(p, 160 + c.dx, 80 + c.dy);
        EXPECT_EQ(placement.has_value(), c.snaps) << c.dx << "," << c.dy;
        EXPECT_EQ(s.placed[p], c.snaps);
        EXPECT_EQ(s.x[p], c.snaps ? 160 : 160 + c.dx);
        EXPECT_EQ(s.y[p], c.snaps ? 80 : 80 + c.dy);
        EXPECT_EQ(s.score, c.snaps ? 75 : 0);
        EXPECT_EQ(s.popups[0].active, c.snaps);
        EXPECT_EQ(s.chain, 0);
    }
}

TEST_F(Rules, PiecesSnapOntoTheirColumnMajorHomes) {
    struct Case {
        int piece, hx, hy;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{5, 0, 400}, Case{6, 80, 0}, Case{47, 560, 400}}) {
        const auto placement = drop(c.piece, c.hx + 3, c.hy - 4);
        ASSERT_TRUE(placement);
        EXPECT_EQ(placement->piece, c.piece);
        EXPECT_TRUE(s.placed[c.piece]);
        EXPECT_EQ(s.x[c.piece], c.hx);
        EXPECT_EQ(s.y[c.piece], c.hy);
    }
}

TEST_F(Rules, PlacedPiecesCannotBeTakenAndShieldNothing) {
    place(0);
    move_piece(s, 6, 40, 40);  // loose, half over piece 0
    s.held_piece = 6;
    EXPECT_FALSE(pick_up(s, 20, 20));
    EXPECT_FALSE(s.dragging);
    EXPECT_TRUE(pick_up(s, 60, 60));
    EXPECT_EQ(s.held_piece, 6);
    EXPECT_EQ(s.hold_dx, -20);
    EXPECT_EQ(s.hold_dy, -20);
    // Even a placed piece stacked above a loose one keeps the press from reaching it.
    s.dragging = false;
    raise_to_top(s, 0);
    EXPECT_FALSE(pick_up(s, 50, 50));
    EXPECT_FALSE(s.dragging);
}

TEST_F(Rules, PickUpsRiseToTheTopAndPlacementsSinkToTheBottom) {
    move_piece(s, 5, 300, 300);
    ASSERT_TRUE(pick_up(s, 301, 379));
    EXPECT_EQ(s.stacking.back(), 5);
    place(30);
    place(12);
    EXPECT_EQ(s.stacking[0], 12);
    EXPECT_EQ(s.stacking[1], 30);
    EXPECT_EQ(s.stacking[2], 0);
    EXPECT_EQ(s.stacking.back(), 5);
    std::vector<int> sorted(s.stacking.begin(), s.stacking.end());
    std::sort(sorted.begin(), sorted.end());
    for (int p = 0; p < kPieceCount; ++p) EXPECT_EQ(sorted[static_cast<size_t>(p)], p);
}

TEST_F(Rules, DraggingFollowsThePointerUntilCancelledOrReleased) {
    move_piece(s, 9, 200, 100);
    EXPECT_FALSE(drag_to(s, 10, 10)) << "nothing held yet";
    ASSERT_TRUE(pick_up(s, 279, 101));
    EXPECT_TRUE(drag_to(s, 300, 300));
    EXPECT_EQ(s.x[9], 221);
    EXPECT_EQ(s.y[9], 299);
    cancel_drag(s);
    EXPECT_FALSE(drag_to(s, 10, 10));
    EXPECT_EQ(s.x[9], 221);
    EXPECT_EQ(s.y[9], 299);
    EXPECT_FALSE(release(s, difficulty));  // far from home: stays where it was dropped
    EXPECT_FALSE(s.placed[9]);
    EXPECT_EQ(s.x[9], 221);
    EXPECT_EQ(s.score, 0);
}

TEST_F(Rules, AReleaseWithoutADragJudgesTheHeldPieceAgain) {
    move_piece(s, 8, 300, 300);
    ASSERT_TRUE(pick_up(s, 350, 350));
    drag_to(s, 130, 210);  // corner (80, 160), piece 8's home
    cancel_drag(s);
    EXPECT_TRUE(release(s, difficulty));
    EXPECT_TRUE(s.placed[8]);
    const int score = s.score;
    EXPECT_FALSE(release(s, difficulty));  // placed pieces are not judged again
    EXPECT_EQ(s.score, score);
}

TEST_F(Rules, PlacementPointsFollowTimeDifficultyAndChain) {
    struct Case {
        int difficulty, time_left, chain, points;
    };
    for (const Case& c : {Case{0, 600, 0, 75}, Case{1, 700, 0, 50}, Case{2, 900, 0, 37},
                          Case{0, 9, 0, 15}, Case{2, 900, 3, 55}}) {
        s.time_left = c.time_left;
        s.chain = c.chain;
        EXPECT_EQ(placement_points(s, c.difficulty), c.points) << c.difficulty;
    }
    for (const Case& c : {Case{0, 600, 0, 75}, Case{1, 700, 0, 50}, Case{2, 900, 0, 37}}) {
        SetUp();
        difficulty = c.difficulty;
        s.time_left = c.time_left;
        const auto placement = place(1);
        ASSERT_TRUE(placement);
        EXPECT_EQ(placement->points, c.points);
        EXPECT_EQ(s.score, c.points);
        EXPECT_EQ(s.popups[0].points, c.points);
    }
}

TEST_F(Rules, QuickPlacementsChainAndEveryFourthStepAddsTheDifficultyInSeconds) {
    for (int level : {0, 1, 2}) {
        SetUp();
        difficulty = level;
        s.time_left = 500;
        for (int p = 0; p < 13; ++p) {
            const int before = s.time_left;
            const auto placement = place(p);
            ASSERT_TRUE(placement);
            EXPECT_EQ(s.chain, p);
            EXPECT_EQ(placement->chain, p);
            EXPECT_EQ(s.max_chain, p);
            const int added = p > 0 && p % 4 == 0 ? level : 0;
            EXPECT_EQ(s.time_left - before, added) << "chain " << p;
            EXPECT_EQ(placement->time_bonus, added) << "chain " << p;
            const int d = kDifficultyDivisor[static_cast<size_t>(level)];
            EXPECT_EQ(s.popups[static_cast<size_t>(p % 4)].points,
                      (15 * d + s.time_left / 10) / d + 6 * p);
        }
        EXPECT_EQ(s.time_left, 500 + 3 * level);
    }
}

TEST_F(Rules, APlacementWithNoLivePopupStartsAgainAtZeroAndKeepsTheLongest) {
    for (int p = 0; p < 3; ++p) place(p);
    EXPECT_EQ(s.max_chain, 2);
    expire_popups();
    place(3);
    EXPECT_EQ(s.chain, 0);
    EXPECT_EQ(s.max_chain, 2);
    place(4);
    EXPECT_EQ(s.chain, 1);
    // A pop-up still marked active but with no ticks left doesn't continue the chain.
    s.popups = {};
    s.popups[2] = {true, 0, 10, 0, 0};
    place(5);
    EXPECT_EQ(s.chain, 0);
}

TEST_F(Rules, PopupsLiveSixMinusTheDivisorTicksAndFillTheSlotsInTurn) {
    for (int level : {0, 1, 2}) {
        SetUp();
        difficulty = level;
        const int life = 6 - kDifficultyDivisor[static_cast<size_t>(level)];
        place(14);  // column 2, row 2
        EXPECT_EQ(s.popups[0].x, 225);
        EXPECT_EQ(s.popups[0].y, 150);
        EXPECT_EQ(s.popups[0].timer, life);
        for (int tick = 1; tick < life; ++tick) second_tick(s);
        EXPECT_TRUE(s.popups[0].alive());
        second_tick(s);
        EXPECT_FALSE(s.popups[0].active);
        EXPECT_EQ(s.popups[0].timer, 0);
    }
    SetUp();
    for (int p : {0, 1, 2, 3}) place(p);
    place(47);  // the fifth reuses the oldest slot
    EXPECT_EQ(s.popup_cursor, 1);
    EXPECT_EQ(s.popups[0].x, 600);
    EXPECT_EQ(s.popups[0].y, 375);
    EXPECT_EQ(s.popups[1].y, 75);
}

TEST_F(Rules, DeadPopupsAreRetiredAndLiveOnesKept) {
    s.popups[0] = {true, 0, 10, 1, 2};   // active, out of time
    s.popups[1] = {false, 3, 20, 3, 4};  // time left, not active
    s.popups[2] = {true, 2, 30, 5, 6};
    retire_dead_popups(s);
    EXPECT_FALSE(s.popups[0].active);
    EXPECT_EQ(s.popups[1].timer, 0);
    EXPECT_TRUE(s.popups[2].active);
    EXPECT_EQ(s.popups[2].timer, 2);
    EXPECT_EQ(s.popups[2].points, 30);
}

TEST_F(Rules, SecondTickCountsDownAndReportsTimeUpAtZero) {
    s.time_left = 2;
    s.popups[1] = {true, 1, 40, 10, 10};
    EXPECT_EQ(second_tick(s), Countdown::Running);
    EXPECT_EQ(s.time_left, 1);
    EXPECT_FALSE(s.popups[1].active);
    EXPECT_EQ(s.popups[1].timer, 0);
    EXPECT_EQ(second_tick(s), Countdown::TimeUp);
    EXPECT_EQ(s.time_left, 0);
    EXPECT_EQ(second_tick(s), Countdown::TimeUp);
    EXPECT_EQ(s.popups[1].timer, 0);
}

TEST_F(Rules, TheStageNumberStaysUpForTheStagesFirstSixteenTicks) {
    s.show_stage_number = true;
    s.stage_ticks = 0;
    for (int tick = 1; tick <= 17; ++tick) {
        second_tick(s);
        EXPECT_EQ(s.show_stage_number, tick < 17) << tick;
        EXPECT_EQ(s.stage_ticks, std::min(tick, 16)) << tick;
    }
}

// The bonus counts the pieces still loose after the hidden one lands: 47 when it is first,
// none when it is last.
TEST_F(Rules, HiddenPieceBonusIsLargerTheEarlierItIsPlaced) {
    difficulty = 2;
    s.time_left = 900;
    s.hidden_piece = 20;
    s.hidden_bonus_open = true;
    auto placement = place(20);
    ASSERT_TRUE(placement);
    EXPECT_EQ(placement->points, 37);
    EXPECT_EQ(placement->hidden_bonus, 1762);
    EXPECT_EQ(s.score, 37 + 1762);
    EXPECT_EQ(s.popups[0].points, 37 + 1762);
    EXPECT_FALSE(s.hidden_bonus_open);

    SetUp();
    difficulty = 2;
    s.time_left = 900;
    s.hidden_piece = 20;
    s.hidden_bonus_open = true;
    for (int p = 0; p < kPieceCount; ++p) {
        if (p == 20) continue;
        EXPECT_FALSE(place(p)->stage_cleared);
    }
    expire_popups();
    s.chain = 0;
    const int points = placement_points(s, 2);
    const int before = s.score;
    placement = place(20);
    ASSERT_TRUE(placement);
    EXPECT_EQ(placement->hidden_bonus, 0);
    EXPECT_TRUE(placement->stage_cleared) << "the last of the 48";
    EXPECT_EQ(s.score - before, points);
    EXPECT_FALSE(s.hidden_bonus_open);
}

TEST_F(Rules, HiddenBonusIsPaidThroughAPieceWhoseHomeTheLooseHiddenPieceCovers) {
    s.hidden_piece = 10;
    s.hidden_bonus_open = true;
    move_piece(s, 10, home_x(3), home_y(3));
    EXPECT_EQ(place(3)->hidden_bonus, 47 * 150);
    EXPECT_EQ(s.score, 75 + 47 * 150);
    EXPECT_FALSE(s.hidden_bonus_open);
    expire_popups();
    place(10);
    EXPECT_EQ(s.score, 75 + 47 * 150 + 75);
}

class MarkBonus : public Rules {
  protected:
    void SetUp() override {
        Rules::SetUp();
        for (int i = 0; i < kMarkCount; ++i)
            s.marks[static_cast<size_t>(i)] = {home_x(kMarked[i]), home_y(kMarked[i])};
        s.mark_bonus_open = true;
    }
    static constexpr int kMarked[kMarkCount] = {7, 0, 33, 21};
};

TEST_F(MarkBonus, TheFourMarkedCellsFirstInAnyOrderEarnIt) {
    difficulty = 1;
    s.time_left = 700;
    for (int p : {33, 0, 21}) EXPECT_EQ(place(p)->mark_bonus, 0);
    EXPECT_EQ(s.marks_hit, 3);
    EXPECT_TRUE(s.mark_bonus_open);
    const int before = s.score;
    const auto placement = place(7);
    ASSERT_TRUE(placement);
    EXPECT_EQ(placement->mark_bonus, 2500);
    EXPECT_EQ(placement->points, placement_points(s, 1));
    EXPECT_EQ(s.popups[3].points, placement->points + 2500);
    EXPECT_EQ(s.score - before, placement->points + 2500);
    EXPECT_FALSE(s.mark_bonus_open);
    expire_popups();
    place(1);
    EXPECT_EQ(s.popups[0].points, placement_points(s, 1));
}

TEST_F(MarkBonus, ANonMarkedFirstPlacementClosesIt) {
    place(1);
    EXPECT_FALSE(s.mark_bonus_open);
    for (int p : kMarked) place(p);
    EXPECT_EQ(s.marks_hit, 0);
    EXPECT_EQ(s.score, 75 + 81 + 87 + 93 + 99);
}

TEST_F(MarkBonus, OnePlacementCanEarnBothBonusesInOnePopup) {
    s.hidden_piece = 21;
    s.hidden_bonus_open = true;
    for (int p : {7, 0, 33}) place(p);
    expire_popups();
    const auto placement = place(21);
    ASSERT_TRUE(placement);
    EXPECT_EQ(placement->hidden_bonus, 44 * 150);
    EXPECT_EQ(placement->mark_bonus, 5000);
    EXPECT_EQ(s.popups[3].points, 75 + 44 * 150 + 5000);
    EXPECT_EQ(s.score, 3 * 75 + 6 + 12 + 75 + 44 * 150 + 5000);
}

}  // namespace
