#include "newbie_flash.h"

#include <gtest/gtest.h>

#include <climits>

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

TEST(NewbieFlash, ATickLongerThanAPeriodTakesOneStepOnly)
{
    int shown = 0, count = 0, elapsed = 0, period = 200;
    newbie_flash_state flash{shown, count, elapsed, period};
    start_newbie_flash(flash);
    EXPECT_TRUE(note_newbie_flash_shown(flash)); // the start shows its own step
    int changes = 0, ticks = 0;
    for (; count > 0 && ticks < 100; ++ticks)
        changes += advance_newbie_flash_one_step(flash, 1000);
    EXPECT_EQ(ticks, 16);
    EXPECT_EQ(changes, 16);

    // Shorter ticks gather their time: 150 and 150 make one step, 100 left.
    start_newbie_flash(flash);
    take_newbie_flash_step(flash, 150);
    EXPECT_EQ(count, 16);
    take_newbie_flash_step(flash, 150);
    EXPECT_EQ(count, 15);
    EXPECT_EQ(elapsed, 100);
    // A finished flash gathers nothing more.
    count = 0;
    take_newbie_flash_step(flash, INT_MAX);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(elapsed, 100);
    // Exactly one period is a whole one: 100 and 100 make a step, none left.
    start_newbie_flash(flash);
    take_newbie_flash_step(flash, 100);
    EXPECT_EQ(count, 16);
    take_newbie_flash_step(flash, 100);
    EXPECT_EQ(count, 15);
    EXPECT_EQ(elapsed, 0);
}
