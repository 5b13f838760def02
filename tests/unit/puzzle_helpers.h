#pragma once
// Helpers shared by the play scene, tally and pause tests.
#include "app/game.h"
#include "rules/state.h"
#include "support/rules_helpers.h"

namespace puzzle_test {

// The game's board cleared as rules_test::clear_board clears a state.
inline void clear_board(Game& g) {
    rules_test::clear_board(g.state);
}

// Places piece p on its home cell by the rules alone; the next frame shows it there.
inline void place(Game& g, int p) {
    rules_test::place(g.state, g.difficulty, p);
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

// The colour piece p shows 40 pixels in from its corner, on a stage's picture.
inline uint32_t piece_colour(int stage, int p) {
    return fixture::picture_pixel(stage, rules::home_x(p) + 40, rules::home_y(p) + 40);
}

}  // namespace puzzle_test
