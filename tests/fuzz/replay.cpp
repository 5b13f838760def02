// A replay file: parsed, printed back in the recorder's format and parsed again; the second
// reading must give the same seed and the same events.
#include "platform/replay.h"

#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"

namespace {

std::string print_replay(const platform::Replay& replay) {
    std::string out = "vasul-replay 1\n";
    if (replay.seed) out += "seed " + std::to_string(*replay.seed) + "\n";
    for (const platform::ReplayEvent& e : replay.events) {
        out += "@" + std::to_string(e.pass) + " ";
        if (e.is_tick) {
            out += "tick " + std::to_string(e.tick);
        } else {
            const auto line = platform::format_message(e.message);
            FUZZ_CHECK(line.has_value());  // a parsed message the recorder could not write
            out += *line;
        }
        out += "\n";
    }
    return out;
}

bool same_event(const platform::ReplayEvent& a, const platform::ReplayEvent& b) {
    if (a.pass != b.pass || a.is_tick != b.is_tick) return false;
    if (a.is_tick) return a.tick == b.tick;
    return a.message.id == b.message.id && a.message.wparam == b.message.wparam &&
           a.message.lparam == b.message.lparam;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto first = platform::parse_replay(text, "fuzz.replay");
    if (!first) {
        // A refused file names itself and the line at fault.
        FUZZ_CHECK(first.error().reason.starts_with("fuzz.replay:"));
        return 0;
    }
    for (size_t i = 1; i < first->events.size(); ++i) {
        FUZZ_CHECK(first->events[i - 1].pass <= first->events[i].pass);
    }
    const std::string printed = print_replay(*first);
    const auto second = platform::parse_replay(printed, "printed.replay");
    FUZZ_CHECK(second.ok());
    FUZZ_CHECK(second->seed == first->seed);
    FUZZ_CHECK(second->events.size() == first->events.size());
    for (size_t i = 0; i < first->events.size(); ++i) {
        FUZZ_CHECK(same_event(first->events[i], second->events[i]));
    }
    return 0;
}
