#include <gtest/gtest.h>

#include <string>

#include "app/game.h"
#include "frontend_helpers.h"
#include "gfx/text.h"
#include "scenes/options_scene.h"
#include "sound/sound.h"
#include "support/fixture_pack.h"
#include "support/test_game.h"

namespace {

using frontend::read_ini;

constexpr int kSwitchPiece = 1;
constexpr int kArrowPiece = 2;

// Music on at step 9, effect off at step 0, no frame counter, "HARD", music test volume 4.
const char* const kOptionsIni =
    "[music]\nbgmon=1\nseon=0\nbgm=9\nse=0\n[cg]\nfps=0\n[mode]\nlevel=0\n[sound]\nvol=4\n";

void enter_options(TestGame& t, const char* ini = kOptionsIni) {
    if (ini) frontend::write_ini(t, ini);
    t.start();
    frontend::click_title_item(t, frontend::kOptionsItem);
    ASSERT_EQ(t.game->current_scene, Options);
}

// The value a key is written from.
int in_memory(const Game& g, const std::string& key) {
    if (key == "music/bgmon") return g.sound.enabled[0];
    if (key == "music/seon") return g.sound.enabled[1];
    if (key == "music/bgm") return g.sound.level[0];
    if (key == "music/se") return g.sound.level[1];
    if (key == "cg/fps") return g.show_fps;
    if (key == "mode/level") return g.difficulty;
    ADD_FAILURE() << key;
    return -1;
}

struct Control {
    const char* name;
    int left, top, width, height;
    int piece;
    int cell;  // the cell drawn in the start state while the pointer is elsewhere
};
const Control kControls[] = {
    {"BGM switch", 341, 110, 47, 23, kSwitchPiece, 0},
    {"BGM down", 327, 156, 23, 23, kArrowPiece, 0},
    {"BGM up", 380, 156, 23, 23, kArrowPiece, 2},
    {"SE switch", 341, 202, 47, 23, kSwitchPiece, 2},
    {"SE down", 327, 248, 23, 23, kArrowPiece, 0},
    {"SE up", 380, 248, 23, 23, kArrowPiece, 2},
    {"FPS switch", 341, 294, 47, 23, kSwitchPiece, 2},
    {"LVL left", 327, 340, 23, 23, kArrowPiece, 0},
    {"LVL right", 460, 340, 23, 23, kArrowPiece, 2},
};

}  // namespace

TEST(OptionsScene, EachControlChangesItsValueAndWritesOnlyItsKey) {
    struct Case {
        int control;
        const char* key;
        int value;   // after the click, in memory and in the file
        int volume;  // channel volume after the click, or -1 when the click sets none
    };
    const Case cases[] = {
        {0, "music/bgmon", 0, -1}, {1, "music/bgm", 8, 225},
        {2, "music/bgm", 9, 255},                          // already at the top: written again
        {3, "music/seon", 1, -1},  {4, "music/se", 0, 0},  // already at the bottom: written again
        {5, "music/se", 1, 15},    {6, "cg/fps", 1, -1},
        {7, "mode/level", 1, -1},  {8, "mode/level", 0, -1},  // already "HARD": written again
    };
    for (const Case& c : cases) {
        const Control& k = kControls[c.control];
        SCOPED_TRACE(k.name);
        TestGame t;
        enter_options(t);
        frontend::clear_ini(t);
        t.click(k.left + 5, k.top + 5);
        EXPECT_EQ(t.game->current_scene, Options);
        EXPECT_EQ(in_memory(*t.game, c.key), c.value);
        EXPECT_EQ(read_ini(t.dir),
                  (std::map<std::string, std::string>{{c.key, std::to_string(c.value)}}));
        const int channel = std::string(c.key) == "music/se" ? 1 : 0;
        if (c.volume >= 0) {
            EXPECT_EQ(t.platform.headless_audio().volume(channel), c.volume);
        }
        EXPECT_EQ(t.game->music_test.volume, 4) << "the music test keeps its own volume";
    }
}

