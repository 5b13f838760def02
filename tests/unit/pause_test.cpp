#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/archive.h"
#include "puzzle_helpers.h"
#include "rules/board.h"
#include "scenes/game_over_scene.h"
#include "scenes/pause_scene.h"
#include "scenes/play_scene.h"
#include "support/fixture_pack.h"
#include "support/test_game.h"

namespace {

using namespace puzzle;
using namespace rules;
using namespace platform;
using namespace puzzle_test;

class PauseScene : public ::testing::Test {
  protected:
    void SetUp() override {
        t.start(3);
        g.sound.enabled = {true, true};
        app::change_scene(g, Play);
        clear_board(g);
        s.hidden_piece = 47;
        move_piece(s, 10, 100, 100);
        place(g, 0);
        t.pass();
    }
    void advance(uint32_t ms) {
        now += ms;
        t.platform.set_ticks(now);
        t.pass();
    }
    void press(uint32_t id, int x, int y) { t.send(mouse_message(id, x, y)); }
    void key_down(uint32_t vk) { t.send(key_message(kWmKeyDown, vk)); }
    bool heard(const std::string& line) {
        const auto& log = t.platform.headless_audio().log();
        return std::find(log.begin(), log.end(), line) != log.end();
    }

    TestGame t{true, 0};
    Game& g = *t.game;
    GameState& s = g.state;
    uint32_t now = 0;
};

TEST_F(PauseScene, SpaceAndTheRightButtonPauseAndResumeWithEveryPieceInPlace) {
    for (const bool space : {true, false}) {
        if (space)
            key_down(kVkSpace);
        else
            press(kWmRButtonDown, 5, 5);
        ASSERT_EQ(g.current_scene, Pause);
        EXPECT_EQ(t.pixel(300, 100), fixture::picture_pixel(16, 300, 100));
        EXPECT_EQ(t.pixel(135, 201), fixture::glyph_colour('P'));
        EXPECT_EQ(t.pixel(85, 231), fixture::glyph_colour('R'));
        EXPECT_EQ(t.pixel(11, 11), fixture::cell_colour(gfx::kBackButtonPiece, 0));
        // Auto-repeat: the next key-down resumes.
        if (space)
            key_down(kVkSpace);
        else
            press(kWmRButtonDown, 5, 5);
        ASSERT_EQ(g.current_scene, Play);
        EXPECT_EQ(t.pixel(140, 140), piece_colour(1, 10));
        EXPECT_EQ(t.pixel(40, 40), piece_colour(1, 0));
        EXPECT_TRUE(s.placed[0]);
        EXPECT_EQ(s.x[10], 100);
    }
}

TEST_F(PauseScene, EveryPausedFrameIsSilentAndTheMusicReturnsOnResume) {
    key_down(kVkSpace);
    t.platform.headless_audio().clear_log();
    t.pass();
    EXPECT_TRUE(heard("stop -3"));
    EXPECT_EQ(t.platform.headless_audio().playing_stream(0), 0);
    key_down(kVkSpace);
    t.pass();
    EXPECT_NE(t.platform.headless_audio().playing_stream(0), 0);
}

TEST_F(PauseScene, AHeldPieceKeepsFollowingThePointerAfterThePause) {
    press(kWmLButtonDown, 150, 150);
    press(kWmRButtonDown, 150, 150);
    ASSERT_EQ(g.current_scene, Pause);
    t.move(200, 200);  // seen by the pause screen only
    EXPECT_EQ(s.x[10], 100);
    press(kWmRButtonDown, 200, 200);
    t.move(250, 260);
    EXPECT_TRUE(s.dragging);
    EXPECT_EQ(s.x[10], 200);
    EXPECT_EQ(s.y[10], 210);
}

TEST_F(PauseScene, ALongPauseCostsAtMostOneSecond) {
    const int time_left = s.time_left;
    key_down(kVkSpace);
    advance(60000);
    advance(60000);
    EXPECT_EQ(s.time_left, time_left);
    key_down(kVkSpace);
    EXPECT_EQ(s.time_left, time_left - 1);
    t.pass();
    EXPECT_EQ(s.time_left, time_left - 1);
}

TEST_F(PauseScene, TheBackButtonAbandonsTheGameForTheTitleOnItsStrictInside) {
    key_down(kVkSpace);
    for (const auto& [x, y] : {std::pair{10, 20}, std::pair{30, 10}, std::pair{57, 20}}) {
        t.move(x, y);
        press(kWmLButtonDown, x, y);
        EXPECT_EQ(g.current_scene, Pause) << x << "," << y;
    }
    t.move(11, 11);
    EXPECT_EQ(t.pixel(30, 20), fixture::cell_colour(gfx::kBackButtonPiece, 1));
    t.platform.headless_audio().clear_log();
    press(kWmLButtonDown, 11, 11);
    EXPECT_EQ(g.current_scene, Title);
    EXPECT_EQ(g.back_button_hot, 0);
    EXPECT_TRUE(heard("open 100")) << "the title music";
    EXPECT_EQ(t.pixel(300, 100), fixture::picture_pixel(0, 300, 100));
}

// A hover left from an earlier pause must not turn a click elsewhere into abandoning the game.
TEST_F(PauseScene, ResumingDropsTheBackButtonHover) {
    key_down(kVkSpace);
    t.move(20, 20);
    ASSERT_EQ(g.back_button_hot, 1);
    press(kWmRButtonDown, 20, 20);
    t.move(400, 300);
    key_down(kVkSpace);
    press(kWmLButtonDown, 400, 300);
    EXPECT_EQ(g.current_scene, Pause);
}

TEST_F(PauseScene, ADisplayLostWhilePausedLeavesNothingBlankBeforeOrAfterResuming) {
    key_down(kVkSpace);
    Sheets& sh = g.sheets;
    for (gfx::SpriteSheet* sheet :
         {&sh.screen_picture, &sh.font_sheet, &sh.back_button_sheet, &sh.cursor_sheet,
          &sh.board_picture, &sh.marks_sheet, &sh.cover_sheet, &sh.stage_numbers_sheet})
        sheet->unload();
    lose_display(t);
    EXPECT_EQ(t.pixel(300, 100), fixture::picture_pixel(16, 300, 100));
    EXPECT_EQ(t.pixel(135, 201), fixture::glyph_colour('P'));
    EXPECT_EQ(t.pixel(11, 11), fixture::cell_colour(gfx::kBackButtonPiece, 0));
    EXPECT_EQ(t.pixel(320, 240), fixture::cell_colour(12, 0));
    key_down(kVkSpace);
    EXPECT_EQ(t.pixel(600, 300), fixture::picture_pixel(9, 600, 300));
    EXPECT_EQ(t.pixel(140, 140), piece_colour(1, 10));
    EXPECT_EQ(t.pixel(321, 441), fixture::cell_colour(11, 1));
    EXPECT_TRUE(g.sheets.cover_sheet.has_surface());
    EXPECT_TRUE(g.sheets.marks_sheet.has_surface());
}

TEST_F(PauseScene, EscapeQuitsFromThePause) {
    key_down(kVkSpace);
    key_down(kVkEscape);
    EXPECT_EQ(g.quit_requested, 1);
}

class GameOverScene : public ::testing::Test {
  protected:
    void SetUp() override {
        t.start(3);
        g.sound.enabled = {true, true};
        app::change_scene(g, Play);
        g.state.time_left = 1;
        t.platform.set_ticks(1001);
        t.pass();
        ASSERT_EQ(g.current_scene, GameOver);
        t.pass();
    }
    TestGame t{true, 0};
    Game& g = *t.game;
};

TEST_F(GameOverScene, ShowsThePictureTheBackButtonTheLineAndThePointer) {
    EXPECT_EQ(t.pixel(300, 100), fixture::picture_pixel(15, 300, 100));
    EXPECT_EQ(t.pixel(11, 11), fixture::cell_colour(gfx::kBackButtonPiece, 0));
    EXPECT_EQ(t.pixel(85, 231), fixture::glyph_colour('R'));
    EXPECT_EQ(t.pixel(320, 240), fixture::cell_colour(12, 0));
}

TEST_F(GameOverScene, LeftClicksReturnOnlyOnTheBackButton) {
    for (const auto& [x, y] : {std::pair{10, 20}, std::pair{30, 10}, std::pair{300, 300}}) {
        t.click(x, y);
        EXPECT_EQ(g.current_scene, GameOver) << x << "," << y;
    }
    t.click(56, 32);
    EXPECT_EQ(g.current_scene, Title);
    EXPECT_EQ(g.back_button_hot, 0);
}

TEST_F(GameOverScene, ARightClickAnywhereReturnsToTheTitleWithItsMusic) {
    t.platform.headless_audio().clear_log();
    t.right_click(400, 400);
    EXPECT_EQ(g.current_scene, Title);
    const auto& log = t.platform.headless_audio().log();
    EXPECT_NE(std::find(log.begin(), log.end(), "open 100"), log.end());
    t.pass();
    EXPECT_EQ(t.pixel(300, 100), fixture::picture_pixel(0, 300, 100));
}

}  // namespace
