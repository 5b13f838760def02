#pragma once
#include <array>

#include "app/hit_test.h"
#include "platform/messages.h"
#include "scenes/controls.h"

struct Game;

namespace scores {

inline constexpr int kLetterButtons = 27;

// The letter grid: rows of seven buttons of 40 x 40 from (200, 200). Buttons 0 to 25 are the
// letters A to Z; button 26 enters a zero byte, which ends the recorded name. The "ENTER
// GALLERY" line follows them, drawn at its area's corner.
inline constexpr int kEnterControl = kLetterButtons;
inline constexpr std::array<gfx::Rect, kLetterButtons + 1> kNameControls = [] {
    std::array<gfx::Rect, kLetterButtons + 1> areas{};
    for (int b = 0; b < kLetterButtons; ++b)
        areas[static_cast<size_t>(b)] =
            app::hit_area(200 + 40 * (b % 7), 200 + 40 * (b / 7), 40, 40);
    areas[kEnterControl] = app::hit_area(200, 400, 240, 23);
    return areas;
}();
inline constexpr const gfx::Rect& kEnterArea = kNameControls[kEnterControl];
inline constexpr char button_letter(int b) {
    return b < 26 ? static_cast<char>('A' + b) : '\0';
}

// The name as entered so far, one glyph every 40 pixels.
inline constexpr int kPreviewX = 280, kPreviewStep = 40, kPreviewY = 120;

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
