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

// Opens name entry as the tally does: the tally's picture, the name "---", no letters yet.
void open_name_entry(Game& game);
void name_entry_update(Game& game);
void name_entry_handle(Game& game, const platform::Message& message);

}  // namespace scores
