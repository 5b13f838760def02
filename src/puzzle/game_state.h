#pragma once
#include <cstdint>

#include "rules/state.h"

namespace puzzle {

// The puzzle scenes draw and drive the rules' record of play and speak of it by these names.
using rules::GameState;
using rules::home_x;
using rules::home_y;
using rules::kPieceCount;
using rules::kStageCount;

// The play scene's own values beside the game record.
struct PlayView {
    bool show_loose_only = false;   // Control held
    bool show_placed_only = false;  // Shift held
    int cursor_frame = 0;
    int jiggle_phase = 0;
    int popup_dx = 0;
    int popup_dy = 0;
    uint32_t quarter_clock = 0;
    uint32_t second_clock = 0;
    int frame_count = 0;
    int frames_per_second = 0;
};

}  // namespace puzzle
