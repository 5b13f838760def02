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

// Reads one event line after its "@F"; Invalid, with what is wrong, when it is no event.
Result<ReplayEvent> parse_event(const std::vector<std::string_view>& w, uint64_t pass) {
    const auto bad = [](std::string why) { return Error{ErrorKind::Invalid, std::move(why)}; };
    ReplayEvent event;
    event.pass = pass;
    if (w.size() < 2) return bad("missing event after the pass number");
    if (w[1] == "tick") {
        if (w.size() != 3) return bad("tick takes one value");
        event.is_tick = true;
        if (!parse_unsigned<uint32_t>(w[2], event.tick, UINT32_MAX)) return bad("bad tick value");
        return event;
    }
    for (const EventKind& kind : kKinds) {
        if (w[1] != kind.name) continue;
        if (static_cast<int>(w.size()) != 2 + kind.args) {
            return bad(std::string(kind.name) + " takes " + std::to_string(kind.args) + " values");
        }
        event.message.id = kind.id;
        if (kind.args == 2) {
            int x = 0, y = 0;
            if (!parse_unsigned<int>(w[2], x, 65535) || !parse_unsigned<int>(w[3], y, 65535)) {
                return bad("bad coordinates");
            }
            event.message.lparam = pack_point(x, y);
        } else if (kind.args == 1) {
            if (!parse_unsigned<uint32_t>(w[2], event.message.wparam, 255))
                return bad("bad key code");
        }
        return event;
    }
    return bad("unknown event '" + std::string(w[1]) + "'");
}

}  // namespace

Result<Replay> parse_replay(std::string_view text, std::string_view name) {
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
            return Error{ErrorKind::Invalid,
                         std::string(name) + ":" + std::to_string(line_number) + ": " + why};
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
        uint64_t pass = 0;
        if (!parse_unsigned<uint64_t>(w[0].substr(1), pass, UINT64_MAX / 2)) {
            return fail("bad pass number");
        }
        if (pass < last_pass) return fail("pass numbers must not decrease");
        last_pass = pass;
        const Result<ReplayEvent> event = parse_event(w, pass);
        if (!event) return fail(event.error().reason);
        replay.events.push_back(*event);
    }
    if (!header_seen) {
        return Error{ErrorKind::Invalid,
                     std::string(name) + ":1: expected the header 'vasul-replay 1'"};
    }
    return replay;
}

Result<Replay> load_replay(const std::filesystem::path& file) {
    const FileBytes read = read_data_file(file, kMaxReplayBytes);
    if (!read) return Error{read.error().kind, file.string() + " " + read.error().reason};
    const std::string_view text(reinterpret_cast<const char*>(read->data()), read->size());
    return parse_replay(text, file.string());
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
