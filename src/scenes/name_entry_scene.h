#pragma once
#include <array>

#include "platform/messages.h"

struct Game;

namespace scores {

inline constexpr int kLetterButtons = 27;

struct NameEntryState {
    std::array<char, 4> entry_name{'-', '-', '-', 0};
    int entry_length = 0;
    std::array<bool, kLetterButtons> letter_hot{};
    bool enter_hot = false;
};

// The tally's picture again, the name "---", no letters yet.
void name_entry_enter(Game& game);
void name_entry_update(Game& game);
void name_entry_handle(Game& game, const platform::Message& message);
void name_entry_restore(Game& game);

}  // namespace scores
