// The game binary over a data folder in which one file is broken: a directory, a named pipe,
// garbage or nothing in its place. The game must neither crash nor hang, and must name the
// file once on stderr.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/game.h"
#include "app/shell.h"
#include "platform/harness.h"
#include "platform/headless/headless_platform.h"
#include "rules/state.h"
#include "support/fixture_pack.h"
#include "support/game_binary.h"
#include "support/named_pipe.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

constexpr uint32_t kBrokenFileSeed = 7;
constexpr int kBrokenFilePasses = 300;

enum class Fault { Directory, NamedPipe, Garbage, Empty };

const char* name(Fault f) {
    switch (f) {
        case Fault::Directory:
            return "a directory";
        case Fault::NamedPipe:
            return "a named pipe";
        case Fault::Garbage:
            return "garbage";
        case Fault::Empty:
            return "empty";
    }
    return "";
}

void put(const fs::path& file, Fault fault) {
    fs::remove_all(file);
    switch (fault) {
        case Fault::Directory:
            fs::create_directories(file / "inside");
            break;
        case Fault::NamedPipe:
            fixture::make_named_pipe(file);
            break;
        case Fault::Garbage:
            std::ofstream(file, std::ios::binary) << "\x01\x7f garbage, no end";
            break;
        case Fault::Empty:
            std::ofstream(file, std::ios::binary).flush();
            break;
    }
}

// Runs the binary headless on a replay with a deadline, so that a game blocked on a pipe
// fails the test (status 124) instead of hanging it.
fixture::BinaryRun run_on_broken_pack(const fs::path& dir, const std::string& replay) {
    std::ofstream(dir / "r.txt") << "vasul-replay 1\n" << replay;
    return fixture::run_binary(VASUL_BINARY, dir,
                               "--headless --seed " + std::to_string(kBrokenFileSeed) +
                                   " --replay r.txt --frames " + std::to_string(kBrokenFilePasses),
                               "timeout 60");
}

// Plays in-process exactly as the binary runs with kBrokenFileSeed: starts a game from the title
// and carries the topmost piece home, so that the effect is read. Returns the replay lines.
std::string replay_of_a_snap(const fs::path& dir) {
    HeadlessPlatform headless(16);
    Harness harness(headless, {nullptr, {}, kBrokenFileSeed, 16, {}, 1});
    Game game(harness, dir);
    app::start_up(game, kBrokenFileSeed);
    std::string lines;
    uint64_t pass = 0;
    auto send = [&](const char* word, const Message& m) {
        harness.post_message(m);
        lines += "@" + std::to_string(pass) + " " + word + " " + std::to_string(point_x(m.lparam)) +
                 " " + std::to_string(point_y(m.lparam)) + "\n";
        app::main_loop_pass(game, pass++);
    };
    app::main_loop_pass(game, pass++);
    send("move", mouse_message(kWmMouseMove, 300, 150));
    send("ldown", mouse_message(kWmLButtonDown, 300, 150));
    EXPECT_EQ(game.current_scene, Play);
    const auto& st = game.state;
    const int p = st.stacking.back();
    const int x = st.x[static_cast<size_t>(p)] + 40, y = st.y[static_cast<size_t>(p)] + 40;
    const int hx = rules::home_x(p) + 40, hy = rules::home_y(p) + 40;
    send("ldown", mouse_message(kWmLButtonDown, x, y));
    send("move", mouse_message(kWmMouseMove, hx, hy));
    send("lup", mouse_message(kWmLButtonUp, hx, hy));
    EXPECT_TRUE(st.placed[static_cast<size_t>(p)]) << "the piece should have snapped home";
    return lines;
}

class BrokenFile : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        pack_ = fixture::make_temp_dir("broken-pack");
        fixture::write_pack(pack_);
        fixture::write_sounds(pack_);
        std::ofstream(pack_ / "vasul.spt", std::ios::binary) << "TEXT1 0001\nWAIT 0\n";
        snap_ = replay_of_a_snap(pack_);
        fs::remove(pack_ / "vasul.ini");
    }
    static void TearDownTestSuite() { fs::remove_all(pack_); }

    // A fresh copy of the pack with the file broken.
    fs::path broken(const char* file, Fault fault) {
        const fs::path dir = fixture::make_temp_dir("broken");
        fs::copy(pack_, dir, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        put(dir / file, fault);
        return dir;
    }

    static inline fs::path pack_;
    static inline std::string snap_;
};

int lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(BrokenFile, TheGamePlaysOnAndNamesTheFileOnce) {
    const std::string enter_viewer = "@1 move 300 190\n@2 ldown 300 190\n@3 lup 300 190\n";
    struct Target {
        const char* file;
        std::string replay;  // what makes the game read it
    };
    const Target targets[] = {
        {"ogg/title1-2a.ogg", ""},    // read at start-up
        {"wave/in.wav", snap_},       // read when a piece snaps home
        {"vasul.spt", enter_viewer},  // read when the viewer opens
    };
    for (const Target& t : targets) {
        for (Fault fault : {Fault::Directory, Fault::NamedPipe, Fault::Garbage, Fault::Empty}) {
            SCOPED_TRACE(std::string(t.file) + " is " + name(fault));
            const fs::path dir = broken(t.file, fault);
            const fixture::BinaryRun r = run_on_broken_pack(dir, t.replay);
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(lines(r.err), 1) << r.err;
            EXPECT_NE(r.err.find(t.file), std::string::npos) << r.err;
            fs::remove_all(dir);
        }
    }
}

// Without its pictures the game stops before it starts, saying what is wrong with the file.
TEST_F(BrokenFile, AnArchiveThatIsNoFileStopsTheStartWithItsReason) {
    struct Case {
        const char* file;
        Fault fault;
        const char* says;
    };
    const Case cases[] = {
        {"image/data.bmp", Fault::NamedPipe, "image/data.bmp is a named pipe"},
        {"image/dat2.bmp", Fault::Directory, "image/dat2.bmp is a directory"},
        {"image/dat2.bmp", Fault::Empty, "image/dat2.bmp is too short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        const fs::path dir = broken(c.file, c.fault);
        const fixture::BinaryRun r = run_on_broken_pack(dir, "");
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        fs::remove_all(dir);
    }
}

}  // namespace
