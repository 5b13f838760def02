// The viewer and the high-score display through the real binary, driven by replays; frames
// are compared with each other, so the test holds for any data pack.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/bmp.h"
#include "platform/data_source.h"
#include "support/fixture_pack.h"
#include "support/game_binary.h"
#include "viewer/script.h"

namespace {

namespace fs = std::filesystem;

// Three pages on the fixture pack, and a tail after the last WAIT that the last click runs.
const char* const kFixtureScript =
    "RESET 0\nHIDE_IMAGE2 0\nLOAD_IMAGE1 8\nSHOW_IMAGE1 2\nSET_FRAME1 0\nTEXT1 00010002\n"
    "WAIT 0\nSET_FRAME1 1\nTEXT1 0003\r\nWAIT 0\nSET_FRAME1 2\nTEXT2 00040005\nWAIT 0\n"
    "SHOW_IMAGE1 0\nRESET 0\n";

// The generated pack, or the fixture pack with a script of our own, in a folder of its own
// without a settings file.
fs::path make_viewer_folder() {
    const fs::path dir = fixture::make_data_folder("scores-viewer-e2e", VASUL_DATA_DIR);
    if (!fs::exists(dir / "vasul.spt"))
        std::ofstream(dir / "vasul.spt", std::ios::binary) << kFixtureScript;
    return dir;
}

int run_viewer_replay(const fs::path& dir, const std::string& replay, uint64_t frames) {
    std::ofstream(dir / "r.txt") << "vasul-replay 1\nseed 5\n" << replay;
    return fixture::run_binary(VASUL_BINARY, dir,
                               "--headless --replay r.txt --frames " + std::to_string(frames) +
                                   " --dump-frames frames --dump-every 10")
        .status;
}

// The pixels of the frame dumped at a pass.
std::vector<uint32_t> frame(const fs::path& dir, uint64_t pass) {
    const gfx::Surface s = fixture::read_frame(dir / "frames" / fixture::frame_file(pass));
    EXPECT_GT(s.width(), 0) << fixture::frame_file(pass);
    return s.pixels();
}

std::string event(uint64_t pass, const char* name, int x, int y) {
    return "@" + std::to_string(pass) + " " + name + " " + std::to_string(x) + " " +
           std::to_string(y) + "\n";
}

// The pages of the script as the game stores it: one per WAIT.
int count_pages(const fs::path& dir) {
    viewer::Script script;
    viewer::read_script(platform::FileDataSource(dir), "vasul.spt", script);
    int pages = 0;
    for (int i = 0; i < script.line_count; ++i)
        pages += script.lines[static_cast<size_t>(i)].command == "WAIT";
    return pages;
}

}  // namespace

// Frame 10 is the title with the pointer away from the menu; entering the viewer runs the
// first page, each click the next, and clicks past the last page change nothing.
TEST(ScoresViewerReplay, ViewerPagesThroughTheScriptToItsEnd) {
    const fs::path dir = make_viewer_folder();
    const int pages = count_pages(dir);
    ASSERT_GE(pages, 2) << "the script should have pages to turn";
    std::string r = event(1, "move", 100, 100) + event(11, "move", 300, 190) +
                    event(12, "ldown", 300, 190) + event(13, "lup", 300, 190) +
                    event(14, "move", 500, 200);
    const int clicks = pages + 2;
    for (int k = 1; k <= clicks; ++k) {
        const uint64_t at = 20 + 10 * static_cast<uint64_t>(k - 1) + 1;
        r += event(at, "ldown", 500, 200) + event(at + 1, "lup", 500, 200);
    }
    const uint64_t back = 20 + 10 * static_cast<uint64_t>(clicks) + 1;
    r += event(back, "rdown", 500, 200) + event(back + 2, "move", 100, 100);
    ASSERT_EQ(run_viewer_replay(dir, r, back + 20), 0);

    const auto title = frame(dir, 10);
    auto after = [&](int k) { return frame(dir, 20 + 10 * static_cast<uint64_t>(k)); };
    EXPECT_NE(after(0), title);
    for (int k = 1; k < pages; ++k) EXPECT_NE(after(k), after(k - 1)) << "page " << k + 1;
    EXPECT_EQ(after(pages + 1), after(pages)) << "a click after the last page";
    EXPECT_EQ(after(pages + 2), after(pages));
    EXPECT_EQ(frame(dir, back + 9), title) << "back on the title";
    fs::remove_all(dir);
}

// The display writes the default table on its first visit and shows what the file holds;
// the back button leads to the title.
TEST(ScoresViewerReplay, HighScoreDisplayFromTheTitleAndBack) {
    const fs::path dir = make_viewer_folder();
    const std::string r = event(1, "move", 100, 100) + event(11, "move", 300, 350) +
                          event(12, "ldown", 300, 350) + event(13, "lup", 300, 350) +
                          event(14, "move", 600, 460) + event(21, "move", 30, 20) +
                          event(22, "ldown", 30, 20) + event(24, "move", 100, 100);
    ASSERT_EQ(run_viewer_replay(dir, r, 35), 0);
    const auto title = frame(dir, 10);
    const auto shown = frame(dir, 20);
    EXPECT_NE(shown, title);
    EXPECT_EQ(frame(dir, 30), title);
    const std::string ini = fixture::file_text(dir / "vasul.ini");
    EXPECT_NE(ini.find("sum0=10057"), std::string::npos) << ini;
    EXPECT_NE(ini.find("nam9=AAA"), std::string::npos) << ini;

    // A valid table with a new best score: the display shows it and writes nothing.
    std::string table = "[score]\nsum0=9781\nsum1=6212\n";  // h = (6950 - 500 + 65000) mod 65536
    for (int i = 0; i < 10; ++i) {
        table += "nam" + std::to_string(i) + "=AAA\nsco" + std::to_string(i) + "=" +
                 (i == 0 ? "65000" : "500") + "\n";
    }
    std::ofstream(dir / "vasul.ini", std::ios::binary | std::ios::trunc) << table;
    fs::remove_all(dir / "frames");
    ASSERT_EQ(run_viewer_replay(dir, r, 35), 0);
    EXPECT_NE(frame(dir, 20), shown);
    EXPECT_EQ(fixture::file_text(dir / "vasul.ini"), table);
    fs::remove_all(dir);
}
