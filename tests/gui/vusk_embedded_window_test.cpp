#include "gui_harness.h"
#include "gui_test_window.h"

#include <gtest/gtest.h>

#include <memory>

using gui::test_frame;
using gui::test_window;

namespace {
const wxSize WINDOW_SIZE(60, 40);

// A shown frame holding one drawn window at (10, 10). Windows are destroyed
// with the frame.
class DrawnWindow : public testing::Test {
protected:
    void SetUp() override
    {
        frame = new test_frame();
        window = new test_window(frame->area, wxPoint(10, 10), WINDOW_SIZE);
        ASSERT_TRUE(gui::show_and_wait(frame));
    }

    void TearDown() override { EXPECT_TRUE(gui::destroy_and_wait(frame)); }

    test_window *add_window()
    {
        return new test_window(frame->area, wxPoint(100, 10), wxSize(20, 20));
    }

    // Whether the screen shows the quadrant pattern of a window's bitmap, in
    // its colours exactly (opaque, channels in their places).
    static bool shows_quadrants(wxWindow *w)
    {
        const wxImage shot = gui::capture_window(w);
        const int width = shot.GetWidth(), height = shot.GetHeight();
        return gui::pixel_of(shot, 0, 0) == vusk_BLACK &&
               gui::pixel_of(shot, width / 4, height / 4) == gui::QUADRANT_COLOURS[0] &&
               gui::pixel_of(shot, 3 * width / 4, height / 4) == gui::QUADRANT_COLOURS[1] &&
               gui::pixel_of(shot, width / 4, 3 * height / 4) == gui::QUADRANT_COLOURS[2] &&
               gui::pixel_of(shot, 3 * width / 4, 3 * height / 4) == gui::QUADRANT_COLOURS[3];
    }

    test_frame *frame = nullptr;
    test_window *window = nullptr;
};
}

TEST_F(DrawnWindow, RepaintPutsTheBitmapOnTheScreenOpaqueAndInChannelOrder)
{
    window->repaint();
    EXPECT_TRUE(gui::wait_until([&] { return shows_quadrants(window); }));
    const wxImage shot = gui::capture_window(window);
    EXPECT_EQ(shot.GetWidth(), WINDOW_SIZE.x);
    EXPECT_EQ(gui::pixel_of(shot, WINDOW_SIZE.x - 1, WINDOW_SIZE.y - 1), vusk_BLACK);
}

TEST_F(DrawnWindow, PaintEventsRepaintThroughTheSubclass)
{
    const int before = window->repaints;
    window->Refresh();
    EXPECT_TRUE(gui::wait_until([&] { return window->repaints > before; }));
    EXPECT_TRUE(gui::wait_until([&] { return shows_quadrants(window); }));
}

TEST_F(DrawnWindow, HiddenWindowNeverPaints)
{
    test_window *hidden = new test_window(frame->area, wxPoint(100, 60), wxSize(40, 40));
    hidden->Hide();
    hidden->repaint();
    hidden->Refresh();
    EXPECT_TRUE(gui::refresh_and_wait(frame->area));
    EXPECT_EQ(hidden->repaints, 0);
    const wxImage shot = gui::capture_window(frame->area);
    EXPECT_EQ(gui::pixel_of(shot, 120, 80), test_frame::BACKGROUND);

    hidden->Show();
    hidden->repaint();
    EXPECT_TRUE(gui::wait_until([&] { return shows_quadrants(hidden); }));
}

TEST_F(DrawnWindow, ZeroSizeGivesOnePixelBitmap)
{
    test_window *empty = new test_window(frame->area, wxPoint(0, 0), wxSize(0, 0));
    EXPECT_EQ(empty->backing_bitmap().GetWidth(), 1);
    EXPECT_EQ(empty->backing_bitmap().GetHeight(), 1);
    test_window *defaulted = new test_window(frame->area, wxPoint(0, 0), wxDefaultSize);
    EXPECT_EQ(defaulted->backing_bitmap().GetWidth(), 1);
}

TEST_F(DrawnWindow, SetSizeToTheSameSizeKeepsTheBitmap)
{
    const vusk_bitmap *before = &window->backing_bitmap();
    window->SetSize(WINDOW_SIZE.x, WINDOW_SIZE.y);
    EXPECT_EQ(&window->backing_bitmap(), before);
    window->SetSize(10, 10, WINDOW_SIZE.x, WINDOW_SIZE.y);
    EXPECT_EQ(&window->backing_bitmap(), before);
    EXPECT_EQ(window->resizes, (std::vector<int>{0, 0}));
}

TEST_F(DrawnWindow, SetSizeToANewSizeMakesABitmapOfThatSize)
{
    window->SetSize(5, 6, 30, 25);
    EXPECT_EQ(window->resizes, std::vector<int>{1});
    EXPECT_EQ(window->GetSize(), wxSize(30, 25));
    EXPECT_EQ(window->GetPosition(), wxPoint(5, 6));
    EXPECT_EQ(window->backing_bitmap().GetWidth(), 30);
    EXPECT_EQ(window->backing_bitmap().GetHeight(), 25);

    window->SetSize(44, 33);
    EXPECT_EQ(window->GetPosition(), wxPoint(5, 6));
    EXPECT_EQ(window->GetSize(), wxSize(44, 33));
    EXPECT_EQ(window->backing_bitmap().GetWidth(), 44);
    window->repaint();
    EXPECT_TRUE(gui::wait_until([&] { return shows_quadrants(window); }));
}

