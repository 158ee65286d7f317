// The status panels and the group display inside the real main frame: the
// login shows them per the settings, the layout places them, the tags reach
// them through the stream, the ping reply is timed, the lock sign unfreezes
// the display, and a disconnect resets them.
#include "builtin_images.h"
#include "vusk_automap.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "tqconfig.h"
#include "vusk_group_display.h"
#include "vusk_input_window.h"
#include "vusk_main_window.h"
#include "vusk_status_bar.h"
#include "vusk_status_display.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using gui::client_frame;

namespace {

std::string with_data(const std::string &tag, const std::string &data)
{
    return ";s" + tag + ";" + data + ";e" + tag + ";";
}

wxRect rect_of(wxWindow *window)
{
    return wxRect(window->GetPosition(), window->GetSize());
}

int lit_pixels(const vusk_bitmap &bitmap, const wxRect &area)
{
    int lit = 0;
    bitmap.with_pixels([&](const pixel_view &view) {
        for (int y = area.GetTop(); y <= area.GetBottom(); ++y)
            for (int x = area.GetLeft(); x <= area.GetRight(); ++x)
                lit += view.color_at(x, y) != vusk_BLACK;
    });
    return lit;
}

// A frame whose first connect failed, with every panel switched on but the
// ones of other subsystems.
class PanelFrame : public testing::Test {
protected:
    void SetUp() override
    {
        construct_all_images();
        TConfig &config = *TConfig::Instance();
        config.SetAutomapEnable(0);
        config.SetHintButton(0);
        config.SetPopupDisplay(0);
        config.SetFkeyButton(0);
        config.SetStatusBar(1);
        config.SetSkyBar(1);
        config.SetHpbarEnable(1);
        config.SetEnemyHpbarEnable(1);
        config.SetExpDisplay(1);
        config.SetGroupStatus(1);
        config.SetLayout(2);
        client.tick();
    }

    void log_in() { client->process_tagged_data("login", "", 0); }

    client_frame client;
    vusk_status_bar *bar() const { return client->status_bar(); }
    vusk_status_display *display() const { return client->status_display(); }
    vusk_group_display *group() const { return client->group_display(); }
};

} // namespace

TEST_F(PanelFrame, LoginShowsThePanelsPerTheSettingsAndADisconnectResetsThem)
{
    EXPECT_FALSE(bar()->IsShown());
    EXPECT_FALSE(display()->IsShown());
    TConfig::Instance()->SetSkyBar(0);
    log_in();
    EXPECT_TRUE(bar()->IsShown());
    EXPECT_FALSE(bar()->sky_bar.IsShown());
    EXPECT_TRUE(display()->IsShown());
    EXPECT_EQ(display()->hpbar_enable, 1);

    client.receive(with_data("hp", "50 100 20 40 90 120") + with_data("enemyhp", "30 a big rat") +
                   with_data("group", "50 100 20 40 90 120 Me\n10 20 0 0 5 5 .a pet"));
    EXPECT_EQ(display()->movemax, 120);
    EXPECT_EQ(display()->enemy_name, "a big rat");
    EXPECT_TRUE(group()->IsShown());
    client.receive(with_data("ncombat", ""));
    EXPECT_EQ(display()->enemy_percent, -1);
    client.type("//icons 01");
    EXPECT_EQ(bar()->icons[1], 1);

    TConfig::Instance()->SetSkyBar(1);
    EXPECT_TRUE(bar()->sky_bar.IsShown());
    TConfig::Instance()->SetStatusBar(0);
    EXPECT_FALSE(bar()->IsShown());
    TConfig::Instance()->SetEnemyHpbarEnable(0);
    EXPECT_EQ(display()->enemy_hpbar_enable, 0);
    TConfig::Instance()->SetGroupStatus(0);
    EXPECT_FALSE(group()->IsShown());

    client->socket_disconnect("gone");
    EXPECT_FALSE(display()->IsShown());
    EXPECT_EQ(display()->hp, -1);
    EXPECT_TRUE(group()->entries.empty());
    EXPECT_EQ(bar()->icons[1], 0);
}

