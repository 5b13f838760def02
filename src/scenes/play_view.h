#pragma once
#include <cstdint>

namespace puzzle {

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
