#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/game.h"
#include "platform/data_source.h"
#include "scenes/viewer_scene.h"
#include "support/fixture_pack.h"
#include "support/named_pipe.h"
#include "support/test_game.h"
#include "viewer/script.h"

namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

void write_file(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Reads bytes as a script file; the stored lines as (command, argument) pairs.
Lines read_lines(const std::string& bytes, bool* ok = nullptr) {
    platform::MemoryDataSource data;
    data.put("vasul.spt", {bytes.begin(), bytes.end()});
    viewer::Script s;
    const bool read = viewer::read_script(data, "vasul.spt", s);
    if (ok) *ok = read;
    Lines lines;
    for (int i = 0; i < s.line_count; ++i) {
        const auto& l = s.lines[static_cast<size_t>(i)];
        lines.emplace_back(l.command, l.argument);
    }
    return lines;
}

std::string numbered_lines(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "SET_FRAME1 " + std::to_string(i) + "\n";
    return text;
}

// A game on the fixture pack with the script entered from the title.
struct Viewer {
    explicit Viewer(const std::string& script) {
        t.put_file("vasul.spt", script);
        t.start();
        viewer::enter_viewer(*t.game);
        t.game->current_scene = ScriptViewer;
    }
    void page() { t.click(500, 200); }
    const std::string& caption(int line) const {
        return t.game->viewer.caption[static_cast<size_t>(line - 1)];
    }
    int resume() const { return t.game->script.resume_line; }
    TestGame t;
};

}  // namespace

