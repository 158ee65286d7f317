// The automap panel and its map window, with a recording stand-in for the
// main frame: sizes, the caption, the flash and the compass.
#include "automap_drawing.h"
#include "gui_client.h"
#include "gui_fake_frame.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "tqconfig.h"
#include "vusk_audio_base.h"
#include "vusk_automap.h"
#include "vusk_theme.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>


namespace {

// Glyphs blend into the background by their coverage: text pixels are
// shades of the text's colour.
bool whitish(const vusk_color &c)
{
    return c.r > 96 && c.r == c.g && c.g == c.b;
}

bool combat_red(const vusk_color &c)
{
    return c.r > 96 && c.g < c.r && c.g == c.b;
}

vusk_color pixel(const vusk_bitmap &bitmap, int x, int y)
{
    vusk_color colour;
    bitmap.with_pixels([&](const pixel_view &view) { colour = view.color_at(x, y); });
    return colour;
}

// The pixels of the caption strip (rows 1 to 20) of a colour: how many, and
// the first column with one (-1 for none).
std::pair<int, int> scan_caption(const vusk_bitmap &bitmap, bool (*is)(const vusk_color &))
{
    int count = 0, first = -1;
    bitmap.with_pixels([&](const pixel_view &view) {
        for (int x = 1; x < view.width() - 1; ++x)
            for (int y = 1; y <= automap_caption_rows; ++y)
                if (is(view.color_at(x, y))) {
                    ++count;
                    first = first < 0 ? x : first;
                }
    });
    return {count, first};
}

class AutomapPanel : public testing::Test {
protected:
    AutomapPanel()
    {
        gui::prepare_client();
        TConfig::Instance()->SetAutomapSize(11);
        frame = new gui::test_frame(wxSize(400, 400));
        panel = new vusk_automap_display(frame->area, wxID_ANY, wxS("main automap"));
        EXPECT_TRUE(gui::show_and_wait(frame));
    }
    ~AutomapPanel() override { EXPECT_TRUE(gui::destroy_and_wait(frame)); }

    const vusk_bitmap &panel_bitmap()
    {
        panel->repaint();
        return panel->backing_bitmap();
    }

    vusk_automap_renderer &renderer() { return panel->renderer(); }

    void log_in()
    {
        main.is_logged_in = true;
        renderer().redraw();
    }

    fake_frame main;
    gui::test_frame *frame = nullptr;
    vusk_automap_display *panel = nullptr;
};

} // namespace

TEST_F(AutomapPanel, SizesAreOddWithinFiveToSixtyOneAndThePanelFollows)
{
    panel->set_size(8);
    EXPECT_EQ(renderer().cell_size(), 9);
    EXPECT_EQ(TConfig::Instance()->GetAutomapSize(), 9);
    EXPECT_EQ(panel->GetSize(), automap_panel_size(9));
    EXPECT_EQ(renderer().GetRect(), wxRect(1, 22, 165, 165));
    EXPECT_EQ(renderer().map_picture().width(), 23 * 9 + 1);
    for (int expected : {7, 5, 5}) {
        panel->decr_size();
        EXPECT_EQ(renderer().cell_size(), expected);
    }
    panel->incr_size();
    EXPECT_EQ(renderer().cell_size(), 7);
    panel->set_size(1000);
    panel->incr_size();
    EXPECT_EQ(renderer().cell_size(), 61);
    panel->set_size(-3);
    EXPECT_EQ(renderer().cell_size(), 5);
}

TEST_F(AutomapPanel, TheCaptionShowsMapAreaOrCombat)
{
    // Logged out: "  Map  " in white, centred like "Combat!".
    panel->set_area_name("The Barrow Hills");
    EXPECT_GT(scan_caption(panel_bitmap(), whitish).first, 0);
    EXPECT_GT(scan_caption(panel_bitmap(), whitish).second, 40);

    log_in();
    EXPECT_LT(scan_caption(panel_bitmap(), whitish).second, 10); // the area name from x = 4
    panel->set_combat_mode("");
    EXPECT_EQ(scan_caption(panel_bitmap(), whitish).first, 0);
    EXPECT_GT(scan_caption(panel_bitmap(), combat_red).first, 0);
    panel->set_area_name("Tharnmoor"); // shows after the fight
    EXPECT_EQ(scan_caption(panel_bitmap(), whitish).first, 0);
    panel->clear_combat_mode("");
    EXPECT_EQ(scan_caption(panel_bitmap(), combat_red).first, 0);
    EXPECT_STREQ(panel->area_name(), "Tharnmoor");

    panel->set_area_name(nullptr);
    EXPECT_STREQ(panel->area_name(), "(null)");
    panel->set_area_name(std::string(9000, 'x').c_str());
    EXPECT_EQ(std::string(panel->area_name()).size(), 7999u);

    const vusk_bitmap &bitmap = panel_bitmap();
    EXPECT_EQ(pixel(bitmap, 50, 0), current_button_theme[0]);
    EXPECT_EQ(pixel(bitmap, 50, automap_separator_row), current_button_theme[0]);
    EXPECT_EQ(pixel(bitmap, 0, 0), vusk_BLACK);
}

