#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "gfx/surface.h"

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
    // The player's pictures this game's five stages take, in the order drawn for the game;
    // empty when the stages take the game's own.
    std::vector<std::filesystem::path> stage_files;
    // The stage whose picture, fitted to the screen, `fitted` holds (0: none), so a restore
    // cuts it again without decoding the file again.
    int fitted_stage = 0;
    gfx::Surface fitted;
};

}  // namespace puzzle
