// Whole games on the headless backend: played in-process as a player would, replayed from the
// inputs alone, and run through the game binary from replay files and recordings.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/shell.h"
#include "gfx/bmp.h"
#include "platform/harness.h"
#include "platform/headless/headless_platform.h"
#include "platform/replay.h"
#include "rules/state.h"
#include "support/fixture_pack.h"
#include "support/game_binary.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

uint64_t frame_hash(const gfx::Surface& s) {
    uint64_t h = 1469598103934665603ull;
    for (uint32_t p : s.pixels()) {
        h ^= p & 0xFFFFFFu;
        h *= 1099511628211ull;
    }
    return h;
}

// A game in-process exactly as the binary runs it: the harness over the headless backend,
// optionally posting a replay, one message at most and one frame per pass. It notes every
// message posted by hand as a replay line, hashes every frame and keeps every k-th one.
class Session {
  public:
    Session(const fs::path& dir, uint32_t seed, uint32_t tick_ms, const Replay* replay = nullptr,
            uint64_t keep_every = 0)
        : headless_(tick_ms),
          harness_(headless_, {replay, {}, seed, tick_ms, {}, 1}),
          game_(harness_, dir),
          seed_(seed),
          keep_every_(keep_every) {
        app::start_up(game_, seed);
    }

    Game& game() { return game_; }
    const rules::GameState& state() const { return game_.state; }
    int scene() const { return game_.current_scene; }
    uint64_t pass() const { return pass_; }
    const std::vector<uint64_t>& hashes() const { return hashes_; }
    const std::map<uint64_t, gfx::Surface>& kept() const { return kept_; }

    void post(const Message& m) {
        harness_.post_message(m);
        script_ += "@" + std::to_string(pass_) + " " + *format_message(m) + "\n";
    }
    void step() {
        const uint64_t pass = pass_++;
        ASSERT_FALSE(app::main_loop_pass(game_, pass).has_value()) << "the game ended";
        hashes_.push_back(frame_hash(game_.back_buffer()));
        if (keep_every_ && pass % keep_every_ == 0) kept_[pass] = game_.back_buffer();
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i) step();
    }
    void send(const Message& m) {
        post(m);
        step();
    }
    void idle_until_pass_is_multiple_of(uint64_t k) {
        while (pass_ % k != 1) step();
    }
    std::string replay_text() const {
        return "vasul-replay 1\nseed " + std::to_string(seed_) + "\n" + script_;
    }

  private:
    HeadlessPlatform headless_;
    Harness harness_;
    Game game_;
    uint32_t seed_;
    uint64_t keep_every_;
    uint64_t pass_ = 0;
    std::string script_;
    std::vector<uint64_t> hashes_;
    std::map<uint64_t, gfx::Surface> kept_;
};

void start_from_title(Session& s) {
    s.step();
    s.send(mouse_message(kWmMouseMove, 300, 150));
    s.send(mouse_message(kWmLButtonDown, 300, 150));
    ASSERT_EQ(s.scene(), Play);
}

// The topmost loose piece (loose pieces always lie above placed ones), taken at its middle.
struct Grip {
    int piece, x, y;
};
Grip grip_top(const rules::GameState& st) {
    const int p = st.stacking.back();
    return {p, st.x[static_cast<size_t>(p)] + 40, st.y[static_cast<size_t>(p)] + 40};
}

// Carries the topmost loose piece home in two moves and lets go on its home corner.
void place_top_piece(Session& s) {
    const Grip g = grip_top(s.state());
    ASSERT_FALSE(s.state().placed[static_cast<size_t>(g.piece)]);
    const int hx = rules::home_x(g.piece) + 40, hy = rules::home_y(g.piece) + 40;
    const int stage = s.state().stage;
    s.send(mouse_message(kWmLButtonDown, g.x, g.y));
    ASSERT_TRUE(s.state().dragging);
    s.send(mouse_message(kWmMouseMove, (g.x + hx) / 2, (g.y + hy) / 2));
    s.send(mouse_message(kWmMouseMove, hx, hy));
    s.send(mouse_message(kWmLButtonUp, hx, hy));
    ASSERT_TRUE(s.state().placed[static_cast<size_t>(g.piece)] || s.state().stage != stage ||
                s.scene() != Play);
}

