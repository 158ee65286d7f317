// Mouse selection, copying, wheel scrolling and URL clicks of the scrollback
// store, driven through its mouse entry with fixed 10-pixel glyphs.
#include "fake_textctrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using event = textctrl_mouse_event;
using calls_t = std::vector<std::string>;

// The middle of a character on screen (bottom-anchored store, 15-pixel
// lines, 10-pixel glyphs).
struct point {
    int x;
    int y;
};

point at(const fake_textctrl &store, int line, int offset)
{
    const int band_top = 150 - 15 + (line - store.get_bottom_line()) * 15;
    return {offset * 10 + 5, band_top + 5};
}

textctrl_capture press(fake_textctrl &store, point where)
{
    return store.handle_mouse({event::left_press, where.x, where.y});
}

void move(fake_textctrl &store, point where)
{
    store.handle_mouse({event::motion, where.x, where.y, true});
}

textctrl_capture release(fake_textctrl &store, point where)
{
    return store.handle_mouse({event::left_release, where.x, where.y});
}

std::string drag(fake_textctrl &store, point from, point to)
{
    press(store, from);
    move(store, to);
    release(store, to);
    return store.clipboard.empty() ? "" : store.clipboard.back();
}

// "aaaa " wrapped, "bbbbbbbbb" and "cc" ended by newlines, an empty last line.
void fill_wrapped_text(fake_textctrl &store)
{
    store.append("aaaa bbbbbbbbb\n");
    store.append("cc\n");
}

event wheel(int rotation, int delta = 120)
{
    event turned{event::wheel};
    turned.wheel_rotation = rotation;
    turned.wheel_delta = delta;
    return turned;
}
}

TEST(TextctrlSelection, CopyJoinsWrappedLinesAndKeepsNewlinesThatEndedLines)
{
    fake_textctrl store;
    fill_wrapped_text(store);
    EXPECT_EQ(drag(store, at(store, 0, 2), at(store, 1, 3)), "aa bbbb");
    EXPECT_EQ(drag(store, at(store, 1, 5), at(store, 2, 1)), "bbbb\ncc");
    EXPECT_EQ(drag(store, at(store, 2, 1), at(store, 0, 0)), "aaaa bbbbbbbbb\ncc");
    EXPECT_EQ(drag(store, at(store, 1, 4), at(store, 1, 2)), "bbb");
    EXPECT_EQ(drag(store, at(store, 2, 0), at(store, 2, 50)), "cc");
}

TEST(TextctrlSelection, SelectionWithAMissingLineCopiesNothing)
{
    fake_textctrl store;
    fill_wrapped_text(store);
    store.sel_start_line = 1;
    store.sel_end_line = 100;
    store.copy_selection_to_clipboard();
    EXPECT_TRUE(store.clipboard.empty());
}

TEST(TextctrlSelection, DragTakesAndReleasesTheCaptureAndCopiesOnlyChanges)
{
    fake_textctrl store;
    fill_wrapped_text(store);
    EXPECT_EQ(press(store, at(store, 1, 2)), textctrl_capture::take);
    EXPECT_TRUE(store.get_dragging());
    EXPECT_FALSE(store.has_mouse_selection());

    move(store, at(store, 1, 2));
    EXPECT_FALSE(store.has_mouse_selection());
    EXPECT_TRUE(store.scroll_owner.calls.empty());

    move(store, at(store, 1, 4));
    move(store, at(store, 1, 4));
    EXPECT_TRUE(store.has_mouse_selection());
    EXPECT_EQ(store.clipboard, (calls_t{"bbb"}));
    EXPECT_EQ(store.scroll_owner.calls, (calls_t{"disable", "disable"}));

    EXPECT_EQ(release(store, at(store, 1, 4)), textctrl_capture::release);
    EXPECT_FALSE(store.get_dragging());
    EXPECT_EQ(store.clipboard.size(), 1u);
    EXPECT_EQ(release(store, at(store, 1, 4)), textctrl_capture::keep);
}

TEST(TextctrlSelection, CursorBackOnTheAnchorSelectsThatOneCharacter)
{
    fake_textctrl store;
    fill_wrapped_text(store);
    press(store, at(store, 0, 1));
    move(store, at(store, 0, 3));
    move(store, at(store, 0, 1));
    EXPECT_EQ(store.clipboard, (calls_t{"aaa", "a"}));
    EXPECT_EQ(store.sel_start_offset, 1);
    EXPECT_EQ(store.sel_end_offset, 1);
}

TEST(TextctrlSelection, ClickWithoutMovingSelectsNothing)
{
    fake_textctrl store;
    fill_wrapped_text(store);
    press(store, at(store, 1, 2));
    release(store, at(store, 1, 2));
    EXPECT_FALSE(store.has_mouse_selection());
    EXPECT_TRUE(store.clipboard.empty());
}

TEST(TextctrlSelection, MotionWithoutAButtonOrADragIsIgnored)
{
    fake_textctrl store;
    fill_wrapped_text(store);
    const point somewhere = at(store, 1, 3);
    store.handle_mouse({event::motion, somewhere.x, somewhere.y, false});
    store.handle_mouse({event::motion, somewhere.x, somewhere.y, true});
    EXPECT_FALSE(store.has_mouse_selection());
    EXPECT_TRUE(store.clipboard.empty());
}

