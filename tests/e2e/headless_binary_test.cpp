#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "gfx/bmp.h"
#include "support/fixture_pack.h"
#include "support/game_binary.h"

namespace {

class HeadlessBinary : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fixture::make_temp_dir("binary");
        fixture::write_pack(dir);
        fixture::write_sounds(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    void write_replay(const std::string& text) { std::ofstream(dir / "r.txt") << text; }
    fixture::BinaryRun run(const std::string& args, const std::string& prefix = "") {
        return fixture::run_binary(VASUL_BINARY, dir, args, prefix);
    }
    std::filesystem::path dir;
};

TEST_F(HeadlessBinary, DumpsTitleFramesWithThePointerAtTheCentre) {
    const auto r = run("--headless --seed 1 --frames 60 --dump-frames frames --dump-every 20");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "frames/frame-000019.bmp"));
    auto frame = fixture::read_frame(dir / "frames/frame-000040.bmp");
    ASSERT_EQ(frame.width(), 640);
    for (int y = 0; y < 480; y += 37) {
        for (int x = 0; x < 640; x += 41) {
            const bool under_pointer = x >= 320 && x < 326 && y >= 240 && y < 246;
            const uint32_t expected =
                under_pointer ? fixture::cell_colour(12, 0) : fixture::picture_pixel(0, x, y);
            ASSERT_EQ(frame.pixel(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(frame.pixel(320, 240), fixture::cell_colour(12, 0));
    EXPECT_EQ(frame.pixel(325, 245), fixture::cell_colour(12, 0));
    EXPECT_EQ(frame.pixel(326, 246), fixture::picture_pixel(0, 326, 246));
}

TEST_F(HeadlessBinary, ReplayHighlightsTheItemUnderThePointer) {
    write_replay("vasul-replay 1\nseed 3\n@2 move 300 150\n");
    const auto r = run("--headless --replay r.txt --frames 5 --dump-frames frames");
    ASSERT_EQ(r.status, 0) << r.err;
    auto before = fixture::read_frame(dir / "frames/frame-000001.bmp");
    auto after = fixture::read_frame(dir / "frames/frame-000004.bmp");
    EXPECT_EQ(before.pixel(250, 140), fixture::picture_pixel(0, 250, 140));
    EXPECT_EQ(after.pixel(250, 140), fixture::cell_colour(0, 0)) << "menu cell 0 at (246, 132)";
    EXPECT_EQ(after.pixel(300, 150), fixture::cell_colour(12, 0));
}

TEST_F(HeadlessBinary, EscapeInAReplayEndsTheRun) {
    write_replay("vasul-replay 1\n@3 keydown 27\n");
    const auto r = run("--headless --replay r.txt --frames 100000");
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(HeadlessBinary, RecordingReplaysToIdenticalFrames) {
    write_replay("vasul-replay 1\nseed 9\n@1 move 300 180\n@3 move 301 230\n@6 move 400 300\n");
    ASSERT_EQ(run("--headless --replay r.txt --record rec.txt --frames 10 "
                  "--dump-frames a")
                  .status,
              0);
    ASSERT_EQ(run("--headless --replay rec.txt --frames 10 --dump-frames b").status, 0);
    for (int pass = 0; pass < 10; ++pass) {
        const std::string name = fixture::frame_file(static_cast<uint64_t>(pass));
        EXPECT_EQ(fixture::read_frame(dir / "a" / name).pixels(),
                  fixture::read_frame(dir / "b" / name).pixels())
            << name;
    }
}

TEST_F(HeadlessBinary, BadInputGivesOneClearLineAndStatusTwo) {
    write_replay("vasul-replay 1\n@1 move 3\n");
    auto r = run("--headless --replay r.txt");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("r.txt:2: move takes 2 values"), std::string::npos) << r.err;

    r = run("--headless --bogus");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--bogus"), std::string::npos) << r.err;

    std::filesystem::remove(dir / "image/dat2.bmp");
    r = run("--headless --frames 5");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("image/dat2.bmp is missing"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find((dir / "image").string()), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;

    EXPECT_EQ(run("--help").status, 0);
}

// Over an ssh session without X11 or Wayland, SDL falls back to a driver that shows nothing:
// the game must say so and stop instead of running unseen. A driver named in SDL_VIDEODRIVER
// is still taken, as the smoke tests take the dummy one.
TEST_F(HeadlessBinary, WithoutADisplayTheGameStopsAtOnceAndPointsToHeadless) {
    const std::string bare =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy timeout 10";
    for (const char* args : {"", "--windowed"}) {
        const auto start = std::chrono::steady_clock::now();
        const auto r = run(args, bare);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << args;
        EXPECT_EQ(r.status, 2) << args << ": " << r.err;
        EXPECT_NE(r.err.find("no display found"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("--headless"), std::string::npos) << r.err;
    }
    const auto r = run("--frames 3",
                       "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy "
                       "SDL_AUDIODRIVER=dummy timeout 10");
    EXPECT_EQ(r.status, 0) << r.err;
}

}  // namespace