// Plays five stages, waits for the tally to count everything up and enters the gallery.
void play_whole_game(Session& s) {
    start_from_title(s);
    for (int stage = 1; stage <= rules::kStageCount; ++stage) {
        ASSERT_EQ(s.state().stage, stage);
        for (int n = 0; n < rules::kPieceCount; ++n) {
            place_top_piece(s);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
    ASSERT_EQ(s.scene(), Tally);
    const auto& st = s.state();
    for (int frame = 0;
         frame < 10000 && !(st.score_done && st.time_bonus_done && st.chain_bonus_done); ++frame)
        s.step();
    s.send(mouse_message(kWmMouseMove, 300, 300));
    s.send(mouse_message(kWmLButtonDown, 300, 300));
    ASSERT_EQ(s.scene(), Gallery);
}

// Runs the binary on a replay with a recording, then on the recording; both runs must dump the
// same frames byte for byte, record the same file, and show the frames the in-process session
// drew at the same passes.
void check_binary_replays(const Session& s, uint64_t passes, uint64_t every, uint32_t tick_ms) {
    const fs::path dir = fixture::make_data_folder("play-binary", VASUL_DATA_DIR);
    std::ofstream(dir / "input.txt", std::ios::binary) << s.replay_text();
    const std::string common = "--headless --tick-ms " + std::to_string(tick_ms) + " --frames " +
                               std::to_string(passes) + " --dump-every " + std::to_string(every);
    auto r = fixture::run_binary(VASUL_BINARY, dir,
                                 common + " --replay input.txt --record rec.txt --dump-frames a");
    ASSERT_EQ(r.status, 0) << r.err;
    r = fixture::run_binary(VASUL_BINARY, dir,
                            common + " --replay rec.txt --record rec2.txt --dump-frames b");
    ASSERT_EQ(r.status, 0) << r.err;

    EXPECT_EQ(fixture::file_text(dir / "rec.txt"), fixture::file_text(dir / "rec2.txt"));
    ASSERT_FALSE(s.kept().empty());
    for (uint64_t pass = 0; pass < passes; pass += every) {
        const std::string a = fixture::file_text(dir / "a" / fixture::frame_file(pass));
        ASSERT_FALSE(a.empty()) << fixture::frame_file(pass);
        EXPECT_EQ(a, fixture::file_text(dir / "b" / fixture::frame_file(pass)))
            << fixture::frame_file(pass);
        const auto it = s.kept().find(pass);
        if (it == s.kept().end()) continue;
        const std::vector<uint8_t> bytes(a.begin(), a.end());
        const auto frame = gfx::decode_bmp(bytes);
        ASSERT_TRUE(frame) << fixture::frame_file(pass);
        EXPECT_EQ(frame_hash(*frame), frame_hash(it->second))
            << "binary and in-process differ at " << fixture::frame_file(pass);
    }
    fs::remove_all(dir);
}

class PlayEndToEnd : public ::testing::Test {
  protected:
    void TearDown() override {
        for (const auto& d : dirs_) fs::remove_all(d);
    }
    fs::path data_dir(const char* tag) {
        return dirs_.emplace_back(fixture::make_data_folder(tag, VASUL_DATA_DIR));
    }

  private:
    std::vector<fs::path> dirs_;
};

constexpr uint32_t kPlaySeed = 20240611;
constexpr uint64_t kDumpEvery = 100;

TEST_F(PlayEndToEnd, AWholeGamePlaysThroughFiveStagesAndReplaysIdentically) {
    Session first(data_dir("play-first"), kPlaySeed, 16, nullptr, kDumpEvery);
    play_whole_game(first);
    if (HasFatalFailure()) return;
    first.idle_until_pass_is_multiple_of(kDumpEvery);
    const rules::GameState& st = first.state();
    EXPECT_GT(st.score, 48 * 5 * 75);
    EXPECT_EQ(st.max_chain, 47) << "every stage is one chain";
    EXPECT_EQ(st.total, st.score + st.time_left * 10 + st.max_chain * 100);
    EXPECT_EQ(first.game().gallery.open[0], st.total >= 10000);

    const auto replay = parse_replay(first.replay_text(), "input");
    ASSERT_TRUE(replay) << replay.error().reason;
    Session second(data_dir("play-second"), kPlaySeed, 16, &*replay);
    second.steps(static_cast<int>(first.pass()));
    EXPECT_EQ(second.state().score, st.score);
    EXPECT_EQ(second.state().total, st.total);
    EXPECT_EQ(second.scene(), Gallery);
    EXPECT_TRUE(second.hashes() == first.hashes()) << "the frames differ";

    check_binary_replays(first, first.pass(), kDumpEvery, 16);
}

TEST_F(PlayEndToEnd, RunningOutOfTimeShowsTheTimeUpScreenAndARightClickLeadsHome) {
    // Every pass is a little more than a second, so every play frame ticks the countdown.
    constexpr uint32_t kTick = 1001;
    constexpr uint64_t kEvery = 50;
    Session s(data_dir("time-up"), kPlaySeed, kTick, nullptr, kEvery);
    start_from_title(s);
    if (HasFatalFailure()) return;
    const int time_left = s.state().time_left;
    int play_frames = 0;
    for (int frame = 0; frame < 2 * time_left && s.scene() == Play; ++frame) {
        s.step();
        ++play_frames;
    }
    EXPECT_EQ(s.scene(), GameOver);
    EXPECT_EQ(s.state().time_left, 0);
    EXPECT_EQ(play_frames, time_left) << "one second a frame, the last one leaving 0";
    s.steps(static_cast<int>(kEvery));
    s.send(mouse_message(kWmRButtonDown, 400, 400));
    EXPECT_EQ(s.scene(), Title);
    s.idle_until_pass_is_multiple_of(kEvery);
    check_binary_replays(s, s.pass(), kEvery, kTick);
}

TEST_F(PlayEndToEnd, PausingMidDragKeepsTheHoldAndResumesWhereItStood) {
    Session s(data_dir("pause"), kPlaySeed, 16, nullptr, 1);
    start_from_title(s);
    if (HasFatalFailure()) return;
    const Grip g = grip_top(s.state());
    s.send(mouse_message(kWmLButtonDown, g.x, g.y));
    s.send(mouse_message(kWmMouseMove, 320, 240));
    const int x = s.state().x[g.piece], y = s.state().y[g.piece];
    s.send(key_message(kWmKeyDown, kVkSpace));
    ASSERT_EQ(s.scene(), Pause);
    s.steps(3);
    s.send(key_message(kWmKeyUp, kVkSpace));
    s.send(mouse_message(kWmMouseMove, 100, 100));  // seen by the pause screen only
    s.send(mouse_message(kWmRButtonDown, 100, 100));
    ASSERT_EQ(s.scene(), Play);
    EXPECT_TRUE(s.state().dragging);
    EXPECT_EQ(s.state().x[g.piece], x);
    EXPECT_EQ(s.state().y[g.piece], y);
    const int hx = rules::home_x(g.piece) + 40, hy = rules::home_y(g.piece) + 40;
    s.send(mouse_message(kWmMouseMove, hx, hy));
    s.send(mouse_message(kWmLButtonUp, hx, hy));
    EXPECT_TRUE(s.state().placed[g.piece]);
    s.steps(2);
    check_binary_replays(s, s.pass(), 1, 16);
}

}  // namespace