TEST_F(AutomapPanel, TheFlashAlternatesSixteenStepsAndEndsInTheThemeColour)
{
    panel->start_newbie_demo_mode_flashing();
    const auto ticks = [&](int count) {
        for (int tick = 0; tick < count; ++tick)
            EXPECT_EQ(panel->animation_callback(20), 1); // the panel always stays listed
    };
    // Each look falls halfway through a step of ten 20 ms ticks.
    ticks(5);
    std::vector<bool> white;
    for (int step = 0; step < 16; ++step) {
        white.push_back(pixel(panel->backing_bitmap(), 50, 0) == vusk_WHITE);
        EXPECT_TRUE(white.back() || pixel(panel->backing_bitmap(), 50, 0) == vusk_BLACK);
        ticks(10);
    }
    for (size_t i = 0; i < white.size(); ++i)
        EXPECT_EQ(white[i], i % 2 == 1) << i;
    EXPECT_EQ(pixel(panel->backing_bitmap(), 50, 0), current_button_theme[0]);
}

// The start shows the first step at once; after that a step taken on one
// tick shows on the next, one step per tick however long the tick.
TEST_F(AutomapPanel, TheFlashTakesOneStepPerTickEvenWhenTicksAreSlow)
{
    panel->start_newbie_demo_mode_flashing();
    std::string borders;
    for (int tick = 0; tick < 20; ++tick) {
        const vusk_color edge = pixel(panel->backing_bitmap(), 50, 0);
        borders += edge == vusk_BLACK ? 'b' : edge == vusk_WHITE ? 'w' : '-';
        EXPECT_EQ(panel->animation_callback(1000), 1);
    }
    EXPECT_EQ(borders, "bbwbwbwbwbwbwbwbw---");
}

// A failed walk, as the tag dispatcher hands it on, plays the wall bump (a
// rising triangle); a second one while the view is still away plays nothing.
TEST_F(AutomapPanel, AWalkFailPlaysTheWallBump)
{
    // Sound switched on, with no stream to take the sounds away.
    vusk_audio_object::global_audio_enabled = 1;
    automap_tag_owner &owner = *panel;
    owner.walk_fail("0", 1);
    EXPECT_EQ(vusk_audio_object::playing_count(), 1);
    owner.walk_fail("1", 1);
    EXPECT_EQ(vusk_audio_object::playing_count(), 1);
    std::vector<short> samples;
    for (int i = 0; i < 3; ++i) {
        short left = 0, right = 0;
        vusk_audio_object::fetch_channel_data(&left, &right);
        samples.push_back(left);
    }
    EXPECT_EQ(samples, (std::vector<short>{74, 148, 222}));
    vusk_audio_object::global_audio_enabled = 0;
    vusk_audio_object::clear_queues();
}

TEST_F(AutomapPanel, TheCompassWalksOnlyWhileLoggedIn)
{
    const int s = renderer().window_size(), w = s / 2;
    gui::send_mouse(&renderer(), wxEVT_ENTER_WINDOW, wxPoint(w, 5));
    gui::send_mouse(&renderer(), wxEVT_LEFT_DOWN, wxPoint(w, 5));
    EXPECT_TRUE(main.sent.empty());
    EXPECT_FALSE(renderer().mouse_inside());

    log_in();
    gui::send_mouse(&renderer(), wxEVT_ENTER_WINDOW, wxPoint(w, 5));
    EXPECT_TRUE(renderer().mouse_inside());
    EXPECT_EQ(renderer().hover_sector(), sector_north);
    const std::pair<wxPoint, std::string> clicks[] = {
        {{w, 5}, "north"}, {{s - 3, s - 3}, "down"}, {{s - 3, 3}, "up"}, {{w, w}, ""}, {{w + 12, w - 12}, ""},
    };
    for (const auto &[where, command] : clicks) {
        main.sent.clear();
        gui::send_mouse(&renderer(), wxEVT_LEFT_DOWN, where);
        if (command.empty()) {
            EXPECT_TRUE(main.sent.empty()) << where.x << "," << where.y;
        } else {
            ASSERT_EQ(main.sent.size(), 1u) << command;
            EXPECT_EQ(main.sent[0].text, command);
            EXPECT_EQ(main.sent[0].echo, 1);
        }
    }
    gui::send_mouse(&renderer(), wxEVT_LEAVE_WINDOW, wxPoint(-1, -1));
    EXPECT_FALSE(renderer().mouse_inside());
}
