#include "app/shell.h"

#include <gtest/gtest.h>

TEST(PointInRect, AllFourEdgesAreOutside) {
    EXPECT_FALSE(app::point_in_rect(246, 150, 246, 112, 132, 39));
    EXPECT_TRUE(app::point_in_rect(247, 133, 246, 112, 132, 39));
}

#include "support/fixture_pack.h"
#include "support/test_game.h"

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
