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
#include <vector>

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

// Rooms of one terrain everywhere, their ids shifted by `id_shift`.
automap_grid plain_of(int terrain, int id_shift)
{
    automap_grid grid;
    for (int y = 1; y < automap_grid_cells; y += 2)
        for (int x = 1; x < automap_grid_cells; x += 2)
            put_room(grid, x, y, terrain, 0, x * 8 + y + id_shift);
    return grid;
}

std::vector<vusk_color> pixels_of(const pixel_view &view)
{
    std::vector<vusk_color> pixels;
    for (int y = 0; y < view.height(); ++y)
        for (int x = 0; x < view.width(); ++x)
            pixels.push_back(view.color_at(x, y));
    return pixels;
}

// Pixels of a colour in the square of an arrow's size around its centre.
int pixels_around(const vusk_bitmap &bitmap, const compass_target &target, const vusk_color &colour)
{
    int count = 0;
    bitmap.with_pixels([&](const pixel_view &view) {
        for (int y = target.y - target.size; y <= target.y + target.size; ++y)
            for (int x = target.x - target.size; x <= target.x + target.size; ++x)
                count += view.color_at(x, y) == colour;
    });
    return count;
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

    // Logged in, the map docked on the left and on the screen.
    void show_map()
    {
        use_layout(1);
        log_in();
        ASSERT_TRUE(gui::wait_until([&] { return renderer().IsShownOnScreen(); }));
    }

    vusk_automap_display &panel() const { return *client->automap_display(); }
    vusk_automap_renderer &renderer() const { return panel().renderer(); }
    const automap_model &model() const { return renderer().model(); }

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
    ASSERT_TRUE(gui::wait_until([] { return global_automap_frame->IsShownOnScreen(); }));
    // Painted, so its late map event under a window manager has come too: a
    // map event after the close below would mark the frame shown again.
    ASSERT_TRUE(gui::refresh_and_wait(global_automap_frame));
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

// Maps without a move replace each other at once: a read full of them costs
// one picture, drawn by the tick for the last of them, while each message
// still counts at once for whatever comes after it.
TEST_F(FrameAutomap, AReadOfMapsDrawsThePictureOnceByTheTick)
{
    show_map();
    const std::string lake = map_text(plain_of(20, 0), '@'), town = map_text(plain_of(10, 1), '@');
    std::string read;
    for (int i = 0; i < 30; ++i)
        read += with_data("map", i % 3 == 0 ? lake : i % 3 == 1 ? "" : "@");
    read += with_data("map", town);
    const int drawn = renderer().pictures_drawn(), painted = renderer().paint_count();
    client.receive(read);
    EXPECT_EQ(model().grid().at(11, 11).room_id, 11 * 8 + 11 + 1);
    EXPECT_EQ(renderer().pictures_drawn(), drawn);
    EXPECT_EQ(renderer().paint_count(), painted);
    client.tick();
    EXPECT_EQ(renderer().pictures_drawn(), drawn + 1);
    const std::vector<vusk_color> burst = pixels_of(renderer().map_picture());

    // The same maps, each in a read and a tick of its own, end in the same
    // picture.
    for (const std::string &map : {lake, std::string(), std::string("@"), town}) {
        client.receive(with_data("map", map));
        client.tick();
    }
    EXPECT_TRUE(pixels_of(renderer().map_picture()) == burst);
}

// A map that moves still slides in when maps without a move came before it
// in the same read, and the maps after it wait for the slide.
TEST_F(FrameAutomap, AMoveAfterMapsWithoutOneSlidesIn)
{
    show_map();
    const std::string lake = map_text(plain_of(20, 0), '@'), town = map_text(plain_of(10, 1), 'B');
    client.receive(with_data("map", lake) + with_data("map", "") + with_data("map", town) + with_data("map", lake));
    EXPECT_EQ(model().offset().x, -2 * 11);
    EXPECT_EQ(model().queued_count(), 1);
    const int drawn = renderer().pictures_drawn();
    client.tick();
    EXPECT_EQ(renderer().pictures_drawn(), drawn + 1);
    EXPECT_TRUE(model().map_in_transition());
    EXPECT_TRUE(gui::wait_until([&] { return screen_shows_map(); })) << save_screen();
    EXPECT_TRUE(client.tick_until([&] { return !model().map_in_transition() && model().queued_count() == 0; }));
    EXPECT_EQ(model().grid().at(11, 11).room_id, 11 * 8 + 11);
}

// With the pointer over the map, each "dirs" changes the compass: a read of
// many paints it once, by the tick, with the last exits.
TEST_F(FrameAutomap, AReadOfExitsPaintsTheCompassOnceByTheTick)
{
    show_map();
    client.receive(with_data("map", map_text(countryside(), '@')) + with_data("dirs", "on AB"));
    client.tick();
    const compass_target east = compass_targets(renderer().window_size())[2];
    ASSERT_EQ(east.sector, int(sector_east));
    gui::send_mouse(&renderer(), wxEVT_ENTER_WINDOW, wxPoint(east.x, east.y));
    ASSERT_EQ(renderer().hover_sector(), int(sector_east));
    const vusk_color open = compass_target_colors(east, sector_east, east.exit_bit).outline;
    const vusk_color blocked = compass_target_colors(east, sector_east, 0).outline;
    EXPECT_GT(pixels_around(renderer().backing_bitmap(), east, blocked), 0);

    std::string read;
    for (int i = 0; i < 100; ++i)
        read += with_data("dirs", i % 2 ? "on AE" : "on AB");
    const int painted = renderer().paint_count();
    client.receive(read);
    EXPECT_EQ(renderer().exit_mask(), 4);
    EXPECT_EQ(renderer().paint_count(), painted);
    client.tick();
    EXPECT_GT(renderer().paint_count(), painted);
    EXPECT_GT(pixels_around(renderer().backing_bitmap(), east, open), 0);
    EXPECT_EQ(pixels_around(renderer().backing_bitmap(), east, blocked), 0);
}

// The compass is painted for what it shows: a change of exits under the
// pointer paints it once, and after that neither ticks, nor the same exits
// again, nor a change while the pointer is away from the map paint anything.
TEST_F(FrameAutomap, TheCompassIsPaintedOnlyWhenWhatItShowsChanged)
{
    show_map();
    client.receive(with_data("map", map_text(countryside(), '@')) + with_data("dirs", "on AB"));
    const compass_target east = compass_targets(renderer().window_size())[2];
    gui::send_mouse(&renderer(), wxEVT_ENTER_WINDOW, wxPoint(east.x, east.y));
    int last_count = -1;
    ASSERT_TRUE(client.tick_until([&] {
        const bool still = renderer().paint_count() == last_count;
        last_count = renderer().paint_count();
        return still;
    })) << "the map comes to rest";
    const auto ticks_paint_nothing = [&] {
        const int painted = renderer().paint_count();
        client.tick(25);
        return renderer().paint_count() == painted;
    };
    ASSERT_TRUE(ticks_paint_nothing()) << "at rest";

    const int painted = renderer().paint_count();
    client.receive(with_data("dirs", "on AE"));
    ASSERT_TRUE(client.tick_until([&] { return renderer().paint_count() > painted; }));
    const vusk_color open = compass_target_colors(east, sector_east, east.exit_bit).outline;
    EXPECT_GT(pixels_around(renderer().backing_bitmap(), east, open), 0);
    EXPECT_TRUE(ticks_paint_nothing()) << "once the change is shown";

    client.receive(with_data("dirs", "on AE"));
    EXPECT_TRUE(ticks_paint_nothing()) << "the same exits again";

    gui::send_mouse(&renderer(), wxEVT_LEAVE_WINDOW, wxPoint(-1, -1));
    client.tick();
    client.receive(with_data("dirs", "on AB"));
    EXPECT_TRUE(ticks_paint_nothing()) << "the pointer away from the map";
}
