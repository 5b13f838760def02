#include "viewer/script.h"

#include <optional>
#include <string_view>
#include <vector>

#include "platform/log.h"
#include "platform/numbers.h"

namespace viewer {

namespace {

// Splits one line (without its line feed) at its last space; a line with no space, or whose
// last space is its first byte, stays empty.
void store_line(std::string_view line, ScriptLine& record) {
    const size_t space = line.rfind(' ');
    if (space == std::string_view::npos || space == 0) return;
    record.command.assign(line.substr(0, space));
    record.argument.assign(line.substr(space + 1));
}

// Each problem with the script is told once a run, not on every visit to the viewer.
void warn_once(Script& script, const std::string& line) {
    platform::warn_once(script.warned, line, line);
}

// The file's first 4095 bytes, or nothing (with a warning) when it can't be read.
std::optional<std::vector<uint8_t>> read_head(const platform::DataSource& data,
                                              std::string_view name, Script& script) {
    platform::FileBytes head = data.read_head(name, kMaxScriptBytes);
    if (!head) {
        warn_once(script,
                  data.shown(name) + " " + head.error().reason + "; the viewer has no pages");
        return std::nullopt;
    }
    return std::move(*head);
}

int& slot_field(std::array<int, kImageSlots>& field, char slot) {
    return field[slot == '1' ? 0 : 1];
}

// Carries out one line; true when it was WAIT.
bool run_line(ViewerState& v, const PieceLoader& load_piece, const ScriptLine& line) {
    const std::string_view c = line.command;
    const auto number = [&] { return platform::parse_number(line.argument); };
    // "LOAD_IMAGE1", "SHOW_IMAGE2", ...: the same command for either slot.
    const auto slot_command = [&](std::string_view stem) {
        return c.size() == stem.size() + 1 && c.starts_with(stem) &&
               (c.back() == '1' || c.back() == '2');
    };
    if (slot_command("LOAD_IMAGE")) {
        // A piece the archive lacks leaves the slot with no picture, which draws nothing.
        load_piece(v.image_sheet[c.back() == '1' ? 0 : 1], number());
    } else if (slot_command("SHOW_IMAGE")) {
        slot_field(v.image_placement, c.back()) = number();
    } else if (slot_command("SET_FRAME")) {
        slot_field(v.image_frame, c.back()) = number();
    } else if (slot_command("SET_HEIGHT")) {
        slot_field(v.image_height, c.back()) = number();
    } else if (slot_command("HIDE_IMAGE")) {
        slot_field(v.image_placement, c.back()) = 0;
    } else if (c == "RESET") {
        for (auto& caption : v.caption) caption.clear();
    } else if (c.size() == 5 && c.starts_with("TEXT") && c[4] >= '1' && c[4] <= '5') {
        v.caption[static_cast<size_t>(c[4] - '1')] = line.argument;
    } else if (c == "WAIT") {
        return true;
    }
    return false;
}

}  // namespace

int placement_position(int placement) {
    if (placement < 1 || placement >= static_cast<int>(kImagePlacements.size())) return -1;
    return kImagePlacements[static_cast<size_t>(placement)];
}

void clear_script(Script& script) {
    for (ScriptLine& line : script.lines) {
        line.command.clear();
        line.argument.clear();
    }
}

bool read_script(const platform::DataSource& data, std::string_view name, Script& script) {
    script.line_count = 0;
    const auto bytes = read_head(data, name, script);
    if (!bytes) return false;
    int count = 0;
    size_t start = 0;
    for (size_t i = 0; i < bytes->size() && count < kMaxScriptLines; ++i) {
        if ((*bytes)[i] != '\n') continue;
        const auto* line = reinterpret_cast<const char*>(bytes->data()) + start;
        store_line({line, i - start}, script.lines[static_cast<size_t>(count)]);
        ++count;
        start = i + 1;
    }
    if (count == 0) {
        warn_once(script, data.shown(name) + " has no line feed in its first " +
                              std::to_string(kMaxScriptBytes) + " bytes; the viewer has no pages");
    }
    script.line_count = count;
    return true;
}

void run_script(Script& s, ViewerState& view, const PieceLoader& load_piece, int from) {
    if (from < 0) return;
    for (int n = from; n < s.line_count; ++n) {
        if (run_line(view, load_piece, s.lines[static_cast<size_t>(n)])) {
            s.resume_line = n + 1;
            return;
        }
    }
}

}  // namespace viewer
