#pragma once
#include "rules/random.h"
#include "rules/state.h"

namespace rules {

// Ten points per second left and a hundred per step of the longest chain.
int time_bonus(const GameState& state);
int chain_bonus(const GameState& state);
// One frame of counting: score, time bonus and chain bonus each climb towards their target in
// that order, drawing one random step each while still short; the total is their sum.
void tally_step(GameState& state, Random& random);
// True once all three counters have reached their targets; only then do the offers act, so
// the total handed on always holds the whole chain bonus.
bool tally_done(const GameState& state);

}  // namespace rules
