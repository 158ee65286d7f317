// Where the channel window's tabs go.
#include "channel_tabs.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(ChannelTabs, ThreeTabsAt400PixelsAndSixteenHighText)
{
    for (const int text_w : {80, 144}) {
        const channel_tab_geometry g = compute_channel_tabs(0, 0, 400, 100, text_w, 16, 3);
        EXPECT_EQ(g.tab_height, 20);
        EXPECT_EQ(g.avail, 379);
        EXPECT_EQ(g.tab_width, std::min(text_w + 16, 124));
        EXPECT_EQ(g.tab_pitch, g.tab_width + 2);
        EXPECT_EQ(g.paging.x, 2 + 379);
        EXPECT_EQ(g.paging.width, 16);
        EXPECT_EQ(g.display.y, 21);
        EXPECT_EQ(g.display.height, 100 - 21);
    }
}

TEST(ChannelTabs, CrampedWindowsStillGiveSizesOfOneAtLeast)
{
    EXPECT_EQ(compute_channel_tabs(10, 0, 300, 50, 100, 16, 0).tab_width, 116);
    const channel_tab_geometry tiny = compute_channel_tabs(0, 0, 5, 3, 100, 16, 33);
    EXPECT_EQ(tiny.avail, 1);
    EXPECT_EQ(tiny.tab_width, 1);
    EXPECT_EQ(tiny.display.height, 1);
}
