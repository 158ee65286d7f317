#include "gui_harness.h"
#include "gui_test_window.h"

#include <gtest/gtest.h>
#include <wx/app.h>

using gui::test_frame;

namespace {
const wxSize WINDOW_SIZE(97, 61); // odd sizes: rows of no round length
constexpr int REPAINTS = 40;

// A drawn window whose whole picture changes with every paint: each pixel
// holds a different colour, so a channel out of place, a shifted row or a
// stale pixel from an earlier picture all show.
class changing_window : public vusk_embedded_window {
public:
    changing_window(wxWindow *parent, const wxSize &size)
        : vusk_embedded_window(parent, wxID_ANY, wxS("changing"), wxPoint(5, 5), size, 0)
    {
    }

    void resize(int) override {}

    void repaint_dc(vusk_bitmap &bitmap) override
    {
        ++picture;
        for (int y = 0; y < bitmap.GetHeight(); ++y)
            for (int x = 0; x < bitmap.GetWidth(); ++x)
                bitmap.DrawPixel(x, y, colour_at(x, y));
    }

    vusk_color colour_at(int x, int y) const
    {
        return vusk_color((x * 3 + picture * 7) & 0xFF, (y * 5 + picture * 11) & 0xFF, (x + y + picture * 13) & 0xFF);
    }

    int picture = 0;
};

// The first pixel where the screen differs from the window's last picture.
testing::AssertionResult screen_shows_last_picture(const changing_window &window)
{
    const wxImage shot = gui::capture_window(const_cast<changing_window *>(&window));
    for (int y = 0; y < shot.GetHeight(); ++y)
        for (int x = 0; x < shot.GetWidth(); ++x)
            if (gui::pixel_of(shot, x, y) != window.colour_at(x, y))
                return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") of picture " << window.picture;
    return testing::AssertionSuccess();
}

class ScreenBlit : public testing::Test {
protected:
    void SetUp() override
    {
        frame = new test_frame();
        window = new changing_window(frame->area, WINDOW_SIZE);
        ASSERT_TRUE(gui::show_and_wait(frame));
    }

    void TearDown() override { EXPECT_TRUE(gui::destroy_and_wait(frame)); }

    test_frame *frame = nullptr;
    changing_window *window = nullptr;
};
}

// Pictures put on the screen back to back, as text streaming in does it: the
// surface kept between blits never lets an older picture through.
TEST_F(ScreenBlit, BackToBackRepaintsLeaveExactlyTheLastPicture)
{
    for (int i = 0; i < REPAINTS; ++i)
        window->repaint();
    EXPECT_TRUE(gui::wait_until([&] { return bool(screen_shows_last_picture(*window)); }));
    EXPECT_TRUE(screen_shows_last_picture(*window));
}

// A paint event for part of the window paints a new picture: the part shows
// it, and after a full repaint the whole window does.
TEST_F(ScreenBlit, PartialPaintThenFullRepaintMatchTheBitmap)
{
    window->repaint();
    const int before = window->picture;
    window->RefreshRect(wxRect(10, 10, 20, 15), false);
    ASSERT_TRUE(gui::wait_until([&] { return window->picture > before; }));
    const wxImage shot = gui::capture_window(window);
    EXPECT_EQ(gui::pixel_of(shot, 12, 12), window->colour_at(12, 12));
    window->repaint();
    EXPECT_TRUE(gui::wait_until([&] { return bool(screen_shows_last_picture(*window)); }));
}

// A new size makes a new surface of that size; what shows is still exact.
TEST_F(ScreenBlit, ResizedWindowShowsItsNewBitmapExactly)
{
    window->repaint();
    window->SetSize(WINDOW_SIZE.x - 20, WINDOW_SIZE.y - 10);
    window->repaint();
    ASSERT_EQ(gui::capture_window(window).GetSize(), wxSize(WINDOW_SIZE.x - 20, WINDOW_SIZE.y - 10));
    EXPECT_TRUE(gui::wait_until([&] { return bool(screen_shows_last_picture(*window)); }));
}

// Changes asked for in one pass of the event loop cost one paint, straight
// to the screen once the queued events are handled.
TEST_F(ScreenBlit, RepaintsAskedTogetherPaintOnceAfterTheQueuedEvents)
{
    const int before = window->picture;
    for (int i = 0; i < REPAINTS; ++i)
        window->repaint_soon();
    EXPECT_EQ(window->picture, before);
    wxTheApp->ProcessPendingEvents();
    EXPECT_EQ(window->picture, before + 1);
    EXPECT_TRUE(gui::wait_until([&] { return bool(screen_shows_last_picture(*window)); }));
    window->repaint_soon();
    wxTheApp->ProcessPendingEvents();
    EXPECT_EQ(window->picture, before + 2);
}

// A window destroyed with a paint still queued is not painted afterwards.
TEST_F(ScreenBlit, QueuedRepaintGoesWithTheWindow)
{
    struct counting_window : changing_window {
        counting_window(wxWindow *parent, int &paints) : changing_window(parent, WINDOW_SIZE), paints(paints) {}
        void repaint_dc(vusk_bitmap &bitmap) override
        {
            ++paints;
            changing_window::repaint_dc(bitmap);
        }
        int &paints;
    };
    int paints = 0;
    auto *doomed = new counting_window(frame->area, paints);
    doomed->repaint_soon();
    doomed->Destroy();
    wxTheApp->ProcessPendingEvents();
    EXPECT_EQ(paints, 0);
}

// A child window laid over a drawn window (a panel over the text) stays as
// it painted itself when its parent is drawn again outside a paint event.
TEST_F(ScreenBlit, RepaintLeavesAChildWindowAlone)
{
    auto *child = new changing_window(window, wxSize(30, 20));
    child->Move(10, 10);
    ASSERT_TRUE(gui::wait_until([&] { return child->IsShownOnScreen(); }));
    child->repaint();
    for (int i = 0; i < REPAINTS; ++i)
        window->repaint();
    EXPECT_TRUE(gui::wait_until([&] { return bool(screen_shows_last_picture(*child)); }));
    const wxImage shot = gui::capture_window(window);
    EXPECT_EQ(gui::pixel_of(shot, 12, 12), child->colour_at(2, 2));
    EXPECT_EQ(gui::pixel_of(shot, 50, 40), window->colour_at(50, 40));
}