TEST_F(PanelFrame, TheLayoutPlacesThePanelsInEachLayout)
{
    client->SetClientSize(800, 600);
    gui::wait_until([&] { return client->GetClientSize() == wxSize(800, 600); });
    log_in();
    client.receive(with_data("group", "1 1 1 1 1 1 Me\n1 1 1 1 1 1 You"));
    const int group_height = group()->get_ysize();
    // Left bottom: the group above the bottom edge, the column after it.
    EXPECT_EQ(rect_of(group()), wxRect(2, 600 - 2 - group_height, 160, group_height));
    EXPECT_EQ(rect_of(bar()), wxRect(164, 600 - 21, 800 - 164, 21));
    EXPECT_EQ(rect_of(display()), wxRect(164, 600 - 21 - 48 - 42, 800 - 164, 42));
    EXPECT_EQ(display()->border_sides, 15);

    TConfig::Instance()->SetLayout(1);
    EXPECT_EQ(rect_of(group()), wxRect(2, 2, 160, group_height));
    EXPECT_EQ(group()->dock_state, dock_on_frame);

    // Embedded: over the top right of the text, where the automap (switched
    // off) would float, as wide as the automap.
    TConfig::Instance()->SetLayout(0);
    vusk_textctrl &text = client->main_display()->textctrl();
    EXPECT_EQ(group()->GetParent(), &text);
    EXPECT_EQ(group()->dock_state, dock_in_display);
    const int t = text.GetClientSize().GetWidth();
    const int top = 2 * client->automap_display()->renderer().cell_size();
    const int width = client->automap_display()->get_x_size();
    EXPECT_EQ(rect_of(group()), wxRect(t - width - top, top, width, group_height));
    EXPECT_TRUE(group()->IsShown());
    EXPECT_EQ(rect_of(bar()), wxRect(0, 600 - 21, 800, 21));

    // A longer list grows the floating panel downward.
    client.receive(with_data("group", "1 1 1 1 1 1 Me\n1 1 1 1 1 1 You\n1 1 1 1 1 1 Them"));
    EXPECT_EQ(rect_of(group()).GetTop(), top);
    EXPECT_EQ(rect_of(group()).GetHeight(), group()->get_ysize());
}

TEST_F(PanelFrame, TheLockSignShowsWhileFrozenAndAClickOnItUnfreezes)
{
    log_in();
    client.tick();
    const status_bar_geometry &g = bar()->geometry();
    // Inside the bar's border.
    const wxRect lock(g.lock_x, 1, g.bar_right - g.lock_x - 2, 19);
    EXPECT_EQ(lit_pixels(bar()->backing_bitmap(), lock), 0);
    client->disable_scrolling();
    EXPECT_EQ(client->scrolling_enabled(), 0);
    EXPECT_GT(lit_pixels(bar()->backing_bitmap(), lock), 20);
    EXPECT_EQ(bar()->tooltip_at(g.lock_x + 5), "Scrolling is locked (click to unlock).");

    gui::send_mouse(bar(), wxEVT_LEFT_DOWN, wxPoint(g.lock_x + 5, 10));
    EXPECT_EQ(client->scrolling_enabled(), 1);
    EXPECT_EQ(lit_pixels(bar()->backing_bitmap(), lock), 0);
    // Not frozen, a click there does nothing.
    gui::send_mouse(bar(), wxEVT_LEFT_DOWN, wxPoint(g.lock_x + 5, 10));
    EXPECT_EQ(client->scrolling_enabled(), 1);
}

TEST_F(PanelFrame, ThePingReplyRecordsHowLongTheStopwatchRan)
{
    log_in();
    client->ping_stopwatch().Start(400);
    client.receive(with_data("event", "tqpong"));
    EXPECT_EQ(bar()->ping_count, 1);
    EXPECT_GE(bar()->ping_average, 400);
    client.receive(with_data("event", "tqpong late"));
    EXPECT_EQ(bar()->ping_count, 1);
}

TEST_F(PanelFrame, AFloodOfStatusTagsLeavesThePanelsSaneAndShowingTheLast)
{
    log_in();
    std::mt19937 random(5);
    const auto number = [&] {
        static const char *const odd[] = {"99999999999999", "-2147483648", "2147483647", "0", "-1", "x"};
        return random() % 4 ? std::to_string(int(random() % 2000) - 100) : std::string(odd[random() % 6]);
    };
    std::string stream;
    for (int i = 0; i < 10000; ++i) {
        stream += with_data("hp", number() + " " + number() + " " + number() + " " + number() + " " + number() +
                                      " " + number());
        if (i % 50 == 0)
            stream += with_data("xpp", number() + " " + number()) + with_data("enemyhp", number() + " a foe") +
                      with_data("skystate", "110 1 " + number() + " " + number()) +
                      with_data("group", number() + " 2 3 4 5 6 A\n1 2 3 4 5 " + number() + " -B") +
                      "<prompt>\r\n";
    }
    stream += with_data("hp", "1 2 3 4 5 6") + with_data("group", "1 1 1 1 1 1 Last");
    client.receive(stream);
    client.tick();
    EXPECT_EQ(display()->hp, 1);
    EXPECT_EQ(display()->movemax, 6);
    EXPECT_EQ(group()->entries.size(), 1u);
    EXPECT_GE(bar()->sky_bar.minute, 0);
    EXPECT_LT(bar()->sky_bar.minute, 1440);
    // Still answering: a line typed now is carried out.
    client.type("//echo still here");
    EXPECT_NE(client.shown_text().find("still here"), std::string::npos);
}
