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

// The letter grid: rows of seven buttons of 40 x 40 from (200, 200). Buttons 0 to 25 are the
// letters A to Z; button 26 enters a zero byte, which ends the recorded name.
struct LetterButton {
    int left, top;
    char letter;
};
LetterButton letter_button(int b);
inline constexpr int kLetterSize = 40;

// Opens name entry as the tally does: picture 14, the name "---", no letters yet.
void open_name_entry(Game& game);
void name_entry_update(Game& game);
void name_entry_handle(Game& game, const platform::Message& message);

}  // namespace scores
