#pragma once
// Helpers shared by the board, rules, play scene, tally and pause tests.
#include "app/game.h"
#include "puzzle/board.h"
#include "puzzle/game_state.h"
#include "puzzle/rules.h"

namespace puzzle_test {

// Far above and left of the screen: no test point and no home corner lies under it.
inline constexpr int kParked = -300;

// Every piece loose and parked off screen in the starting order, no pop-ups, no bonuses open,
// so a test lays out only the pieces it needs.
inline void clear_board(Game& g) {
    puzzle::GameState& s = g.state;
    for (int p = 0; p < puzzle::kPieceCount; ++p) {
        s.stacking[static_cast<size_t>(p)] = p;
        s.placed[static_cast<size_t>(p)] = false;
        puzzle::move_piece(g, p, kParked, kParked);
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
inline void drop(Game& g, int p, int x, int y) {
    puzzle::move_piece(g, p, x, y);
    g.state.held_piece = p;
    puzzle::release(g);
}

// Places piece p on its home cell.
inline void place(Game& g, int p) {
    drop(g, p, puzzle::home_x(p), puzzle::home_y(p));
}

}  // namespace puzzle_test

#include <string_view>

#include "gfx/text.h"
#include "support/fixture_pack.h"
#include "support/test_game.h"

namespace puzzle_test {

// One frame reports the display lost, so the scene's restore runs; the next flip succeeds and
// the frame after it is drawn from whatever the restore reloaded.
inline void lose_display(TestGame& t) {
    t.platform.lose_surfaces(1);
    t.pass();
    t.game->back_buffer().fill(0);
    t.pass();
    t.pass();
}

// The left edge of character k of a text drawn from x with the fixture font.
inline int glyph_left(int x, std::string_view text, size_t k) {
    for (size_t i = 0; i < k; ++i) x += fixture::glyph_width(gfx::glyph_index(text[i]));
    return x;
}

// The colour of the fixture font's glyph for a character.
inline uint32_t glyph_colour(char ch) {
    return fixture::cell_colour(9, gfx::glyph_index(ch));
}

// The colour piece p shows 40 pixels in from its corner, on a stage's picture.
inline uint32_t piece_colour(int stage, int p) {
    return fixture::picture_pixel(stage, puzzle::home_x(p) + 40, puzzle::home_y(p) + 40);
}

}  // namespace puzzle_test
