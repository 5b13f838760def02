#pragma once

struct Game;

namespace puzzle {

struct GameState;

// The difficulty index within 0..2 ("HARD", "NORM", "EASY"), and its divisor.
int difficulty_level(int difficulty);
int difficulty_divisor(int difficulty);

// Starting time from the difficulty; score, total, stage, longest chain and tally cleared.
void reset_game(Game& game);
// The next stage: its picture cut into tiles, its music, the hidden piece, the marks and the
// scattered pieces, with the random draws in that order.
void begin_stage(Game& game);
void pick_marked_cells(Game& game);
// Puts a piece at (x, y): the record and the tile's last drawn position both change.
void move_piece(Game& game, int piece, int x, int y);
// How many of the 48 pieces lie on their home cells.
int placed_count(const GameState& state);

}  // namespace puzzle
