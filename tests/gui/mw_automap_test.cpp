// The automap inside the real main frame: its tags from the stream, where the
// layouts put it, the menus that size, dock and switch it, its own frame,
// the disconnect, and what the screen shows during a slide.
#include "automap_drawing.h"
#include "automap_map_text.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "menu_ids.h"
#include "tqconfig.h"
#include "vusk_automap.h"
#include "vusk_automap_outer.h"
#include "vusk_main_window.h"

#include <gtest/gtest.h>
#include <wx/menu.h>

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
        for (int x = 1; x < automap_grid_cells; x += 2)
            put_room(grid, x, y, x > 13 && y > 13 ? 20 : (x + y) % 6 ? 4 : 8, y == 11 ? room_flag_road : 0, x * 8 + y);
    grid.at(16, 13).passage = passage_wall;
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

    // The tick carries out what the login asked for.
    void log_in()
    {
        client.receive(with_data("login", "Tester"));
        client.tick();
    }
    void send_map(char letter) { client.receive(with_data("map", map_text(countryside(), letter))); }

    void choose(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        client->ProcessWindowEvent(event);
    }

    void use_layout(int layout)
    {
        TConfig::Instance()->SetLayout(layout);
        client->menu_view_change_layout_helper();
    }

    // Whether the screen shows the map's picture where the panel sits (nine
    // tenths of a sample of its pixels).
    bool screen_shows_map() const
    {
        const wxImage shot = gui::capture_window(&*client);
        const wxPoint origin = panel().GetPosition() + panel().renderer().GetPosition();
        int same = 0, compared = 0;
        panel().renderer().backing_bitmap().with_pixels([&](const pixel_view &view) {
            for (int y = 3; y < view.height(); y += 17)
                for (int x = 3; x < view.width(); x += 17, ++compared)
                    same += gui::pixel_of(shot, origin.x + x, origin.y + y) == view.color_at(x, y);
        });
        return same >= compared * 9 / 10;
    }

    // Keeps what the screen shows in the test framework's temporary folder;
    // returns where.
    std::string save_screen() const
    {
        const std::string path = testing::TempDir() + "automap_slide.png";
        gui::capture_window(&*client).SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
        return "the screen is in " + path;
    }

    vusk_automap_display &panel() const { return *client->automap_display(); }
    const automap_model &model() const { return panel().renderer().model(); }

    client_frame client;
};

} // namespace

TEST_F(FrameAutomap, TheAutomapsTagsComeFromTheStream)
{
    ASSERT_EQ(global_automap_display, &panel());
    EXPECT_EQ(global_automap_frame->GetTitle(), wxS("Varn Ossic Map"));
    log_in();
    client.receive(with_data("areaname", "The Hollow Wood") + with_data("dirs", "on AE"));
    send_map('@');
    EXPECT_STREQ(panel().area_name(), "The Hollow Wood");
    EXPECT_EQ(model().grid().at(11, 11).room_id, 11 * 8 + 11);
    EXPECT_EQ(panel().renderer().exit_mask(), 4); // (A - A) * 32 + (E - A): east
    client.receive(";tcombat;");
    EXPECT_TRUE(panel().combat());
    client.receive(";tncombat;");
    EXPECT_FALSE(panel().combat());
    client.receive(with_data("walkfail", "2"));
    EXPECT_EQ(model().offset().y, 7);
    EXPECT_TRUE(client.tick_until([&] { return !model().map_in_transition(); }));

    // A disconnect clears the map, the waiting maps, the area and the fight.
    client.receive(";tcombat;");
    send_map('A');
    send_map('B');
    EXPECT_EQ(model().queued_count(), 1);
    client->socket_disconnect("Gone.");
    EXPECT_STREQ(panel().area_name(), "");
    EXPECT_FALSE(panel().combat());
    EXPECT_EQ(model().queued_count(), 0);
    EXPECT_EQ(model().grid().at(11, 11).room_id, 0);
}

TEST_F(FrameAutomap, EachLayoutPutsTheDockedMapInItsPlace)
{
    client->SetClientSize(900, 700);
    ASSERT_TRUE(gui::wait_until([&] { return client->GetClientSize() == wxSize(900, 700); }));
    const wxSize size = automap_panel_size(11);
    use_layout(1);
    EXPECT_EQ(panel().GetParent(), &*client);
    EXPECT_EQ(rect_of(&panel()), wxRect(wxPoint(2, 2), size));
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
    EXPECT_EQ(rect_of(&panel()), wxRect(wxPoint(text->GetSize().GetWidth() - size.GetWidth() - 22, 22), size));
}

TEST_F(FrameAutomap, TheMenusSizeDockAndSwitchIt)
{
    use_layout(1);
    choose(id_menu_view_map_big);
    choose(id_menu_view_map_incr);
    EXPECT_EQ(panel().GetSize(), automap_panel_size(17));
    EXPECT_EQ(client->main_display()->GetPosition().x, automap_panel_size(17).GetWidth() + 4);

    // Undocked it moves into its own frame, sized to it.
    choose(id_menu_view_automap_docked);
    ASSERT_EQ(panel().GetParent(), global_automap_frame);
    EXPECT_TRUE(gui::wait_until([] { return global_automap_frame->IsShownOnScreen(); }));
    EXPECT_EQ(global_automap_frame->GetClientSize(), panel().GetSize());
    EXPECT_EQ(client->main_display()->GetPosition().x, 0);

    // Closing the frame switches the automap off and only hides the frame.
    wxWeakRef<vusk_automap_frame> outer(global_automap_frame);
    EXPECT_TRUE(outer->Close());
    EXPECT_TRUE(gui::wait_until([&] { return !outer || !outer->IsShown(); }));
    ASSERT_TRUE(outer);
    EXPECT_FALSE(client->GetMenuBar()->IsChecked(id_menu_view_automap_display));
    choose(id_menu_view_automap_display);
    EXPECT_TRUE(outer->IsShown());
    EXPECT_EQ(panel().GetParent(), outer.get());

    choose(id_menu_view_automap_docked);
    EXPECT_EQ(panel().GetParent(), &*client);
    EXPECT_FALSE(outer->IsShown());
}

// The map reaches the screen by the panel's own repaints, not the toolkit's
// paint cycle: once the first map shows, nothing but the slide's steps can
// bring the next picture there.
TEST_F(FrameAutomap, TheScreenShowsTheMapSlidingIn)
{
    use_layout(1);
    log_in();
    send_map('@');
    client.tick(2);
    ASSERT_TRUE(gui::wait_until([&] { return screen_shows_map(); }));
    send_map('D'); // moved west: the map comes in from the left
    client.tick(3);
    ASSERT_TRUE(model().map_in_transition());
    EXPECT_TRUE(gui::wait_until([&] { return screen_shows_map(); })) << save_screen();
}
