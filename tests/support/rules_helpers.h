#pragma once
// Boards for the rules' tests and the scene tests that lay pieces out by hand.
#include <cstddef>
#include <optional>

#include "rules/board.h"
#include "rules/placement.h"
#include "rules/state.h"

namespace rules_test {

// Far above and left of the screen: no test point and no home corner lies under it.
inline constexpr int kParked = -300;

// The piece whose home cell has its corner at (x, y).
constexpr int piece_homed_at(int x, int y) {
    return x / rules::kPieceSize * rules::kRows + y / rules::kPieceSize;
}

// Every piece loose and parked off screen in the starting order, no pop-ups, no bonuses open,
// so a test lays out only the pieces it needs.
inline void clear_board(rules::GameState& s) {
    for (int p = 0; p < rules::kPieceCount; ++p) {
        s.stacking[static_cast<size_t>(p)] = p;
        s.placed[static_cast<size_t>(p)] = false;
        rules::move_piece(s, p, kParked, kParked);
    }
    s.popups = {};
    s.popup_cursor = 0;
    s.chain = 0;
    s.max_chain = 0;
    s.hidden_bonus_open = false;
    s.mark_bonus_open = false;
    s.marks_hit = 0;
}

// Drops piece p with its corner at (x, y) as a release judges it.
inline std::optional<rules::Placement> drop(rules::GameState& s, int difficulty, int p, int x,
                                            int y) {
    rules::move_piece(s, p, x, y);
    s.held_piece = p;
    return rules::release(s, difficulty);
}

// Places piece p on its home cell.
inline std::optional<rules::Placement> place(rules::GameState& s, int difficulty, int p) {
    return drop(s, difficulty, p, rules::home_x(p), rules::home_y(p));
}

}  // namespace rules_test
