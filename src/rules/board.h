#pragma once
#include <optional>

#include "rules/random.h"
#include "rules/state.h"

namespace rules {

// Starting time from the difficulty; score, total, stage, longest chain and tally cleared.
// The chain, the pop-up cursor and the held piece carry over from the last game.
void reset_game(GameState& state, int difficulty);
// The next stage: pop-ups cleared, then the hidden piece, the marks and the scattered pieces,
// with the random draws in that order.
void begin_stage(GameState& state, Random& random);
// Four different marked cells; a draw that repeats a cell draws all four again.
void pick_marked_cells(GameState& state, Random& random);
void move_piece(GameState& state, int piece, int x, int y);
// How many of the 48 pieces lie on their home cells.
int placed_count(const GameState& state);
bool stage_cleared(const GameState& state);

void raise_to_top(GameState& state, int piece);
void send_to_bottom(GameState& state, int piece);
// The topmost piece whose square strictly holds the point.
std::optional<int> piece_at(const GameState& state, int px, int py);

}  // namespace rules
