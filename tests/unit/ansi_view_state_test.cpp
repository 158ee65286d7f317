#include "ansi_display_layout.h"
#include "ansi_view_state.h"
#include "wheel_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
// A scrollback of `last` + 1 lines with `visible` lines on screen, keeping the
// line it shows as the store does (bottom line, or top line when anchored).
class fake_view : public ansi_view_state {
public:
    int visible = 10;
    int last = 100;
    bool anchored = false;
    bool hold = false;
    int shown = 0;
    int scrollbar_updates = 0;
    int refreshes = 0;
    int status_repaints = 0;

protected:
    void open_url(const char *) override {}
    int visible_line_count() override { return visible; }
    int last_line() override { return last; }
    bool top_anchored() override { return anchored; }
    void set_hold_view(bool h) override { hold = h; }
    void show_line(int line) override
    {
        shown = std::clamp(line, 0, anchored ? last : last + visible);
    }
    int show_scroll_position(int position) override
    {
        int line = anchored ? position : position + visible;
        show_line(line);
        return line;
    }
    void update_scrollbar() override { ++scrollbar_updates; }
    void refresh_view() override { ++refreshes; }
    void following_changed() override { ++status_repaints; }
};
}

TEST(AnsiViewState, FreezeAndFollow)
{
    fake_view v;
    v.disable_scrolling();
    EXPECT_EQ(v.following, 0);
    EXPECT_TRUE(v.hold);
    EXPECT_EQ(v.view_line, 100);
    EXPECT_EQ(v.status_repaints, 1);
    v.disable_scrolling();
    EXPECT_EQ(v.status_repaints, 1);

    v.last = 150;
    v.enable_scrolling();
    EXPECT_EQ(v.following, 1);
    EXPECT_FALSE(v.hold);
    EXPECT_EQ(v.view_line, 150);
    EXPECT_EQ(v.shown, 150);
    EXPECT_EQ(v.status_repaints, 2);
    v.enable_scrolling();
    EXPECT_EQ(v.status_repaints, 2);
}

TEST(AnsiViewState, HalfPageScrolling)
{
    fake_view v;
    v.visible = 40;
    v.last = 500;
    v.scroll_to_bottom();
    v.disable_scrolling();
    v.scroll_up();
    EXPECT_EQ(v.view_line, 480);
    EXPECT_EQ(v.shown, 480);
    v.scroll_up(3);
    EXPECT_EQ(v.view_line, 477);
    v.scroll_up(1000);
    EXPECT_EQ(v.view_line, 457);
    v.scroll_down(0);
    EXPECT_EQ(v.view_line, 458);
    v.scroll_amount(-100000);
    EXPECT_EQ(v.view_line, 39);
    v.scroll_up();
    EXPECT_EQ(v.view_line, 39);
    EXPECT_EQ(v.following, 0);
    // Reaching the end follows new text again.
    v.scroll_amount(461);
    EXPECT_EQ(v.following, 1);
    EXPECT_EQ(v.view_line, 500);
    EXPECT_FALSE(v.hold);

    fake_view tiny;
    tiny.visible = 1;
    tiny.disable_scrolling();
    tiny.scroll_up();
    EXPECT_EQ(tiny.view_line, 99);
}

TEST(AnsiViewState, HugeDeltasDoNotOverflow)
{
    fake_view v;
    v.disable_scrolling();
    v.view_line = 2147483600;
    v.scroll_amount(2147483647);
    EXPECT_EQ(v.view_line, 100);
    v.scroll_amount(-2147483647);
    v.scroll_amount(-2147483647);
    EXPECT_EQ(v.view_line, 9);
}

TEST(AnsiViewState, NeverFreezeOnlyRefreshes)
{
    fake_view v;
    v.never_freeze = 1;
    v.disable_scrolling();
    EXPECT_EQ(v.following, 1);
    EXPECT_FALSE(v.hold);
    EXPECT_EQ(v.refreshes, 1);
    EXPECT_EQ(v.status_repaints, 1);
    v.scroll_thumb_moved(10);
    EXPECT_EQ(v.following, 1);
    EXPECT_FALSE(v.hold);
    EXPECT_EQ(v.shown, 20);
}

TEST(AnsiViewState, ThumbMoves)
{
    fake_view v;
    v.scroll_thumb_moved(50);
    EXPECT_EQ(v.following, 0);
    EXPECT_TRUE(v.hold);
    EXPECT_EQ(v.view_line, 60);
    EXPECT_EQ(v.status_repaints, 1);
    v.scroll_thumb_moved(90);
    EXPECT_EQ(v.following, 1);
    EXPECT_EQ(v.view_line, 100);

    // Less text than the window holds: the view follows.
    fake_view short_text;
    short_text.last = 5;
    short_text.disable_scrolling();
    short_text.scroll_thumb_moved(0);
    EXPECT_EQ(short_text.following, 1);
}

