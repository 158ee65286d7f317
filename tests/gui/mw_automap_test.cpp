// The automap inside the real main frame: its tags from the stream, where the
// layouts put it (left column, over the main display, its own frame),
// switching it on and off, its size keys, the disconnect, and what the
// screen shows during a slide.
#include "automap_drawing.h"
#include "automap_map_text.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "tqconfig.h"
#include "vusk_automap.h"
#include "vusk_automap_outer.h"
#include "vusk_main_window.h"

#include <gtest/gtest.h>

#include <string>

using automap_test::map_text;
using automap_test::put_room;
using gui::client_frame;

namespace {

std::string with_data(const std::string &tag, const std::string &data)
{
    return ";s" + tag + ";" + data + ";e" + tag + ";";
}

// Fields, a road and a lake around the player.
automap_grid countryside()
{
    automap_grid grid;
    for (int y = 1; y < automap_grid_cells; y += 2)
        for (int x = 1; x < automap_grid_cells; x += 2) {
            const bool lake = x > 13 && y > 13;
            put_room(grid, x, y, lake ? 20 : (x + y) % 6 ? 4 : 8, y == 11 ? room_flag_road : 0, x * 8 + y);
        }
    grid.at(16, 13).passage = passage_wall;
    grid.at(17, 14).passage = passage_wall;
    return grid;
}

wxRect rect_of(wxWindow *window)
{
    return wxRect(window->GetPosition(), window->GetSize());
}

class FrameAutomap : public testing::Test {
protected:
    FrameAutomap()
    {
        client.tick();
        TConfig &config = *TConfig::Instance();
        config.SetAutomapEnable(1);
        config.SetAutomapDocked(1);
        config.SetAutomapSize(11);
        config.SetGroupStatus(0);
    }

    void log_in() { client.receive(with_data("login", "Tester")); }

    void send_map(const automap_grid &grid, char letter)
    {
        client.receive(with_data("map", map_text(grid, letter)));
    }

    void use_layout(int layout)
    {
        TConfig::Instance()->SetLayout(layout);
        client->menu_view_change_layout_helper();
    }

    vusk_automap_display &panel() const { return *client->automap_display(); }

    client_frame client;
};

} // namespace

TEST_F(FrameAutomap, TheAutomapsTagsComeFromTheStream)
{
    ASSERT_EQ(global_automap_display, &panel());
    ASSERT_NE(global_automap_frame, nullptr);
    EXPECT_EQ(global_automap_frame->GetTitle(), wxS("Varn Ossic Map"));
    EXPECT_EQ(panel().GetName(), wxS("main automap"));

    log_in();
    client.receive(with_data("areaname", "The Hollow Wood"));
    send_map(countryside(), '@');
    client.receive(with_data("dirs", "on AE")); // (A - A) * 32 + (E - A): east only
    EXPECT_STREQ(panel().area_name(), "The Hollow Wood");
    EXPECT_EQ(panel().renderer().model().grid().at(11, 11).room_id, 11 * 8 + 11);
    EXPECT_EQ(panel().renderer().exit_mask(), 4);
    client.receive(";tcombat;");
    EXPECT_TRUE(panel().combat());
    client.receive(";tncombat;");
    EXPECT_FALSE(panel().combat());

    client.receive(with_data("walkfail", "2"));
    EXPECT_EQ(panel().renderer().model().offset().y, 7);
    client.tick(12);
    EXPECT_FALSE(panel().renderer().model().map_in_transition());
}

TEST_F(FrameAutomap, EachLayoutPutsTheDockedMapInItsPlace)
{
    client->SetClientSize(900, 700);
    gui::wait_until([&] { return client->GetClientSize() == wxSize(900, 700); });
    const wxSize size = automap_panel_size(11);

    use_layout(1);
    EXPECT_EQ(panel().GetParent(), &*client);
    EXPECT_EQ(rect_of(&panel()), wxRect(wxPoint(2, 2), size));
    EXPECT_TRUE(panel().IsShown());
    EXPECT_EQ(client->main_display()->GetPosition().x, size.GetWidth() + 4);

    use_layout(2);
    EXPECT_EQ(rect_of(&panel()), wxRect(wxPoint(2, 700 - 2 - size.GetHeight()), size));

    // Embedded: over the main display's text, shown only while logged in.
    use_layout(0);
    wxWindow *text = &client->main_display()->textctrl();
    EXPECT_EQ(panel().GetParent(), text);
    EXPECT_FALSE(panel().IsShown());
    log_in();
    EXPECT_TRUE(panel().IsShown());
    const int top = 2 * 11;
    EXPECT_EQ(rect_of(&panel()), wxRect(wxPoint(text->GetSize().GetWidth() - size.GetWidth() - top, top), size));
    EXPECT_EQ(client->main_display()->GetPosition().x, 0);
}

