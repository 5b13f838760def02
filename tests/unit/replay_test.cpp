#include "platform/replay.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/harness.h"
#include "platform/headless/headless_platform.h"
#include "support/fixture_pack.h"
#include "support/named_pipe.h"
#include "support/results.h"

using namespace platform;

TEST(Replay, ParsesEveryEventKind) {
    auto r = parse_replay(
        "vasul-replay 1\r\n# a comment\nseed 12345\n@0 move 320 200\n@4 ldown 320 200\n"
        "@5 lup 330 210\n@5 ldbl 1 2\n@6 keydown 32\n@7 keyup 32\n@9 rdown 5 5\n@9 rdbl 6 6\n"
        "@20 tick 4294967000\n@30 close\n",
        "r.txt");
    ASSERT_TRUE(r) << why_not(r);
    EXPECT_EQ(r->seed, 12345u);
    ASSERT_EQ(r->events.size(), 10u);
    EXPECT_EQ(r->events[0].message.id, kWmMouseMove);
    EXPECT_EQ(r->events[0].message.lparam, pack_point(320, 200));
    EXPECT_EQ(r->events[3].message.id, kWmLButtonDblClk);
    EXPECT_EQ(r->events[4].message.wparam, 32u);
    EXPECT_EQ(r->events[7].message.id, kWmRButtonDblClk);
    EXPECT_TRUE(r->events[8].is_tick);
    EXPECT_EQ(r->events[8].tick, 4294967000u);
    EXPECT_EQ(r->events[9].message.id, kWmClose);
}

TEST(Replay, MalformedLinesNameFileLineAndReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"seed 1\n", "r:1: expected the header"},
        {"vasul-replay 1\n@x move 1 2\n", "r:2: bad pass number"},
        {"vasul-replay 1\n@3 move 1\n", "r:2: move takes 2 values"},
        {"vasul-replay 1\n@3 jump 1 2\n", "r:2: unknown event 'jump'"},
        {"vasul-replay 1\n@3 move 1 70000\n", "r:2: bad coordinates"},
        {"vasul-replay 1\n@5 close\n@4 close\n", "r:3: pass numbers must not decrease"},
        {"vasul-replay 1\n@5 keydown 300\n", "r:2: bad key code"},
        {"vasul-replay 1\nseed -4\n", "r:2: seed takes one number"},
        {"", "r:1: expected the header"},
    };
    for (auto [text, message] : cases) {
        const auto r = parse_replay(text, "r");
        ASSERT_FALSE(r) << text;
        EXPECT_EQ(r.error().kind, platform::ErrorKind::Invalid);
        EXPECT_NE(r.error().reason.find(message), std::string::npos) << r.error().reason;
    }
}

// A replay that is no file stops the start with a reason at once, not a wait on a pipe.
TEST(Replay, LoadingRefusesAnythingButAFile) {
    const auto dir = fixture::make_temp_dir("replay-kind");
    std::filesystem::create_directory(dir / "folder");
    fixture::make_named_pipe(dir / "pipe");
    const std::pair<const char*, const char*> cases[] = {
        {"folder", "is a directory"}, {"pipe", "is a named pipe"}, {"none", "is missing"}};
    for (const auto& [name, reason] : cases) {
        const auto r = fixture::without_waiting_on(
            dir / "pipe", [&, name = name] { return load_replay(dir / name); });
        EXPECT_EQ(why_not(r), (dir / name).string() + " " + reason);
    }
    std::filesystem::remove_all(dir);
}

TEST(Harness, PostsAtTheirPassesAndSetsTheClock) {
    auto r = parse_replay("vasul-replay 1\n@2 move 1 2\n@2 move 3 4\n@5 tick 1000\n", "r");
    ASSERT_TRUE(r);
    HeadlessPlatform inner(10);
    HarnessOptions o;
    o.replay = &*r;
    Harness h(inner, o);
    Message m;
    h.begin_pass(1);
    EXPECT_FALSE(h.peek_message(m));
    EXPECT_EQ(h.ticks(), 10u);
    h.begin_pass(2);
    ASSERT_TRUE(h.peek_message(m));
    EXPECT_EQ(m.lparam, pack_point(1, 2));
    h.begin_pass(5);
    EXPECT_EQ(h.ticks(), 1000u);
    h.begin_pass(7);
    EXPECT_EQ(h.ticks(), 1020u);
    ASSERT_TRUE(h.peek_message(m)) << "the second message waits in the queue";
    EXPECT_EQ(m.lparam, pack_point(3, 4));
}

TEST(Harness, RecordingReplaysToTheSameMessagesAndClock) {
    auto dir = fixture::make_temp_dir("record");
    const auto file = dir / "rec.txt";
    std::vector<uint32_t> seen_ticks;
    {
        HeadlessPlatform inner(16);
        HarnessOptions o;
        o.record_file = file;
        o.seed = 77;
        Harness h(inner, o);
        // Read before the first pass, as the game starts its play clocks; a real clock is
        // well past 0 by then.
        inner.set_ticks(1234);
        seen_ticks.push_back(h.ticks());
        h.begin_pass(0);
        seen_ticks.push_back(h.ticks());
        h.post_message(mouse_message(kWmMouseMove, 5, 6));
        h.begin_pass(3);
        Message m;
        ASSERT_TRUE(h.peek_message(m));
        inner.set_ticks(5000);  // a clock the replay model can't predict
        seen_ticks.push_back(h.ticks());
        h.begin_pass(4);
        seen_ticks.push_back(h.ticks());
        h.post_message(key_message(kWmKeyDown, 27));
        h.begin_pass(9);
        ASSERT_TRUE(h.peek_message(m));
        seen_ticks.push_back(h.ticks());
    }
    auto r = load_replay(file);
    ASSERT_TRUE(r) << why_not(r);
    EXPECT_EQ(r->seed, 77u);
    HeadlessPlatform inner(16);
    HarnessOptions o;
    o.replay = &*r;
    Harness h(inner, o);
    std::vector<uint32_t> replayed;
    Message m;
    replayed.push_back(h.ticks());
    h.begin_pass(0);
    replayed.push_back(h.ticks());
    h.begin_pass(3);
    ASSERT_TRUE(h.peek_message(m));
    EXPECT_EQ(m.id, kWmMouseMove);
    replayed.push_back(h.ticks());
    h.begin_pass(4);
    replayed.push_back(h.ticks());
    h.begin_pass(9);
    ASSERT_TRUE(h.peek_message(m));
    EXPECT_EQ(m.wparam, 27u);
    replayed.push_back(h.ticks());
    EXPECT_EQ(replayed, seen_ticks);
    std::filesystem::remove_all(dir);
}
