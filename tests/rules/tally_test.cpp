#include "rules/tally.h"

#include <gtest/gtest.h>

namespace {

using namespace rules;

// The tally as play leaves it: the counters at 0, the game's values in place.
GameState finished_game(int score, int time_left, int max_chain) {
    GameState s;
    s.score = score;
    s.time_left = time_left;
    s.max_chain = max_chain;
    return s;
}

TEST(Tally, BonusesAreTenPerSecondLeftAndAHundredPerChainStep) {
    const GameState s = finished_game(0, 37, 12);
    EXPECT_EQ(time_bonus(s), 370);
    EXPECT_EQ(chain_bonus(s), 1200);
}

TEST(Tally, CountersClimbFortyOneToFiftyAFrameAndLandOnTheirTargets) {
    GameState s = finished_game(30, 12, 2);  // targets 30, 120 and 200
    Random random;
    random.script({3, 9, 0, 5, 1, 2});
    struct Frame {
        int score, time_bonus, chain_bonus;
        bool done;
    };
    for (const Frame& f :
         {Frame{30, 47, 41, false}, Frame{30, 97, 86, false}, Frame{30, 120, 135, false},
          Frame{30, 120, 183, false}, Frame{30, 120, 200, true}}) {
        tally_step(s, random);
        EXPECT_EQ(s.shown_score, f.score);
        EXPECT_EQ(s.shown_time_bonus, f.time_bonus);
        EXPECT_EQ(s.shown_chain_bonus, f.chain_bonus);
        EXPECT_EQ(s.total, f.score + f.time_bonus + f.chain_bonus);
        EXPECT_EQ(tally_done(s), f.done);
    }
    EXPECT_EQ(random.scripted_left(), 0u) << "one draw per step short of its target";
    EXPECT_TRUE(s.score_done && s.time_bonus_done && s.chain_bonus_done);
    tally_step(s, random);
    EXPECT_EQ(s.total, 350) << "done counters stay put";
}

TEST(Tally, ItIsDoneOnlyOnceTheChainBonusHasLandedToo) {
    GameState s = finished_game(40, 3, 30);  // the chain bonus takes 60 frames
    Random random;
    tally_step(s, random);
    EXPECT_TRUE(s.score_done && s.time_bonus_done);
    EXPECT_FALSE(tally_done(s));
    for (int frame = 0; frame < 100 && !tally_done(s); ++frame) tally_step(s, random);
    EXPECT_TRUE(tally_done(s));
    EXPECT_EQ(s.total, 40 + 30 + 3000);
}

TEST(Tally, ANothingGameIsDoneAtOnce) {
    GameState s = finished_game(0, 0, 0);
    Random random;
    tally_step(s, random);
    EXPECT_TRUE(tally_done(s));
    EXPECT_EQ(s.total, 0);
}

}  // namespace
