#pragma once
#include <cstddef>

#include "app/game.h"
#include "app/shell.h"
#include "rules/state.h"

namespace bench {

// A game in its first stage: 48 loose pieces, four marks, the cover, four live pop-ups and
// the stage number. The caller's platform keeps the clock standing still so nothing expires
// and every pass draws the same frame. The native and the wasm play benchmarks both start
// here, so that their passes do the same work.
inline void set_up_play(Game& game) {
    app::start_up(game, 7);
    app::change_scene(game, Play);
    for (int i = 0; i < rules::kPopupCount; ++i) {
        game.state.popups[static_cast<size_t>(i)] = {true, 5, 1234, 75 * (i + 2), 75 * i};
    }
    game.state.score = 12345;
    game.state.max_chain = 12;
}

// True while the game is still in the play scene's first stage, where set_up_play left it.
inline bool still_in_first_stage(const Game& game) {
    return game.current_scene == Play && game.state.stage == 1;
}

}  // namespace bench
