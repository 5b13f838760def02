#pragma once
#include <optional>

struct Game;

namespace puzzle {

struct GameState;

// A release snaps home from 11 pixels before the home corner up to 10 past it, on each axis.
inline constexpr int kSnapBefore = 11;
inline constexpr int kSnapPast = 10;

void raise_to_top(GameState& state, int piece);
void send_to_bottom(GameState& state, int piece);
// The topmost piece whose square strictly holds the point.
std::optional<int> piece_at(const GameState& state, int px, int py);
// The left press: takes hold of the topmost piece under the point if it is loose.
bool pick_up(Game& game, int px, int py);
// A pointer move: the held piece follows while a drag is in progress.
void drag_to(Game& game, int px, int py);
// The left release: judges the held piece, whether or not a drag is in progress.
void release(Game& game);
void cancel_drag(GameState& state);
// Counts the pop-ups and the clock down by one second; true when time is up.
bool second_tick(GameState& state);
// Points of a placement at the current time and chain.
int placement_points(const GameState& state, int difficulty);
int live_popups(const GameState& state);

}  // namespace puzzle
