#pragma once
#include <array>
#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "gfx/sprite_sheet.h"
#include "platform/data_source.h"

namespace viewer {

inline constexpr int kMaxScriptLines = 150;
// The reader keeps the file's bytes and an end marker in 4096 bytes.
inline constexpr size_t kMaxScriptBytes = 4095;

struct ScriptLine {
    std::string command;   // the bytes before the line's last space
    std::string argument;  // the bytes after it, up to the line feed (a CR stays)
};

struct Script {
    std::array<ScriptLine, kMaxScriptLines> lines;
    int line_count = 0;
    int resume_line = 0;           // 0: nothing to resume; else the line after the last WAIT
    std::set<std::string> warned;  // problems with the file already told on stderr
};

// Image slot positions by placement number (0 hides the slot); the value serves as x and as y.
inline constexpr std::array<int, 4> kImagePlacements = {0, 0, 100, 0};
inline constexpr int kImageSlots = 2;
inline constexpr int kCaptionLines = 5;

// What the viewer shows. Slot 1 is index 0, slot 2 index 1; caption line k is index k - 1.
struct ViewerState {
    std::array<gfx::SpriteSheet, kImageSlots> image_sheet;
    std::array<int, kImageSlots> image_placement{};
    std::array<int, kImageSlots> image_frame{};
    std::array<int, kImageSlots> image_height{};
    std::array<std::string, kCaptionLines> caption;
};

// The position a placement draws a slot at, or -1 when the slot is not drawn: hidden, or a
// number the placement table does not have.
int placement_position(int placement);

// Empties every line; the count and the resume line stay.
void clear_script(Script& script);
// Fills the table from the file `name` of the data: the lines that end with a line feed within
// its first 4095 bytes, at most 150 of them; anything further is left out. False, with no
// lines, when the file can't be read. A missing or unreadable file, or one without a line
// feed, is warned about once on stderr.
bool read_script(const platform::DataSource& data, std::string_view name, Script& script);
// Puts piece n of the sheet archive into a sheet (LOAD_IMAGE1 and LOAD_IMAGE2).
using PieceLoader = std::function<void(gfx::SpriteSheet& sheet, int piece)>;
// Runs the script from line `from` up to and including the next WAIT, or to the end, into what
// the viewer shows.
void run_script(Script& script, ViewerState& view, const PieceLoader& load_piece, int from);

}  // namespace viewer