TEST(AnsiViewState, TopAnchoredPopup)
{
    fake_view v;
    v.anchored = true;
    v.never_freeze = 1;
    v.last = 25;
    v.scroll_to_bottom();
    EXPECT_EQ(v.view_line, 16);
    EXPECT_EQ(v.shown, 16);
    v.scroll_up();
    EXPECT_EQ(v.view_line, 11);
    v.scroll_amount(-30);
    EXPECT_EQ(v.view_line, 0);
    v.scroll_amount(30);
    EXPECT_EQ(v.view_line, 16);
    EXPECT_EQ(v.following, 1);

    v.last = 3;
    v.scroll_to_bottom();
    EXPECT_EQ(v.view_line, -6);
    EXPECT_EQ(v.shown, 0);
    v.scroll_amount(-5);
    EXPECT_EQ(v.view_line, -6);
}

TEST(AnsiViewState, SetScrollPositionKeepsFollowingState)
{
    fake_view v;
    v.disable_and_set_scroll_position(30);
    EXPECT_EQ(v.view_line, 40);
    EXPECT_EQ(v.following, 1);
    v.disable_scrolling();
    v.disable_and_set_scroll_position(95);
    EXPECT_EQ(v.following, 0);
    EXPECT_EQ(v.shown, 105);
}

TEST(WheelAccumulator, SmallStepsAddUp)
{
    wheel_accumulator wheel;
    EXPECT_EQ(wheel.add(120, 120), 1);
    EXPECT_EQ(wheel.add(-240, 120), -2);
    EXPECT_EQ(wheel.add(40, 120), 0);
    EXPECT_EQ(wheel.add(40, 120), 0);
    EXPECT_EQ(wheel.add(40, 120), 1);
    EXPECT_EQ(wheel.add(-60, 120), 0);
    EXPECT_EQ(wheel.add(-60, 120), -1);
    EXPECT_EQ(wheel.add(120, 0), 1);
    EXPECT_EQ(wheel.total(), 0);
    EXPECT_EQ(wheel.add(2147483647, 120), wheel_accumulator::most_steps);
    EXPECT_EQ(wheel.add(-2147483647, 120), -wheel_accumulator::most_steps);
}

TEST(AnsiDisplayLayout, WithAndWithoutFrame)
{
    ansi_display_layout popup = layout_ansi_display(200, 150, 16, 46, true, false);
    EXPECT_EQ(popup.store.x, 0);
    EXPECT_EQ(popup.store.y, 0);
    EXPECT_EQ(popup.store.width, 184);
    EXPECT_EQ(popup.store.height, 150);
    EXPECT_EQ(popup.scrollbar.x, 184);
    EXPECT_EQ(popup.scrollbar.width, 16);
    EXPECT_EQ(popup.scrollbar.height, 150);

    ansi_display_layout framed = layout_ansi_display(200, 150, 16, 46, true, true);
    EXPECT_EQ(framed.store.x, 2);
    EXPECT_EQ(framed.store.y, 2);
    EXPECT_EQ(framed.store.width, 180);
    EXPECT_EQ(framed.store.height, 146);

    ansi_display_layout hidden_bar = layout_ansi_display(200, 150, 16, 46, false, true);
    EXPECT_EQ(hidden_bar.store.width, 196);

    ansi_display_layout tiny = layout_ansi_display(3, 0, 0, 0, true, true);
    EXPECT_EQ(tiny.store.width, 1);
    EXPECT_EQ(tiny.store.height, 1);
    EXPECT_EQ(tiny.scrollbar.width, 1);
    EXPECT_EQ(tiny.scrollbar.height, 1);

    // A display lower than the scrollbar's minimum: the scrollbar keeps its
    // minimum, the scrollback the display's height.
    ansi_display_layout low = layout_ansi_display(200, 20, 16, 46, true, false);
    EXPECT_EQ(low.scrollbar.height, 46);
    EXPECT_EQ(low.store.height, 20);
}

TEST(AnsiDisplayLayout, FrameColours)
{
    frame_colors normal = ansi_frame_colors(true, false, 0);
    EXPECT_EQ(normal.outer, vusk_WHITE);
    EXPECT_EQ(normal.inner, vusk_GREY);
    frame_colors frozen = ansi_frame_colors(false, false, 0);
    EXPECT_EQ(frozen.outer, vusk_color(255, 0, 0));
    EXPECT_EQ(frozen.inner, vusk_color(192, 0, 0));
    EXPECT_EQ(ansi_frame_colors(false, true, 5).inner, vusk_WHITE);
    EXPECT_EQ(ansi_frame_colors(true, true, 4).outer, vusk_BLACK);
}
