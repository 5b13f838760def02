#include "platform/message_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace platform;

// A sequence in a short notation: "m1" a move to (1, 1), "d2" / "u2" a left press / release at
// (2, 2), "r3" a right press, "k27" a key-down of key 27, "c" a close, "q" a posted quit.
Message parse(const std::string& item) {
    const int n = item.size() > 1 ? std::stoi(item.substr(1)) : 0;
    switch (item[0]) {
        case 'm':
            return mouse_message(kWmMouseMove, n, n);
        case 'd':
            return mouse_message(kWmLButtonDown, n, n);
        case 'u':
            return mouse_message(kWmLButtonUp, n, n);
        case 'r':
            return mouse_message(kWmRButtonDown, n, n);
        case 'k':
            return key_message(kWmKeyDown, static_cast<uint32_t>(n));
        case 'c':
            return {kWmClose, 0, 0};
        default:
            return {kWmQuit, 0, 0};
    }
}

std::string show(const Message& m) {
    switch (m.id) {
        case kWmMouseMove:
            return "m" + std::to_string(point_x(m.lparam));
        case kWmLButtonDown:
            return "d" + std::to_string(point_x(m.lparam));
        case kWmLButtonUp:
            return "u" + std::to_string(point_x(m.lparam));
        case kWmRButtonDown:
            return "r" + std::to_string(point_x(m.lparam));
        case kWmKeyDown:
            return "k" + std::to_string(m.wparam);
        case kWmClose:
            return "c";
        default:
            return "q";
    }
}

// Pushes the items; "." takes one message out, as one pass of the main loop does.
std::vector<std::string> run(const std::vector<std::string>& items, MessageQueue& queue) {
    std::vector<std::string> taken;
    Message m;
    for (const std::string& item : items) {
        if (item == ".") {
            if (queue.pop(m)) taken.push_back(show(m));
        } else {
            queue.push(parse(item));
        }
    }
    while (queue.pop(m)) taken.push_back(show(m));
    return taken;
}

TEST(MessageQueue, MovesCoalesceWhileEverythingElseKeepsItsPlaceAndOrder) {
    struct Case {
        std::vector<std::string> in;
        std::vector<std::string> out;
    };
    const Case cases[] = {
        {{}, {}},
        {{"m1", "m2", "m3"}, {"m3"}},
        {{"m1", "m2", "k27"}, {"m2", "k27"}},  // Escape after a burst is the next but one
        {{"m1", "d2", "m3", "m4", "u5", "m6"}, {"m1", "d2", "m4", "u5", "m6"}},
        {{"d1", "u1", "d1", "u1"}, {"d1", "u1", "d1", "u1"}},  // presses never merge
        {{"k65", "k65", "m1", "m2", "c", "m3"}, {"k65", "k65", "m2", "c", "m3"}},
        {{"r1", "m2", "q", "m3", "m4"}, {"r1", "m2", "q", "m4"}},
        // A move still waiting takes the newer position; one already taken is not brought back.
        {{"k32", "m1", ".", "m2", "m3"}, {"k32", "m3"}},
        {{"m1", ".", "m2", ".", "m3"}, {"m1", "m2", "m3"}},
        {{"m1", "d1", ".", "m2", ".", "m3"}, {"m1", "d1", "m3"}},
    };
    for (const Case& c : cases) {
        MessageQueue queue;
        EXPECT_EQ(run(c.in, queue), c.out) << ::testing::PrintToString(c.in);
        EXPECT_TRUE(queue.empty());
    }
}

}  // namespace
