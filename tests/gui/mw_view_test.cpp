// The main frame's hold on its main display: the scrollbar setting, the
// scrolling wrappers the command line calls, fonts, and the focus hand-off.
#include "global_fonts.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "tqconfig.h"
#include "vusk_font.h"
#include "vusk_input_window.h"
#include "vusk_main_window.h"

#include <gtest/gtest.h>

#include <string>

using gui::client_frame;

namespace {

class FrameView : public testing::Test {
protected:
    void SetUp() override
    {
        client.tick();
        std::string lines;
        for (int i = 0; i < 300; ++i)
            lines += "line " + std::to_string(i) + "\n";
        client->main_display()->write(lines.c_str());
        client->main_display()->scroll_to_bottom();
    }

    vusk_main_window &display() const { return *client->main_display(); }

    client_frame client;
};

} // namespace

TEST_F(FrameView, TheScrollbarSettingIsAppliedWheneverItDiffersAndOnlyThen)
{
    TConfig &config = *TConfig::Instance();
    config.SetMwScrollbar(0);
    EXPECT_EQ(display().scrollbar_enabled(), false);
    EXPECT_FALSE(display().scrollbar().IsShown());
    const wxSize without = display().textctrl().GetSize();
    config.SetMwScrollbar(1);
    EXPECT_EQ(display().scrollbar_enabled(), true);
    EXPECT_TRUE(display().scrollbar().IsShown());
    EXPECT_LT(display().textctrl().GetSize().GetWidth(), without.GetWidth());

    // Changed behind the display's back, the setting is taken up by the
    // next layout of the display, forced or not.
    config.set_effects(nullptr);
    config.SetMwScrollbar(0);
    display().SetSize(display().GetSize().GetWidth(), display().GetSize().GetHeight());
    EXPECT_EQ(display().scrollbar_enabled(), false);
    EXPECT_EQ(display().textctrl().GetSize(), without);
    config.SetMwScrollbar(1);
    display().ResetSize();
    EXPECT_EQ(display().scrollbar_enabled(), true);
}

TEST_F(FrameView, ScrollingWrappersFreezeTheDisplayBeforeTheyMoveIt)
{
    ASSERT_EQ(client->scrolling_enabled(), 1);
    const int bottom = display().view_line;
    client->scroll_up();
    EXPECT_EQ(client->scrolling_enabled(), 0);
    const int half_page_up = display().view_line;
    EXPECT_LT(half_page_up, bottom);
    client->scroll_up(3);
    EXPECT_EQ(display().view_line, half_page_up - 3);
    client->scroll_down(3);
    EXPECT_EQ(display().view_line, half_page_up);
    client->scroll_down();
    EXPECT_EQ(display().view_line, bottom);
    EXPECT_EQ(client->scrolling_enabled(), 1); // the end follows again

    client->handle_async_tty_stop();
    EXPECT_EQ(client->scrolling_enabled(), 0);
    client->handle_async_tty_start();
    EXPECT_EQ(client->scrolling_enabled(), 1);

    client->scroll_up();
    client->resize();
    EXPECT_EQ(client->scrolling_enabled(), 1); // a new layout does
}

TEST_F(FrameView, AFontChangeReachesTheDisplayTheLineAndTheConfiguration)
{
    const int line_height = display().textctrl().get_line_height();
    global_font->SetPointSize(18);
    client->global_font_resync();
    EXPECT_GT(display().textctrl().get_line_height(), line_height);
    EXPECT_EQ(TConfig::Instance()->GetFontSize(), 18);
    EXPECT_EQ(client->input_window()->line_edit.GetFont().GetPointSize(), 18);
}

TEST_F(FrameView, AClickInsideTheFrameHandsTheFocusBackToTheCommandLine)
{
    EXPECT_EQ(client->transfer_focus_main(nullptr), 0);
    EXPECT_EQ(client->transfer_focus_main(&display().textctrl()), 1);
    EXPECT_EQ(client->transfer_focus_main(&display().scrollbar()), 1);
}
