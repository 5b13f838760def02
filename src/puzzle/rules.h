#pragma once
#include <optional>

struct Game;

namespace puzzle {

struct GameState;

void raise_to_top(GameState& state, int piece);
void send_to_bottom(GameState& state, int piece);
// The topmost piece whose square strictly holds the point.
std::optional<int> piece_at(const GameState& state, int px, int py);
bool pick_up(Game& game, int px, int py);
void drag_to(Game& game, int px, int py);
void release(Game& game);
void cancel_drag(GameState& state);
// Counts the pop-ups and the clock down by one second; true when time is up.
bool second_tick(GameState& state);
// Points of a placement at the current time and chain.
int placement_points(const GameState& state, int difficulty);

}  // namespace puzzle
