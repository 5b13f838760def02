#include "platform/replay.h"


#include "platform/data_file.h"
#include "platform/numbers.h"

namespace platform {

namespace {

// A replay is text read whole; a recording of a million passes stays far below this.
constexpr uint64_t kMaxReplayBytes = 256u << 20;

struct EventKind {
    const char* name;
    uint32_t id;
    int args;  // 2: x y, 1: key code, 0: none
};

constexpr EventKind kKinds[] = {
    {"move", kWmMouseMove, 2},     {"ldown", kWmLButtonDown, 2}, {"lup", kWmLButtonUp, 2},
    {"ldbl", kWmLButtonDblClk, 2}, {"rdown", kWmRButtonDown, 2}, {"rdbl", kWmRButtonDblClk, 2},
    {"keydown", kWmKeyDown, 1},    {"keyup", kWmKeyUp, 1},       {"close", kWmClose, 0},
};

std::vector<std::string_view> split_words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

template <typename T>
bool parse_unsigned(std::string_view word, T& out, T max) {
    uint64_t value = 0;
    if (!parse_whole_number(word, value) || value > static_cast<uint64_t>(max)) return false;
    out = static_cast<T>(value);
    return true;
}

// Reads one event line after its "@F"; returns an empty text or the reason it is wrong.
std::string parse_event(const std::vector<std::string_view>& w, ReplayEvent& event) {
    if (w.size() < 2) return "missing event after the pass number";
    if (w[1] == "tick") {
        if (w.size() != 3) return "tick takes one value";
        event.is_tick = true;
        if (!parse_unsigned<uint32_t>(w[2], event.tick, UINT32_MAX)) return "bad tick value";
        return {};
    }
    for (const EventKind& kind : kKinds) {
        if (w[1] != kind.name) continue;
        if (static_cast<int>(w.size()) != 2 + kind.args) {
            return std::string(kind.name) + " takes " + std::to_string(kind.args) + " values";
        }
        event.message.id = kind.id;
        if (kind.args == 2) {
            int x = 0, y = 0;
            if (!parse_unsigned<int>(w[2], x, 65535) || !parse_unsigned<int>(w[3], y, 65535)) {
                return "bad coordinates";
            }
            event.message.lparam = pack_point(x, y);
        } else if (kind.args == 1) {
            if (!parse_unsigned<uint32_t>(w[2], event.message.wparam, 255)) return "bad key code";
        }
        return {};
    }
    return "unknown event '" + std::string(w[1]) + "'";
}

}  // namespace

std::optional<Replay> parse_replay(std::string_view text, std::string_view name,
                                   std::string& error) {
    Replay replay;
    int line_number = 0;
    bool header_seen = false;
    uint64_t last_pass = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++line_number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        auto fail = [&](const std::string& why) {
            error = std::string(name) + ":" + std::to_string(line_number) + ": " + why;
            return std::nullopt;
        };
        const auto w = split_words(line);
        if (w.empty() || w[0][0] == '#') continue;
        if (!header_seen) {
            if (w.size() != 2 || w[0] != "vasul-replay" || w[1] != "1") {
                return fail("expected the header 'vasul-replay 1'");
            }
            header_seen = true;
            continue;
        }
        if (w[0] == "seed") {
            uint32_t seed = 0;
            if (w.size() != 2 || !parse_unsigned<uint32_t>(w[1], seed, UINT32_MAX)) {
                return fail("seed takes one number");
            }
            replay.seed = seed;
            continue;
        }
        if (w[0][0] != '@') return fail("expected '@PASS EVENT', 'seed N' or a comment");
        ReplayEvent event;
        if (!parse_unsigned<uint64_t>(w[0].substr(1), event.pass, UINT64_MAX / 2)) {
            return fail("bad pass number");
        }
        if (event.pass < last_pass) return fail("pass numbers must not decrease");
        last_pass = event.pass;
        if (auto why = parse_event(w, event); !why.empty()) return fail(why);
        replay.events.push_back(event);
    }
    if (!header_seen) {
        error = std::string(name) + ":1: expected the header 'vasul-replay 1'";
        return std::nullopt;
    }
    return replay;
}

std::optional<Replay> load_replay(const std::filesystem::path& file, std::string& error) {
    const FileBytes read = read_data_file(file, kMaxReplayBytes);
    if (!read) {
        error = file.string() + " " + read.reason;
        return std::nullopt;
    }
    const std::string_view text(reinterpret_cast<const char*>(read.bytes.data()),
                                read.bytes.size());
    return parse_replay(text, file.string(), error);
}

std::optional<std::string> format_message(const Message& m) {
    for (const EventKind& kind : kKinds) {
        if (m.id != kind.id) continue;
        std::string line = kind.name;
        if (kind.args == 2) {
            line +=
                " " + std::to_string(point_x(m.lparam)) + " " + std::to_string(point_y(m.lparam));
        } else if (kind.args == 1) {
            line += " " + std::to_string(m.wparam);
        }
        return line;
    }
    return std::nullopt;
}

}  // namespace platform
