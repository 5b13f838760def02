#include <gtest/gtest.h>

#include "app/shell.h"

TEST(PointInRect, AllFourEdgesAreOutside) {
    EXPECT_FALSE(app::point_in_rect(246, 150, 246, 112, 132, 39));
    EXPECT_TRUE(app::point_in_rect(247, 133, 246, 112, 132, 39));
}