TEST(OptionsScene, DrawsEachControlInItsStateAndHotUnderThePointer) {
    TestGame t;
    enter_options(t);
    t.move(600, 450);
    for (const Control& k : kControls) {
        EXPECT_EQ(t.pixel(k.left + k.width - 1, k.top + k.height - 1),
                  fixture::cell_colour(k.piece, k.cell))
            << k.name;
    }
    for (const Control& k : kControls) {
        t.move(k.left + 1, k.top + 1);
        EXPECT_EQ(t.pixel(k.left + k.width - 1, k.top + k.height - 1),
                  fixture::cell_colour(k.piece, k.cell + 1))
            << k.name << " hot";
    }
    EXPECT_EQ(t.pixel(357, 156), fixture::glyph_colour('9'));
    EXPECT_EQ(t.pixel(357, 248), fixture::glyph_colour('0'));
    EXPECT_EQ(t.pixel(240, 110), fixture::glyph_colour('B'));
    EXPECT_EQ(t.pixel(240, 202), fixture::glyph_colour('S'));
    EXPECT_EQ(t.pixel(240, 294), fixture::glyph_colour('F'));
    t.move(20, 20);
    EXPECT_EQ(t.pixel(56, 32), fixture::cell_colour(6, 1)) << "back button hot";
}

// The left arrow makes the game easier, the right arrow harder; both stop at the ends.
TEST(OptionsScene, DifficultyArrowsStepTowardsEasyAndHard) {
    struct Step {
        int x;
        int difficulty;
        char first_letter;
    };
    const Step steps[] = {{335, 1, 'N'}, {335, 2, 'E'}, {335, 2, 'E'},
                          {470, 1, 'N'}, {470, 0, 'H'}, {470, 0, 'H'}};
    TestGame t;
    enter_options(t);
    for (const Step& s : steps) {
        t.click(s.x, 350);
        EXPECT_EQ(t.game->difficulty, s.difficulty);
        EXPECT_EQ(read_ini(t.dir)["mode/level"], std::to_string(s.difficulty));
        EXPECT_EQ(t.pixel(357, 340), fixture::glyph_colour(s.first_letter));
    }
}

TEST(OptionsScene, ClicksOnEdgesAndGapsDoNothing) {
    const std::pair<int, int> points[] = {
        {341, 120}, {388, 120}, {360, 110}, {360, 133},  // the BGM switch's own edges
        {360, 140}, {365, 165}, {420, 350}, {350, 165},  // between controls
        {10, 20},   {57, 20},   {30, 33},                // the back button's edges
    };
    TestGame t;
    enter_options(t);
    frontend::clear_ini(t);
    for (const auto& [x, y] : points) {
        t.click(x, y);
        EXPECT_EQ(t.game->current_scene, Options) << x << "," << y;
    }
    EXPECT_FALSE(std::filesystem::exists(t.dir / "vasul.ini"));
    EXPECT_TRUE(t.game->sound.enabled[0]);
    EXPECT_EQ(t.game->sound.level[0], 9);
    EXPECT_EQ(t.game->difficulty, 0);
}

TEST(OptionsScene, RightClickAnywhereLeavesWithoutChangingAnything) {
    for (const auto& [x, y] : {std::pair{360, 120}, std::pair{600, 450}}) {
        TestGame t;
        enter_options(t);
        t.move(x, y);
        frontend::clear_ini(t);
        t.send(platform::mouse_message(platform::kWmRButtonDown, x, y));
        EXPECT_EQ(t.game->current_scene, Title);
        EXPECT_TRUE(t.game->sound.enabled[0]);
        EXPECT_FALSE(std::filesystem::exists(t.dir / "vasul.ini"));
        EXPECT_EQ(t.pixel(5, 5), fixture::picture_pixel(0, 5, 5));
        frontend::click_title_item(t, frontend::kOptionsItem);
        EXPECT_FALSE(t.game->options.lit.any()) << "a control stayed lit from the last visit";
    }
}

// The switch only records the choice; the title music starts on the way back.
TEST(OptionsScene, MusicSwitchedOnStartsOnlyBackOnTheTitle) {
    TestGame t;
    enter_options(t, nullptr);
    auto& audio = t.platform.headless_audio();
    t.click(360, 120);
    t.passes(2);
    EXPECT_TRUE(t.game->sound.enabled[0]);
    EXPECT_EQ(audio.playing_stream(0), 0);
    t.click(20, 20);
    EXPECT_EQ(t.game->current_scene, Title);
    EXPECT_EQ(t.game->back_button_hot, 0);
    ASSERT_NE(audio.playing_stream(0), 0);
    EXPECT_EQ(audio.stream_size(audio.playing_stream(0)), 100u) << "the title track";
}

TEST(OptionsScene, RestoreReloadsThePictures) {
    TestGame t;
    enter_options(t);
    t.game->sheets.arrow_sheet.unload();
    t.game->sheets.screen_picture.unload();
    t.platform.lose_surfaces(1);
    t.pass();
    t.move(600, 450);
    EXPECT_EQ(t.pixel(5, 60), fixture::picture_pixel(11, 5, 60));
    EXPECT_EQ(t.pixel(349, 178), fixture::cell_colour(kArrowPiece, 0));
}