TEST(ScriptReader, SplitsEachLineAtItsLastSpace) {
    struct Case {
        const char* what;
        std::string file;
        Lines lines;
    };
    const Case cases[] = {
        {"no final line feed", "WAIT 0\nTEXT1 0012", {{"WAIT", "0"}}},
        {"CR LF ends keep the CR",
         "SET_FRAME1 3\r\nTEXT1 00120034\r\n",
         {{"SET_FRAME1", "3\r"}, {"TEXT1", "00120034\r"}}},
        {"RESET needs its space", "RESET\nRESET \n", {{"", ""}, {"RESET", ""}}},
        {"only the last space counts", "TEXT1 0012 0034\n", {{"TEXT1 0012", "0034"}}},
        {"a space first or none at all", " WAIT\nWAIT\t0\n\n", {{"", ""}, {"", ""}, {"", ""}}},
        {"an empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool ok = false;
        EXPECT_EQ(read_lines(c.file, &ok), c.lines);
        EXPECT_TRUE(ok);
    }
}

// Only the first 150 lines and the first 4095 bytes are kept; a line whose line feed lies
// past byte 4095 is not.
TEST(ScriptReader, KeepsTheLinesWithinItsLimits) {
    std::string long_file;
    for (int i = 0; i < 40; ++i) long_file += "TEXT1 " + std::string(93, '0') + "\n";  // 100 bytes
    long_file += "TEXT2 " + std::string(88, '1') + "\n";  // its line feed is byte 4095
    const std::string within = long_file;
    long_file += "WAIT 0\n";
    struct Case {
        const char* what;
        std::string file;
        size_t count;
        std::string last_argument;
    };
    const Case cases[] = {
        {"exactly 150 lines", numbered_lines(150), 150, "149"},
        {"more than 150 lines", numbered_lines(400), 150, "149"},
        {"exactly 4095 bytes", within, 41, std::string(88, '1')},
        {"more than 4095 bytes", long_file, 41, std::string(88, '1')},
    };
    ASSERT_EQ(within.size(), 4095u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Lines lines = read_lines(c.file);
        ASSERT_EQ(lines.size(), c.count);
        EXPECT_EQ(lines.back().second, c.last_argument);
    }
}

TEST(ScriptReader, MissingFileFailsWithNoLines) {
    viewer::Script s;
    s.line_count = 7;
    EXPECT_FALSE(viewer::read_script(platform::MemoryDataSource(), "vasul.spt", s));
    EXPECT_EQ(s.line_count, 0);
}

// The viewer reads the script on every visit; each problem with it is told once, naming the
// file, and a named pipe is refused at once instead of waited on.
TEST(ScriptReader, ProblemsAreToldOnceNamingTheFile) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;
        bool read;
    };
    const Case cases[] = {
        {"missing", [](const auto&) {}, false},
        {"a directory", [](const auto& f) { std::filesystem::create_directory(f); }, false},
        {"a named pipe", [](const auto& f) { fixture::make_named_pipe(f); }, false},
        {"empty", [](const auto& f) { write_file(f, ""); }, true},
        {"no line feed in the first 4095 bytes",
         [](const auto& f) { write_file(f, std::string(4095, 'A') + "\nWAIT 0\n"); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto dir = fixture::make_temp_dir("script-warn");
        const auto file = dir / "vasul.spt";
        const platform::FileDataSource data(dir);
        c.make(file);
        viewer::Script s;
        testing::internal::CaptureStderr();
        for (int visit = 0; visit < 3; ++visit) {
            viewer::clear_script(s);
            const bool read = fixture::without_waiting_on(
                file, [&] { return viewer::read_script(data, "vasul.spt", s); });
            EXPECT_EQ(read, c.read);
            EXPECT_EQ(s.line_count, 0);
        }
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find(file.string()), std::string::npos) << err;
        std::filesystem::remove_all(dir);
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(read_lines(std::string(4094, 'A') + "\n").size(), 1u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "a line feed at byte 4095 is enough";
}

TEST(ScriptRunner, PagesEndAtEachWait) {
    struct Case {
        const char* what;
        std::string script;
        // resume line and caption 1 after entering, then after each click
        std::vector<std::pair<int, std::string>> steps;
    };
    const Case cases[] = {
        {"WAIT first", "WAIT 0\nTEXT1 0001\n", {{1, ""}, {0, "0001"}, {0, "0001"}}},
        {"WAIT last", "TEXT1 0001\nWAIT 0\n", {{2, "0001"}, {0, "0001"}}},
        {"no WAIT", "TEXT1 0001\nTEXT1 0002\n", {{0, "0002"}, {0, "0002"}}},
        {"two pages",
         "TEXT1 0001\nWAIT 9\nTEXT1 0002\r\nWAIT\nTEXT1 0003\nWAIT 0\n",
         {{2, "0001"}, {6, "0003"}, {0, "0003"}}},  // "WAIT" without its space is no WAIT
        {"a last line without line feed never runs",
         "TEXT1 0001\nWAIT 0\nTEXT1 0002",
         {{2, "0001"}, {0, "0001"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Viewer v(c.script);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            if (i > 0) v.page();
            EXPECT_EQ(v.resume(), c.steps[i].first) << "step " << i;
            EXPECT_EQ(v.caption(1), c.steps[i].second) << "step " << i;
        }
    }
}

TEST(ScriptRunner, CommandsChangeOnlyWhatTheyName) {
    Viewer v(
        "TEXT1 0001\nTEXT2 12\r\nTEXT5 00020003\r\n"
        "SHOW_IMAGE1 2\nSET_FRAME1 3\nSET_FRAME2 3 \nSET_HEIGHT2 40\n"
        "SHOW_IMAGE2 3\nHIDE_IMAGE2 5\n"
        "LOAD_IMAGE1 8\nLOAD_IMAGE2 x\n"
        "RESET\ntext3 0001\nTEXT3 0001 0002\nWAIT 0\nRESET \n");
    const viewer::ViewerState& s = v.t.game->viewer;
    EXPECT_EQ(v.caption(1), "0001");
    EXPECT_EQ(v.caption(2), "12\r");
    EXPECT_EQ(v.caption(3), "");
    EXPECT_EQ(v.caption(5), "00020003\r");
    EXPECT_EQ(s.image_placement, (std::array<int, 2>{2, 0}));
    EXPECT_EQ(s.image_frame, (std::array<int, 2>{3, 0}));
    EXPECT_EQ(s.image_height, (std::array<int, 2>{0, 40}));
    EXPECT_EQ(s.image_sheet[0].cell_count(), 4);  // piece 8: four illustrations
    EXPECT_EQ(s.image_sheet[1].cell_count(), 7);  // a missing number is piece 0
    v.page();
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(v.caption(k), "") << k;
    EXPECT_EQ(s.image_placement[0], 2);
}

// Re-entering keeps what the last visit left; a restore starts the script over.
TEST(ScriptRunner, StateOutlivesVisitsAndRestoreStartsOver) {
    Viewer v("TEXT1 0001\nWAIT 0\nTEXT2 0002\nSHOW_IMAGE1 1\nWAIT 0\n");
    v.page();
    EXPECT_EQ(v.caption(2), "0002");
    viewer::enter_viewer(*v.t.game);  // the restore
    EXPECT_EQ(v.resume(), 2);
    EXPECT_EQ(v.caption(2), "0002");
    v.t.right_click(300, 200);
    ASSERT_EQ(v.t.game->current_scene, Title);
    v.t.put_file("vasul.spt", "WAIT 0\n");
    viewer::enter_viewer(*v.t.game);
    EXPECT_EQ(v.resume(), 1);
    EXPECT_EQ(v.caption(1), "0001");
    EXPECT_EQ(v.t.game->viewer.image_placement[0], 1);
    v.t.remove_file("vasul.spt");
    viewer::enter_viewer(*v.t.game);
    EXPECT_EQ(v.resume(), 0);
    EXPECT_EQ(v.caption(1), "0001");
}

TEST(CodeText, GlyphsSitEdgeToEdge) {
    gfx::SpriteSheet font;  // the fixture font: glyph i is 6 + i % 5 wide
    ASSERT_TRUE(font.load_sheet(fixture::sheet_pieces()[9]));
    struct Case {
        const char* codes;
        std::vector<std::pair<int, int>> glyphs;  // (x, glyph) of each drawn glyph
    };
    const Case cases[] = {
        {"000100020003\r\n", {{10, 1}, {17, 2}, {25, 3}}},
        {"00049999-0010002", {{10, 4}, {20, 2}}},  // codes the sheet lacks: no glyph, no width
        {"004", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codes);
        gfx::Surface target(80, 20, 0);
        font.draw_code_text(target, 10, 4, c.codes, true);
        int x = 10;
        for (const auto& [gx, g] : c.glyphs) {
            for (; x < gx; ++x) EXPECT_EQ(target.pixel(x, 5), 0u) << x;
            EXPECT_EQ(target.pixel(gx, 5), fixture::cell_colour(9, g)) << gx;
            x = gx + fixture::glyph_width(g);
            EXPECT_EQ(target.pixel(x - 1, 5), fixture::cell_colour(9, g)) << gx;
        }
        EXPECT_EQ(target.pixel(x, 5), 0u);
    }
}
