#pragma once
#include <array>

#include "platform/messages.h"
#include "scenes/controls.h"

struct Game;

namespace scores {

inline constexpr int kLetterButtons = 27;

struct NameEntryState {
    std::array<char, 4> entry_name{'-', '-', '-', 0};
    int entry_length = 0;
    scenes::Lit lit;  // a letter button, or the "ENTER GALLERY" line after them
};

// The tally's picture again, the name "---", no letters yet. A lost display restores the
// tally's picture only: the letters entered so far survive it.
void name_entry_enter(Game& game);
void name_entry_update(Game& game);
void name_entry_handle(Game& game, const platform::Message& message);

}  // namespace scores