TEST_F(DrawnWindow, SetSizeBelowOnePixelGivesOnePixel)
{
    window->SetSize(0, 0);
    EXPECT_EQ(window->backing_bitmap().GetWidth(), 1);
    EXPECT_EQ(window->backing_bitmap().GetHeight(), 1);
    EXPECT_EQ(window->GetSize(), wxSize(1, 1));
    window->SetSize(3, 3, -5, -7);
    EXPECT_EQ(window->GetSize(), wxSize(1, 1));
    EXPECT_EQ(window->resizes, (std::vector<int>{1, 0}));
    window->repaint();
}

TEST_F(DrawnWindow, ResetSizeAsksForAFullRelayout)
{
    window->ResetSize();
    EXPECT_EQ(window->resizes, std::vector<int>{1});
}

TEST_F(DrawnWindow, BaseCallbackEndsTheAnimation)
{
    struct plain : vusk_embedded_window {
        explicit plain(wxWindow *parent)
            : vusk_embedded_window(parent, wxID_ANY, wxS("plain"), wxDefaultPosition, wxSize(5, 5), 0)
        {
        }
        void resize(int) override {}
        void repaint_dc(vusk_bitmap &) override {}
    };
    plain *w = new plain(frame->area);
    w->start_animation();
    vusk_embedded_window::animation_update(20);
    EXPECT_FALSE(w->is_animating());
}

TEST_F(DrawnWindow, AnimationCallbackGetsTheElapsedTimeUntilItReturnsZero)
{
    window->on_animation = [](test_window &w) { return w.animation_calls < 3 ? 1 : 0; };
    window->start_animation();
    for (int i = 0; i < 5; ++i)
        vusk_embedded_window::animation_update(20);
    EXPECT_EQ(window->animation_calls, 3);
    EXPECT_EQ(window->last_elapsed, 20);
    EXPECT_FALSE(window->is_animating());
}

TEST_F(DrawnWindow, StartingTwiceLeavesOneEntry)
{
    test_window *other = add_window();
    window->start_animation();
    other->start_animation();
    window->start_animation(); // the last in the list: its link is null
    other->start_animation();
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(window->animation_calls, 1);
    EXPECT_EQ(other->animation_calls, 1);
    window->stop_animation();
    other->stop_animation();
    window->stop_animation();
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(window->animation_calls, 1);
}

TEST_F(DrawnWindow, ReturningZeroOnTheFirstCallMeansOneCall)
{
    window->on_animation = [](test_window &) { return 0; };
    window->start_animation();
    vusk_embedded_window::animation_update(20);
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(window->animation_calls, 1);
}

TEST_F(DrawnWindow, WindowStoppingItselfLetsTheWalkGoOn)
{
    test_window *after = add_window();
    after->start_animation();
    window->start_animation(); // called first, `after` follows it
    window->on_animation = [](test_window &w) {
        w.stop_animation();
        return 1;
    };
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(window->animation_calls, 1);
    EXPECT_EQ(after->animation_calls, 1);
    EXPECT_FALSE(window->is_animating());
    EXPECT_TRUE(after->is_animating());
}

TEST_F(DrawnWindow, CallbackStoppingTheNextWindowSkipsIt)
{
    test_window *last = add_window();
    test_window *middle = add_window();
    last->start_animation();
    middle->start_animation();
    window->start_animation();
    window->on_animation = [&](test_window &) {
        middle->stop_animation();
        return 1;
    };
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(middle->animation_calls, 0);
    EXPECT_EQ(last->animation_calls, 1);
}

TEST_F(DrawnWindow, WindowsStartedDuringAWalkAreCalledFromTheNextOne)
{
    test_window *started = add_window();
    window->start_animation();
    window->on_animation = [&](test_window &) {
        started->start_animation();
        return 1;
    };
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(started->animation_calls, 0);
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(started->animation_calls, 1);
}

TEST_F(DrawnWindow, RestartingTheCurrentWindowMakesNoCycle)
{
    test_window *other = add_window();
    other->start_animation();
    window->start_animation();
    window->on_animation = [](test_window &w) {
        w.stop_animation();
        w.start_animation();
        return 1;
    };
    other->on_animation = [&](test_window &) {
        window->start_animation();
        return 1;
    };
    vusk_embedded_window::animation_update(20);
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(window->animation_calls, 2);
    EXPECT_EQ(other->animation_calls, 2);
}

TEST_F(DrawnWindow, DestroyedWindowLeavesTheList)
{
    test_window *doomed = add_window();
    window->start_animation();
    doomed->start_animation();
    window->start_animation();
    delete doomed;
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(window->animation_calls, 1);
}

TEST_F(DrawnWindow, CallbackMayDestroyTheNextWindowOrItself)
{
    test_window *next = add_window();
    test_window *self_destroying = add_window();
    next->start_animation();
    window->start_animation();
    self_destroying->start_animation();
    self_destroying->on_animation = [](test_window &w) {
        delete &w;
        return 0;
    };
    window->on_animation = [&](test_window &) {
        delete next;
        next = nullptr;
        return 1;
    };
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(window->animation_calls, 1);
    EXPECT_EQ(next, nullptr);
    window->on_animation = [](test_window &) { return 1; };
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(window->animation_calls, 2);
}

TEST_F(DrawnWindow, WalkStartedFromACallbackDoesNothing)
{
    window->start_animation();
    window->on_animation = [](test_window &w) {
        if (w.animation_calls == 1)
            vusk_embedded_window::animation_update(20);
        return 1;
    };
    vusk_embedded_window::animation_update(20);
    EXPECT_EQ(window->animation_calls, 1);
}
