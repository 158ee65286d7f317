#include "newbie_flash.h"

#include <gtest/gtest.h>

TEST(NewbieFlash, SixteenStepsOfTwoHundredMilliseconds)
{
    int shown = 5, count = 0, elapsed = 77, period = 200;
    newbie_flash_state flash{shown, count, elapsed, period};
    start_newbie_flash(flash);
    EXPECT_EQ(count, 16);
    EXPECT_EQ(elapsed, 0);
    // The first call shows the starting step.
    EXPECT_TRUE(advance_newbie_flash(flash, 20));
    EXPECT_EQ(shown, 16);
    int changes = 0;
    for (int tick = 0; tick < 9; ++tick)
        changes += advance_newbie_flash(flash, 20);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(count, 15);
    for (int tick = 0; tick < 200 && count > 0; ++tick)
        changes += advance_newbie_flash(flash, 20);
    EXPECT_EQ(changes, 16);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(advance_newbie_flash(flash, 20));
    // A long stall counts whole periods only, and never below zero.
    start_newbie_flash(flash);
    EXPECT_TRUE(advance_newbie_flash(flash, 650));
    EXPECT_EQ(count, 13);
    EXPECT_EQ(elapsed, 50);
    EXPECT_TRUE(advance_newbie_flash(flash, 100000));
    EXPECT_EQ(count, 0);
}
