#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/messages.h"
#include "platform/result.h"

namespace platform {

// One line of a replay file: a message posted, or the clock set, at the start of a pass.
struct ReplayEvent {
    uint64_t pass = 0;
    bool is_tick = false;
    Message message;
    uint32_t tick = 0;
};

struct Replay {
    std::optional<uint32_t> seed;
    std::vector<ReplayEvent> events;  // in file order; passes never decrease
};

// Parses replay text; a malformed line is Invalid with the reason "NAME:LINE: what is wrong".
Result<Replay> parse_replay(std::string_view text, std::string_view name);
// The file's replay; a file that can't be read fails with the read's kind, its name first.
Result<Replay> load_replay(const std::filesystem::path& file);

// The replay line of a message ("move 3 4"), or nothing for messages replays don't carry.
std::optional<std::string> format_message(const Message& message);

}  // namespace platform
