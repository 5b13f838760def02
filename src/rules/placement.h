#pragma once
#include <optional>

#include "rules/state.h"

namespace rules {

// A release snaps home from 11 pixels before the home corner up to 10 past it, on each axis.
inline constexpr int kSnapBefore = 11;
inline constexpr int kSnapPast = 10;

// What a release that snapped its piece home did.
struct Placement {
    int piece = 0;
    int points = 0;        // the placement's own points, without the bonuses
    int hidden_bonus = 0;  // paid when the hidden piece lay on the corner just filled
    int mark_bonus = 0;    // paid when the fourth marked cell was filled first
    int chain = 0;         // the chain step this placement made; 0 starts a chain
    int time_bonus = 0;    // seconds the chain step added to the clock
    bool stage_cleared = false;
};

enum class Countdown { Running, TimeUp };

// The left press: takes hold of the topmost piece under the point if it is loose.
bool pick_up(GameState& state, int px, int py);
// A pointer move: the held piece follows while a drag is in progress. True when it moved.
bool drag_to(GameState& state, int px, int py);
// The left release: judges the held piece, whether or not a drag is in progress.
std::optional<Placement> release(GameState& state, int difficulty);
void cancel_drag(GameState& state);
// One second of play: the stage number's count, the pop-up timers and the clock.
Countdown second_tick(GameState& state);
// Points of a placement at the current time and chain.
int placement_points(const GameState& state, int difficulty);
int live_popups(const GameState& state);
// Every pop-up that is no longer alive becomes inactive with timer 0.
void retire_dead_popups(GameState& state);

}  // namespace rules