TEST(TextctrlSelection, PointLeftOfTheWindowMeansTheEndOfTheLineAbove)
{
    fake_textctrl store;
    fill_wrapped_text(store);
    press(store, at(store, 1, 2));
    release(store, {-5, at(store, 2, 0).y});
    EXPECT_EQ(store.clipboard, (calls_t{"bbbbbbb"}));
}

TEST(TextctrlSelection, LostCaptureEndsTheDragAndTheSelection)
{
    fake_textctrl store;
    fill_wrapped_text(store);
    press(store, at(store, 0, 0));
    move(store, at(store, 0, 2));
    store.mouse_capture_lost();
    EXPECT_FALSE(store.has_mouse_selection());
    EXPECT_FALSE(store.get_dragging());
    EXPECT_EQ(store.clipboard, (calls_t{"aaa", "aaa"}));
    move(store, at(store, 1, 2));
    EXPECT_FALSE(store.has_mouse_selection());
}

TEST(TextctrlSelection, RewrapClearAndClearSelectionDropTheSelection)
{
    fake_textctrl store;
    fill_wrapped_text(store);
    drag(store, at(store, 0, 0), at(store, 1, 1));
    ASSERT_TRUE(store.has_mouse_selection());
    store.set_view_size(60, 150);
    EXPECT_FALSE(store.has_mouse_selection());

    drag(store, at(store, 0, 0), at(store, 1, 1));
    ASSERT_TRUE(store.has_mouse_selection());
    store.Clear();
    EXPECT_FALSE(store.has_mouse_selection());

    store.sel_end_line = 5;
    const int refreshes = store.refreshes;
    store.clear_mouse_selection();
    EXPECT_EQ(store.sel_end_line, 0);
    EXPECT_GT(store.refreshes, refreshes);
}

TEST(TextctrlMouse, RightOrMiddlePressFollowsNewTextAgain)
{
    fake_textctrl store;
    store.handle_mouse({event::other_press, 10, 10});
    EXPECT_EQ(store.scroll_owner.calls, (calls_t{"enable"}));
}

TEST(TextctrlMouse, WheelScrollsThreeLinesPerFullNotch)
{
    fake_textctrl store;
    store.handle_mouse(wheel(120));
    store.handle_mouse(wheel(-120));
    EXPECT_EQ(store.scroll_owner.calls, (calls_t{"disable", "up 3", "disable", "down 3"}));

    store.scroll_owner.calls.clear();
    store.handle_mouse(wheel(40));
    store.handle_mouse(wheel(40));
    EXPECT_TRUE(store.scroll_owner.calls.empty());
    store.handle_mouse(wheel(40));
    EXPECT_EQ(store.scroll_owner.calls, (calls_t{"disable", "up 3"}));

    store.scroll_owner.calls.clear();
    store.handle_mouse(wheel(0));
    store.handle_mouse(wheel(-360));
    store.handle_mouse(wheel(5, 0));
    store.handle_mouse(wheel(2000000000));
    EXPECT_EQ(store.scroll_owner.calls, (calls_t{"disable", "down 9", "disable", "up 3000"}));
}

class TextctrlUrl : public testing::Test {
protected:
    TextctrlUrl() : store(1000) { store.append("see http://example.com/x. ok\n"); }

    point on_url() const { return at(store, 0, 10); }

    fake_textctrl store;
};

TEST_F(TextctrlUrl, ClickOpensTheUrlOnceAndSelectsExactlyIt)
{
    EXPECT_EQ(press(store, on_url()), textctrl_capture::keep);
    EXPECT_EQ(store.scroll_owner.urls, (calls_t{"http://example.com/x"}));
    EXPECT_EQ(store.clipboard, (calls_t{"http://example.com/x"}));
    EXPECT_TRUE(store.has_mouse_selection());
    EXPECT_EQ(store.sel_start_offset, 4);
    EXPECT_EQ(store.sel_end_offset, 23);

    move(store, at(store, 0, 0));
    press(store, on_url());
    EXPECT_EQ(store.sel_start_offset, 4);
    EXPECT_EQ(store.scroll_owner.urls.size(), 1u);
    EXPECT_TRUE(store.get_ignore_until_release());

    release(store, on_url());
    EXPECT_FALSE(store.get_ignore_until_release());
    store.handle_mouse({event::left_double_click, on_url().x, on_url().y});
    EXPECT_EQ(store.scroll_owner.urls.size(), 1u);
    EXPECT_EQ(store.clipboard.back(), "http://example.com/x");
    EXPECT_FALSE(store.get_dragging());
}

TEST_F(TextctrlUrl, ClickBesideAUrlOrWithHotlinkingOffStartsADrag)
{
    EXPECT_EQ(press(store, at(store, 0, 26)), textctrl_capture::take);
    release(store, at(store, 0, 26));
    store.hotlinking = 0;
    EXPECT_EQ(press(store, on_url()), textctrl_capture::take);
    EXPECT_TRUE(store.scroll_owner.urls.empty());
}

TEST(TextctrlUrlWithoutOwner, ClickStartsADragWhenNoWindowCanOpenIt)
{
    fake_textctrl store(1000);
    store.owner = nullptr;
    store.append("http://example.com/\n");
    EXPECT_EQ(press(store, at(store, 0, 3)), textctrl_capture::take);
}
