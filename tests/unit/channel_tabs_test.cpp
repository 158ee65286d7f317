// The channel window's arithmetic: names, sort order, where the tabs go and
// which look a tab has.
#include "button_images.h"
#include "channel_tabs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

TEST(ChannelTabs, ThreeTabsAt400PixelsAndSixteenHighText)
{
    for (const int text_w : {80, 144}) {
        const channel_tab_geometry g = compute_channel_tabs(0, 0, 400, 100, text_w, 16, 3);
        EXPECT_EQ(g.tab_height, 20);
        EXPECT_EQ(g.avail, 379);
        EXPECT_EQ(g.tab_width, std::min(text_w + 16, 124));
        EXPECT_EQ(g.tab_pitch, g.tab_width + 2);
        EXPECT_EQ(g.paging.x, 2 + 379);
        EXPECT_EQ(g.paging.y, 2);
        EXPECT_EQ(g.paging.width, 16);
        EXPECT_EQ(g.first_tab.x, 1);
        EXPECT_EQ(g.first_tab.y, 1);
        EXPECT_EQ(g.display.y, 21);
        EXPECT_EQ(g.display.height, 100 - 21);
    }
}

TEST(ChannelTabs, CrampedWindowsStillGiveSizesOfOneAtLeast)
{
    const channel_tab_geometry none = compute_channel_tabs(10, 0, 300, 50, 100, 16, 0);
    EXPECT_EQ(none.tab_width, 116);
    const channel_tab_geometry tiny = compute_channel_tabs(0, 0, 5, 3, 100, 16, 33);
    EXPECT_EQ(tiny.avail, 1);
    EXPECT_EQ(tiny.tab_width, 1);
    EXPECT_EQ(tiny.display.width, 5);
    EXPECT_EQ(tiny.display.height, 1);
}

TEST(ChannelTabs, NamesAreCutBeforeLookupAndSortInByteOrder)
{
    const std::string long_name(60, 'g');
    EXPECT_EQ(channel_key(long_name.c_str()), long_name.substr(0, channel_name_max));
    EXPECT_EQ(channel_key((long_name + "x").c_str()), channel_key(long_name.c_str()));
    EXPECT_EQ(channel_key(nullptr), "");
    std::vector<std::string> names = {"newbie", "auction", "(all)", "Zed", "\xe9t\xe9", "42"};
    std::sort(names.begin(), names.end(), channel_sorts_before);
    EXPECT_EQ(names, (std::vector<std::string>{"(all)", "42", "Zed", "auction", "newbie", "\xe9t\xe9"}));
}

TEST(ChannelTabs, TheShownTabIsUpUnseenTextDownTheRestDisabled)
{
    EXPECT_EQ(channel_tab_state(true, true), button_up);
    EXPECT_EQ(channel_tab_state(true, false), button_up);
    EXPECT_EQ(channel_tab_state(false, true), button_down);
    EXPECT_EQ(channel_tab_state(false, false), button_disabled);
}
