// The real main frame placing its command line and main display in the three
// layouts, for ordinary and degenerate client sizes.
#include "gui_client.h"
#include "gui_harness.h"
#include "tqconfig.h"
#include "vusk_input_window.h"
#include "vusk_main_window.h"

#include <gtest/gtest.h>

using gui::client_frame;

namespace {

struct panel_settings {
    int layout = 0;
    int hint = 0;
    int direction = 0;
    int fkey = 0;
    int popup = 0;
    int status_bar = 0;
    int group = 0;
    int hpbar = 0;
    int enemy_hpbar = 0;
    int exp = 0;
    int channel = 0;
    int input_height = 48;
};

void apply(const panel_settings &s)
{
    TConfig &config = *TConfig::Instance();
    config.SetAutomapEnable(0);
    config.SetLayout(s.layout);
    config.SetHintButton(s.hint);
    config.SetDirectionButton(s.direction);
    config.SetFkeyButton(s.fkey);
    config.SetPopupDisplay(s.popup);
    config.SetStatusBar(s.status_bar);
    config.SetGroupStatus(s.group);
    config.SetHpbarEnable(s.hpbar);
    config.SetEnemyHpbarEnable(s.enemy_hpbar);
    config.SetExpDisplay(s.exp);
    config.SetChannelWindow(s.channel);
    config.SetChannelHeight(30);
    config.SetInputHeight(s.input_height);
}

wxRect rect_of(wxWindow *window)
{
    return wxRect(window->GetPosition(), window->GetSize());
}

class FrameLayout : public testing::Test {
protected:
    // Lays the frame out for a client area of width by height.
    void lay_out(const panel_settings &settings, int width, int height)
    {
        apply(settings);
        client->SetClientSize(width, height);
        gui::wait_until([&] { return client->GetClientSize() == wxSize(width, height); });
        client->resize();
    }

    wxRect input() const { return rect_of(client->input_window()); }
    wxRect display() const { return rect_of(client->main_display()); }

    client_frame client;
};

} // namespace

TEST_F(FrameLayout, EmbeddedWithEveryBarOffGivesTheDisplayAllButTheInputLine)
{
    lay_out(panel_settings(), 800, 600);
    EXPECT_EQ(input(), wxRect(0, 552, 800, 48));
    EXPECT_EQ(display(), wxRect(0, 0, 800, 552));
}

TEST_F(FrameLayout, LeftTopWithGroupDisplayStartsTheColumnAfterIt)
{
    panel_settings s;
    s.layout = 1;
    s.group = 1;
    s.hint = 1;
    s.status_bar = 1;
    s.fkey = 1;
    s.hpbar = 1;
    s.enemy_hpbar = 1;
    lay_out(s, 900, 700);
    // Right column: the hint buttons, as wide as the pad, and a 4-pixel gap;
    // bottom up: function keys 46, status bar 21, input 48, status display 42.
    const int width = 900 - 97 - 4 - 164;
    EXPECT_EQ(input(), wxRect(164, 700 - 46 - 21 - 48, width, 48));
    EXPECT_EQ(display(), wxRect(164, 0, width, 700 - 46 - 21 - 48 - 42));
}

TEST_F(FrameLayout, TheChannelWindowTakesItsShareOnceLoggedIn)
{
    panel_settings s;
    s.layout = 2;
    s.channel = 1;
    s.input_height = 100;
    lay_out(s, 640, 700);
    EXPECT_EQ(input(), wxRect(0, 600, 640, 100));
    EXPECT_EQ(display(), wxRect(0, 0, 640, 600));
    client->process_tagged_data("login", "", 0);
    EXPECT_EQ(display(), wxRect(0, 180, 640, 600 - 180));
}

// GTK keeps the frame at least as wide as its menu bar, so the widths are
// whatever the frame could take.
TEST_F(FrameLayout, DegenerateSizesKeepEveryPanelAtLeastOnePixel)
{
    panel_settings s;
    s.hint = 1;
    lay_out(s, 2, 30);
    EXPECT_EQ(input().GetTopLeft(), wxPoint(0, 30 - 48));
    EXPECT_EQ(input().GetHeight(), 48);
    EXPECT_EQ(display().GetPosition(), wxPoint(0, 0));
    EXPECT_EQ(display().GetHeight(), 1);
    EXPECT_GE(display().GetWidth(), 1);

    s.layout = 1;
    s.group = 1;
    lay_out(s, 100, 1);
    EXPECT_GE(input().GetWidth(), 1);
    EXPECT_EQ(input().GetX(), 164);
    EXPECT_EQ(display().GetHeight(), 1);
    EXPECT_GE(display().GetWidth(), 1);
}

TEST_F(FrameLayout, ASizeEventLaysOutOnlyWhenTheSizeChanged)
{
    lay_out(panel_settings(), 700, 500);
    EXPECT_TRUE(gui::wait_until([&] { return client->laid_out_size() == wxSize(700, 500); }));
    client->main_display()->SetSize(0, 0, 10, 10);
    wxSizeEvent same(client->GetSize());
    client->OnResize(same);
    EXPECT_EQ(display().GetSize(), wxSize(10, 10));
    client->SetClientSize(720, 500);
    EXPECT_TRUE(gui::wait_until([&] { return display().GetSize() == wxSize(720, 452); }));
}
