#pragma once
#include <array>
#include <filesystem>
#include <string>

#include "gfx/sprite_sheet.h"

struct Game;

namespace viewer {

inline constexpr int kMaxScriptLines = 150;
inline constexpr size_t kMaxScriptBytes = 4095;

struct ScriptLine {
    std::string command;   // the bytes before the line's last space
    std::string argument;  // the bytes after it, up to the line feed (a CR stays)
};

struct Script {
    std::array<ScriptLine, kMaxScriptLines> lines;
    int line_count = 0;
    int resume_line = 0;  // 0: nothing to resume; else the line after the last WAIT
};

// Image slot positions by placement number; the value serves as x and as y.
inline constexpr std::array<int, 4> kImagePlacements = {0, 0, 100, 100};

struct ViewerState {
    std::array<gfx::SpriteSheet, 2> image_sheet;
    std::array<int, 2> image_placement{};
    std::array<int, 2> image_frame{};
    std::array<int, 2> image_height{};
    std::array<std::string, 5> caption;
};

void clear_script(Script& script);
// Fills the table from the file; false (table left empty) when it can't be opened.
bool read_script(const std::filesystem::path& file, Script& script);
// Runs lines from `from` up to the next WAIT or the end.
void run_script(Game& game, int from);

}  // namespace viewer