TEST_F(FrameAutomap, UndockedItLivesInItsOwnFrameWhichClosingSwitchesOff)
{
    TConfig::Instance()->SetAutomapDocked(0);
    client->set_automap_dock_state();
    client->resize();
    ASSERT_EQ(panel().GetParent(), global_automap_frame);
    EXPECT_TRUE(gui::wait_until([] { return global_automap_frame->IsShownOnScreen(); }));
    EXPECT_EQ(panel().GetPosition(), wxPoint(0, 0));
    EXPECT_EQ(global_automap_frame->GetClientSize(), panel().GetSize());

    wxWeakRef<vusk_automap_frame> outer(global_automap_frame);
    EXPECT_TRUE(global_automap_frame->Close());
    gui::pump_events(50);
    ASSERT_TRUE(outer);
    EXPECT_FALSE(outer->IsShown());
    EXPECT_EQ(TConfig::Instance()->GetAutomapEnable(), 0);

    client->toggle_automap_display();
    EXPECT_EQ(TConfig::Instance()->GetAutomapEnable(), 1);
    EXPECT_TRUE(outer->IsShown());
    EXPECT_EQ(panel().GetParent(), outer.get());

    // Docked again: into the frame, the own frame hidden.
    use_layout(1);
    TConfig::Instance()->SetAutomapDocked(1);
    client->set_automap_dock_state();
    EXPECT_EQ(panel().GetParent(), &*client);
    EXPECT_FALSE(outer->IsShown());
    client->set_automap_display_enable(0);
    EXPECT_FALSE(panel().IsShown());
}

TEST_F(FrameAutomap, TheSizeKeysGrowAndShrinkThePanelAndTheLayoutFollows)
{
    use_layout(1);
    client->incr_automap_size();
    EXPECT_EQ(panel().GetSize(), automap_panel_size(13));
    EXPECT_EQ(client->main_display()->GetPosition().x, automap_panel_size(13).GetWidth() + 4);
    client->decr_automap_size();
    client->decr_automap_size();
    EXPECT_EQ(TConfig::Instance()->GetAutomapSize(), 9);
    EXPECT_EQ(client->main_display()->GetPosition().x, automap_panel_size(9).GetWidth() + 4);
}

TEST_F(FrameAutomap, ADisconnectClearsTheMapTheAreaAndTheFight)
{
    log_in();
    client.receive(with_data("areaname", "Tharnmoor") + ";tcombat;");
    send_map(countryside(), 'A');
    send_map(countryside(), 'B'); // waits for the first
    EXPECT_EQ(panel().renderer().model().queued_count(), 1);
    client->socket_disconnect("Gone.");
    EXPECT_STREQ(panel().area_name(), "");
    EXPECT_FALSE(panel().combat());
    EXPECT_EQ(panel().renderer().model().queued_count(), 0);
    EXPECT_EQ(panel().renderer().model().grid().at(11, 11).room_id, 0);
    EXPECT_FALSE(panel().renderer().model().map_in_transition());
}

TEST_F(FrameAutomap, TheScreenShowsTheMapSlidingIn)
{
    use_layout(1);
    log_in();
    send_map(countryside(), '@');
    client.tick(2);
    send_map(countryside(), 'D'); // moved west: the map comes in from the left
    client.tick(3);
    ASSERT_TRUE(panel().renderer().model().map_in_transition());
    const wxImage shot = gui::capture_window(&*client);
    ASSERT_TRUE(shot.IsOk());
    shot.SaveFile(wxS("automap_slide.png"), wxBITMAP_TYPE_PNG);

    // The screen shows the map window's own picture.
    const wxPoint origin = panel().GetPosition() + panel().renderer().GetPosition();
    const vusk_bitmap &shown = panel().renderer().backing_bitmap();
    int same = 0, compared = 0;
    shown.with_pixels([&](const pixel_view &view) {
        for (int y = 3; y < view.height(); y += 17)
            for (int x = 3; x < view.width(); x += 17, ++compared)
                same += gui::pixel_of(shot, origin.x + x, origin.y + y) == view.color_at(x, y);
    });
    EXPECT_GE(same, compared * 9 / 10);
}
