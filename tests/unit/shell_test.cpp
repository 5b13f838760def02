#include "app/shell.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>

#include "support/fixture_pack.h"
#include "support/test_game.h"

using namespace platform;

TEST(PointInRect, AllFourEdgesAreOutside) {
    constexpr gfx::Rect item = app::hit_area(246, 132, 112, 39);
    EXPECT_FALSE(app::point_in_rect(246, 150, item));
    EXPECT_TRUE(app::point_in_rect(247, 133, item));
    EXPECT_FALSE(app::point_in_rect(358, 133, item));
    EXPECT_TRUE(app::point_in_rect(357, 170, item));
    EXPECT_FALSE(app::point_in_rect(300, 171, item));
    EXPECT_FALSE(app::on_back_button(10, 20));
    EXPECT_FALSE(app::on_back_button(57, 20));
    EXPECT_TRUE(app::on_back_button(56, 32));
}

TEST(PointInRect, TheFirstAreaHoldingThePointWins) {
    constexpr std::array<gfx::Rect, 3> areas = {
        {app::hit_area(0, 0, 10, 10), app::hit_area(5, 5, 10, 10), app::hit_area(0, 0, 20, 20)}};
    EXPECT_EQ(app::rect_at(areas, 7, 7), 0);
    EXPECT_EQ(app::rect_at(areas, 12, 12), 1);
    EXPECT_EQ(app::rect_at(areas, 10, 17), 2) << "the right edge of the first is outside it";
    EXPECT_EQ(app::rect_at(areas, 20, 5), -1);
}

TEST(StartUp, ShowsTheTitleWithThePointerAtTheCentre) {
    TestGame t;
    t.start();
    t.pass();
    EXPECT_EQ(t.game->current_scene, Title);
    EXPECT_EQ(t.pixel(5, 5), fixture::picture_pixel(0, 5, 5));
    EXPECT_EQ(t.pixel(320, 240), fixture::cell_colour(12, 0));
    EXPECT_EQ(t.pixel(326, 240), fixture::picture_pixel(0, 326, 240));
    EXPECT_TRUE(t.platform.cursor_hidden());
}

TEST(StartUp, TheSettingsApplyAndTheDifficultyKeepsItsLevelForTheRunOnly) {
    TestGame t;
    const std::string ini =
        "[cg]\nfps=3\n[music]\nbgmon=1\nbgm=4\n[mode]\nlevel=7\n[sound]\nloop=1\n";
    std::ofstream(t.dir / "vasul.ini", std::ios::binary) << ini;
    t.game->profile.poll();
    t.start();
    EXPECT_TRUE(t.game->show_fps);
    EXPECT_TRUE(t.game->sound.enabled[0]);
    EXPECT_EQ(t.game->sound.level[0], 4);
    EXPECT_TRUE(t.game->music_test.loop);
    EXPECT_EQ(t.game->difficulty, 2);
    EXPECT_EQ(fixture::file_text(t.dir / "vasul.ini"), ini);
}

TEST(MainLoop, TakesOneMessagePerPass) {
    TestGame t;
    t.start();
    t.post(mouse_message(kWmMouseMove, 10, 20));
    t.post(mouse_message(kWmMouseMove, 30, 40));
    t.post(mouse_message(kWmMouseMove, 50, 60));
    t.pass();
    EXPECT_EQ(t.game->mouse_x, 10);
    EXPECT_EQ(t.platform.flips(), 1);
    t.passes(2);
    EXPECT_EQ(t.game->mouse_x, 50);
    EXPECT_EQ(t.game->mouse_y, 60);
    EXPECT_EQ(t.pixel(50, 60), fixture::cell_colour(12, 0)) << "pointer drawn at the last move";
}

TEST(MainLoop, EscapeQuitsAndNoFrameFollows) {
    TestGame t;
    t.start();
    t.pass();
    const int flips = t.platform.flips();
    t.send(key_message(kWmKeyDown, kVkEscape));
    EXPECT_EQ(t.game->quit_requested, 1);
    EXPECT_TRUE(t.platform.window_destroyed());
    EXPECT_FALSE(t.game->sheets.screen_picture.has_surface());
    EXPECT_EQ(t.platform.flips(), flips);
    EXPECT_FALSE(t.pass()) << "the quit message ends the loop";
    EXPECT_TRUE(t.ended());
}

TEST(MainLoop, CloseRequestDestroysTheWindowAndEndsTheLoop) {
    TestGame t;
    t.start();
    t.send({kWmClose, 0, 0});
    EXPECT_TRUE(t.platform.window_destroyed());
    EXPECT_FALSE(t.pass());
}

TEST(LostSurfaces, RestoreRunsEveryPassUntilAFlipSucceeds) {
    TestGame t;
    t.start();
    t.pass();
    t.platform.lose_surfaces(3);
    t.pass();  // draws, then the flip reports the loss
    EXPECT_TRUE(t.game->surfaces_lost);
    EXPECT_EQ(t.platform.restores(), 1);
    t.game->back_buffer().fill(0x42);
    t.post(mouse_message(kWmMouseMove, 100, 100));
    t.pass();  // no update, no handler: only default processing
    EXPECT_EQ(t.platform.restores(), 2);
    EXPECT_EQ(t.pixel(5, 5), 0x42u);
    EXPECT_EQ(t.game->mouse_x, 320) << "a message while lost never reaches the scene";
    t.pass();
    EXPECT_EQ(t.platform.restores(), 3);
    t.pass();  // this flip succeeds
    EXPECT_FALSE(t.game->surfaces_lost);
    EXPECT_EQ(t.platform.restores(), 3);
    t.pass();
    EXPECT_EQ(t.pixel(5, 5), fixture::picture_pixel(0, 5, 5)) << "the restored picture shows";
}

TEST(LostSurfaces, WindowDestructionStillEndsTheLoop) {
    TestGame t;
    t.start();
    t.pass();
    t.platform.lose_surfaces(1000);
    t.pass();
    ASSERT_TRUE(t.game->surfaces_lost);
    t.send({kWmClose, 0, 0});
    EXPECT_TRUE(t.platform.window_destroyed());
    EXPECT_FALSE(t.pass());
}
