#include "rules/tally.h"

namespace rules {

namespace {

constexpr int kTimeBonusPerSecond = 10;
constexpr int kChainBonusPerStep = 100;
constexpr int kStep = 50;

// A counter within a step of its target lands on it; otherwise it climbs by 41 to 50.
void count_up(Random& random, int target, int& shown, bool& done) {
    if (done) return;
    if (target - shown <= kStep) {
        shown = target;
        done = true;
    } else {
        shown += kStep - random.mod(10);
    }
}

}  // namespace

int time_bonus(const GameState& s) {
    return s.time_left * kTimeBonusPerSecond;
}

int chain_bonus(const GameState& s) {
    return s.max_chain * kChainBonusPerStep;
}

void tally_step(GameState& s, Random& random) {
    count_up(random, s.score, s.shown_score, s.score_done);
    count_up(random, time_bonus(s), s.shown_time_bonus, s.time_bonus_done);
    count_up(random, chain_bonus(s), s.shown_chain_bonus, s.chain_bonus_done);
    s.total = s.shown_score + s.shown_time_bonus + s.shown_chain_bonus;
}

bool tally_done(const GameState& s) {
    return s.score_done && s.time_bonus_done && s.chain_bonus_done;
}

}  // namespace rules
