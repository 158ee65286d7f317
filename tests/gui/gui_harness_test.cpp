// The harness itself: the toolkit's assertions fail the running test, a
// process without a display fails, screen read-back and synthetic input work.
#include "gui_harness.h"
#include "gui_test_window.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <wx/utils.h>

using gui::test_frame;
using gui::test_window;

TEST(GuiHarness, ToolkitAssertionFailsTheRunningTest)
{
    EXPECT_NONFATAL_FAILURE(wxFAIL_MSG("deliberate"), "deliberate");
}

TEST(GuiHarness, WithoutADisplayTheSuiteFails)
{
    wxEnvVariableHashMap environment;
    ASSERT_TRUE(wxGetEnvMap(&environment));
    environment.erase(wxS("DISPLAY"));
    environment.erase(wxS("WAYLAND_DISPLAY"));
    environment[wxS("GDK_BACKEND")] = wxS("x11");
    wxExecuteEnv env;
    env.env = environment;
    // This very test binary, with a test that passes wherever it can run.
    const char *argv[] = {"/proc/self/exe", "--gtest_filter=GuiHarness.ToolkitAssertionFailsTheRunningTest", nullptr};
    const long status = wxExecute(argv, wxEXEC_SYNC, nullptr, &env);
    EXPECT_GT(status, 0);
}

namespace {
class HarnessOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        frame = new test_frame();
        window = new test_window(frame->area, wxPoint(20, 30), wxSize(40, 20));
        ASSERT_TRUE(gui::show_and_wait(frame));
    }

    void TearDown() override { EXPECT_TRUE(gui::destroy_and_wait(frame)); }

    test_frame *frame = nullptr;
    test_window *window = nullptr;
};
}

TEST_F(HarnessOnScreen, CaptureShowsWhereTheWindowSits)
{
    window->repaint();
    ASSERT_TRUE(gui::wait_until([&] {
        return gui::pixel_of(gui::capture_window(frame->area), 30, 35) == gui::QUADRANT_COLOURS[0];
    }));
    const wxImage area = gui::capture_window(frame->area);
    EXPECT_EQ(area.GetWidth(), frame->area->GetClientSize().x);
    EXPECT_EQ(gui::pixel_of(area, 19, 35), test_frame::BACKGROUND);
    EXPECT_EQ(gui::pixel_of(area, 20, 30), vusk_BLACK);
    EXPECT_EQ(gui::pixel_of(area, 50, 45), gui::QUADRANT_COLOURS[3]);
    EXPECT_EQ(gui::pixel_of(area, 60, 45), test_frame::BACKGROUND);
}

TEST_F(HarnessOnScreen, WaitGivesUpAfterItsTime)
{
    EXPECT_FALSE(gui::wait_until([] { return false; }, 50));
    EXPECT_TRUE(gui::wait_until([] { return true; }, 0));
}

TEST_F(HarnessOnScreen, SyntheticMouseAndKeyEventsReachTheWindow)
{
    EXPECT_TRUE(gui::send_mouse(window, wxEVT_LEFT_DOWN, wxPoint(3, 4)));
    EXPECT_TRUE(gui::send_mouse(window, wxEVT_LEFT_UP, wxPoint(3, 4)));
    EXPECT_TRUE(gui::send_wheel(window, wxPoint(1, 1), -120, wxMOUSE_WHEEL_HORIZONTAL));
    EXPECT_TRUE(gui::send_key(window, wxEVT_KEY_DOWN, 'A', wxMOD_CONTROL));
    EXPECT_TRUE(gui::send_key(window, wxEVT_CHAR, 'a', wxMOD_NONE, wxChar('a')));
    EXPECT_FALSE(gui::send_mouse(window, wxEVT_MIDDLE_DOWN, wxPoint(0, 0)));
    EXPECT_EQ(window->events, (std::vector<wxEventType>{wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_MOUSEWHEEL,
                                                         wxEVT_KEY_DOWN, wxEVT_CHAR}));
}

TEST_F(HarnessOnScreen, SyntheticEventsCarryPositionButtonsAndModifiers)
{
    wxMouseEvent seen_mouse;
    wxKeyEvent seen_key;
    window->Bind(wxEVT_RIGHT_DOWN, [&](wxMouseEvent &e) { seen_mouse = e; });
    window->Bind(wxEVT_KEY_UP, [&](wxKeyEvent &e) { seen_key = e; });
    gui::send_mouse(window, wxEVT_RIGHT_DOWN, wxPoint(7, 9), wxMOD_SHIFT);
    gui::send_key(window, wxEVT_KEY_UP, WXK_F5, wxMOD_CONTROL | wxMOD_ALT);
    EXPECT_EQ(seen_mouse.GetPosition(), wxPoint(7, 9));
    EXPECT_TRUE(seen_mouse.RightIsDown());
    EXPECT_TRUE(seen_mouse.ShiftDown());
    EXPECT_EQ(seen_mouse.GetEventObject(), window);
    EXPECT_EQ(seen_key.GetKeyCode(), WXK_F5);
    EXPECT_EQ(seen_key.GetModifiers(), wxMOD_CONTROL | wxMOD_ALT);

    wxMouseEvent wheel;
    window->Bind(wxEVT_MOUSEWHEEL, [&](wxMouseEvent &e) { wheel = e; });
    gui::send_wheel(window, wxPoint(2, 2), 240);
    EXPECT_EQ(wheel.GetWheelRotation(), 240);
    EXPECT_EQ(wheel.GetWheelAxis(), wxMOUSE_WHEEL_VERTICAL);
    EXPECT_EQ(wheel.GetWheelDelta(), 120);
}
