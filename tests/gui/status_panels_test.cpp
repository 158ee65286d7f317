// The status display, the status bar with its sky, and the group display as
// a player sees them: the pixels they paint for known values.
#include "builtin_images.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "tqconfig.h"
#include "vusk_group_display.h"
#include "vusk_status_bar.h"
#include "vusk_status_display.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

constexpr vusk_color health_dark(128, 0, 0);
constexpr vusk_color mana_dark(0, 64, 160);
constexpr vusk_color health_bright(255, 32, 32);
constexpr vusk_color enemy_dark(128, 64, 32);
constexpr vusk_color member_health(160, 0, 0);
constexpr vusk_color member_mana(0, 64, 160);

vusk_color pixel(const vusk_bitmap &bitmap, int x, int y)
{
    vusk_color colour;
    bitmap.with_pixels([&](const pixel_view &view) { colour = view.color_at(x, y); });
    return colour;
}

// How many columns from x0 on have `colour` in row y.
int run_of(const vusk_bitmap &bitmap, int x0, int y, const vusk_color &colour)
{
    int count = 0;
    bitmap.with_pixels([&](const pixel_view &view) {
        while (x0 + count < view.width() && view.color_at(x0 + count, y) == colour)
            ++count;
    });
    return count;
}

// Pixels within the rectangle that pass `test`.
template <class Test> int count_if(const vusk_bitmap &bitmap, const wxRect &area, Test test)
{
    int count = 0;
    bitmap.with_pixels([&](const pixel_view &view) {
        for (int y = area.GetTop(); y <= area.GetBottom(); ++y)
            for (int x = area.GetLeft(); x <= area.GetRight(); ++x)
                count += test(view.color_at(x, y));
    });
    return count;
}

int count_of(const vusk_bitmap &bitmap, const wxRect &area, const vusk_color &colour)
{
    return count_if(bitmap, area, [&](const vusk_color &c) { return c == colour; });
}

int lit_pixels(const vusk_bitmap &bitmap, const wxRect &area)
{
    return area.GetWidth() * area.GetHeight() - count_of(bitmap, area, vusk_BLACK);
}

class Panels : public testing::Test {
protected:
    void SetUp() override
    {
        gui::prepare_client();
        construct_all_images();
        ASSERT_TRUE(gui::show_and_wait(&frame));
    }

    template <class Panel> vusk_bitmap painted(Panel &panel)
    {
        vusk_bitmap bitmap(panel.GetSize().x, panel.GetSize().y);
        panel.repaint_dc(bitmap);
        return bitmap;
    }

    gui::test_frame frame{wxSize(900, 300)};
};

class StatusDisplay : public Panels {
protected:
    void SetUp() override
    {
        Panels::SetUp();
        display = new vusk_status_display(frame.area, wxID_ANY, wxS("status"));
        display->hpbar_enable = display->enemy_hpbar_enable = display->exp_display = 1;
        display->SetSize(0, 0, 800, 42);
    }

    int health_fill(int value, int maximum)
    {
        display->hp = value;
        display->hpmax = maximum;
        const status_display_geometry &g = display->geometry();
        return run_of(painted(*display), g.hp_x, g.hp_row_y + 2, health_dark);
    }

    vusk_status_display *display = nullptr;
};

class Group : public Panels {
protected:
    void SetUp() override
    {
        Panels::SetUp();
        group = new vusk_group_display(frame.area, wxID_ANY, wxS("group"));
        TConfig::Instance()->SetGroupStatus(1);
        TConfig::Instance()->SetLayout(1);
        group->dock_state = dock_on_frame;
        group->SetSize(2, 200, 160, 1);
    }

    vusk_group_display *group = nullptr;
};

} // namespace

TEST_F(StatusDisplay, BarsFillTheirShareAndNeverLeaveTheBar)
{
    const int w = display->geometry().bar_width;
    ASSERT_GT(w, 100);
    EXPECT_EQ(health_fill(-1, 1), 0); // before any "hp" tag
    EXPECT_EQ(health_fill(0, 80), 0);
    EXPECT_EQ(health_fill(40, 80), w / 2);
    EXPECT_EQ(health_fill(80, 80), w);
    EXPECT_EQ(health_fill(500, 80), w);
    EXPECT_EQ(health_fill(-30, 80), 0);
    EXPECT_EQ(health_fill(0, 0), 0);
    EXPECT_EQ(health_fill(INT_MAX, INT_MAX), w);
    EXPECT_EQ(health_fill(INT_MAX / 2, INT_MAX), w / 2 - 1);

    display->mana = 30, display->manamax = 60;
    const status_display_geometry &g = display->geometry();
    EXPECT_EQ(run_of(painted(*display), g.mana_x, g.hp_row_y + 2, mana_dark), w / 2);
}

TEST_F(StatusDisplay, TickMarksShowWhichHundredsTheValueHasReached)
{
    const status_display_geometry &g = display->geometry();
    const int middle = g.hp_row_y + g.bar_height / 2;
    const int first = g.hp_x + 100 * g.bar_width / 300, second = g.hp_x + 200 * g.bar_width / 300;
    display->hp = 250, display->hpmax = 300;
    vusk_bitmap bitmap = painted(*display);
    for (int x : {first, second}) {
        EXPECT_EQ(pixel(bitmap, x, g.hp_row_y - 1), health_bright);
        EXPECT_EQ(pixel(bitmap, x, g.hp_row_y + g.bar_height + 1), health_dark);
    }
    display->hp = 150;
    bitmap = painted(*display);
    EXPECT_EQ(pixel(bitmap, first, g.hp_row_y - 1), health_bright);
    EXPECT_EQ(pixel(bitmap, second, middle - 1), vusk_WHITE);
    EXPECT_EQ(pixel(bitmap, second, g.hp_row_y - 1), vusk_BLACK);

    // However large the maximum, every column holds a mark and the panel
    // paints at once.
    display->hp = 0, display->hpmax = INT_MAX;
    bitmap = painted(*display);
    EXPECT_EQ(count_of(bitmap, wxRect(g.hp_x, middle - 1, g.bar_width, 1), vusk_WHITE), g.bar_width);
}

TEST_F(StatusDisplay, ANarrowBarShowsEveryHundredOfItsMaximum)
{
    display->SetSize(0, 0, 90, 42);
    const status_display_geometry &g = display->geometry();
    ASSERT_EQ(g.bar_width, 15);
    const int middle = g.hp_row_y + g.bar_height / 2;
    display->hp = 0, display->hpmax = 1000;
    EXPECT_EQ(count_of(painted(*display), wxRect(g.hp_x, middle - 1, g.bar_width, 1), vusk_WHITE), 9);
    display->hp = 1000;
    EXPECT_EQ(count_of(painted(*display), wxRect(g.hp_x, g.hp_row_y - 1, g.bar_width, 1), health_bright), 9);
}

TEST_F(StatusDisplay, EnemyBarAndEightLayersOfExperience)
{
    const status_display_geometry &g = display->geometry();
    const int w = g.bar_width;
    display->enemy_percent = 50;
    EXPECT_EQ(run_of(painted(*display), g.hp_x, g.enemy_row_y + 2, enemy_dark), w / 2);
    display->enemy_percent = 400;
    EXPECT_EQ(run_of(painted(*display), g.hp_x, g.enemy_row_y + 2, enemy_dark), w);
    display->enemy_percent = -1;
    EXPECT_EQ(run_of(painted(*display), g.hp_x, g.enemy_row_y + 2, enemy_dark), 0);

    xp_percentages xp;
    for (int i = 0; i < 8; ++i)
        xp.percent[i] = 300 + 100 * i;
    display->display_xp_percentages(xp);
    const vusk_bitmap bitmap = painted(*display);
    const int shades[] = {48, 80, 112, 144, 176, 192, 192, 192};
    for (int i = 0; i < 8; ++i) {
        const int outer = w * display->exp[i] / 1000;
        const int inner = i < 7 ? w * display->exp[i + 1] / 1000 : 0;
        EXPECT_EQ(pixel(bitmap, g.exp_x + (outer + inner) / 2, g.enemy_row_y + 2), vusk_color(shades[i], 0, shades[i]))
            << "layer " << i;
    }
}

TEST_F(StatusDisplay, TooNarrowForLabelsShowsBareBarsAndTheEnemyName)
{
    display->SetSize(0, 0, 90, 42);
    EXPECT_EQ(display->geometry().text_mode, text_none);
    EXPECT_EQ(display->geometry().bar_width, 15);
    display->enemy_name = "a rat";
    const status_display_geometry &g = display->geometry();
    EXPECT_GT(lit_pixels(painted(*display), wxRect(g.hp_x + g.bar_width + 2, 0, 30, 21)), 0);
    EXPECT_EQ(display->tooltip_at(g.hp_x + 1, g.hp_row_y + 1), std::string("Your current health."));
    EXPECT_EQ(display->tooltip_at(g.hp_x + 1, g.enemy_row_y + 1), std::string("Your current enemy's health."));
    EXPECT_EQ(display->tooltip_at(g.exp_x + 1, g.enemy_row_y + 1),
              std::string("Your accumulated experience towards your next level."));
}

// The flash's first step shows at once over what was painted before; a tick
// of five periods still takes one step only, so all sixteen are seen.
TEST_F(StatusDisplay, TheFlashShowsAtOnceAndTakesOneStepPerTickHoweverLongTheTick)
{
    display->border_sides = 15;
    display->Show();
    const wxPoint left_edge(1, 20); // grey when not flashing
    ASSERT_TRUE(gui::refresh_and_wait(display));
    ASSERT_EQ(pixel(display->backing_bitmap(), left_edge.x, left_edge.y), vusk_GREY);
    display->start_newbie_demo_mode_flashing();
    std::string borders;
    for (int tick = 0; tick < 20 && display->is_animating(); ++tick) {
        const vusk_color edge = pixel(display->backing_bitmap(), left_edge.x, left_edge.y);
        borders += edge == vusk_BLACK ? 'b' : edge == vusk_WHITE ? 'w' : '?';
        vusk_embedded_window::animation_update(1000);
    }
    EXPECT_EQ(borders, "bwbwbwbwbwbwbwbw");
    EXPECT_FALSE(display->is_animating());
    EXPECT_EQ(pixel(display->backing_bitmap(), left_edge.x, left_edge.y), vusk_GREY);
}

TEST_F(Panels, SkyAtNightDawnNoonAndDusk)
{
    vusk_status_bar bar(frame.area, wxID_ANY, wxS("bar"));
    vusk_sky_bar &sky = bar.sky_bar;
    sky.SetSize(0, 0, 400, 19);
    for (int i = 0; i < vusk_sky_bar::star_count; ++i)
        sky.star_y[i] = 0.99f; // below the picture: out of sight
    sky.star_x[0] = 0.25f, sky.star_y[0] = 0.25f;
    sky.star_red[0] = 200, sky.star_green[0] = 210, sky.star_blue[0] = 220;

    bar.update_sky_display("110 1 0 midnight");
    vusk_bitmap night = painted(sky);
    EXPECT_EQ(pixel(night, 300, 10), vusk_BLACK);
    EXPECT_EQ(pixel(night, 200, 9), vusk_color(200, 210, 220));
    EXPECT_EQ(pixel(night, 170, 9), vusk_WHITE); // the moon at 0.425 of the width
    EXPECT_EQ(pixel(night, 0, 5), vusk_WHITE);
    EXPECT_EQ(bar.time_text, "midnight");

    bar.update_sky_display("110 1 397 6:37 am");
    const vusk_bitmap dawn = painted(sky);
    EXPECT_EQ(pixel(dawn, 300, 10), vusk_color(41, 83, 125));
    EXPECT_GT(pixel(dawn, 2, 10).r, 200); // the glow on the left

    bar.update_sky_display("110 1 720 noon");
    const vusk_bitmap noon = painted(sky);
    EXPECT_EQ(pixel(noon, 300, 10), vusk_color(85, 170, 255));
    EXPECT_EQ(pixel(noon, 200, 9), vusk_color(85, 170, 255)); // the star is lost in the sky
    EXPECT_EQ(pixel(noon, 170, 9), vusk_WHITE);                 // the sun

    bar.update_sky_display("110 1 -278 7:22 pm"); // minute 1162
    const vusk_bitmap dusk = painted(sky);
    const vusk_color sky_colour = pixel(dusk, 300, 10);
    EXPECT_EQ(sky_colour, vusk_color(43, 86, 129));
    EXPECT_GT(pixel(dusk, 397, 10).r, sky_colour.r + 100); // the glow on the right
    EXPECT_EQ(sky.tooltip(), "The sky is clear.");

    bar.update_sky_display("100 1 720 noon");
    EXPECT_EQ(pixel(painted(sky), 300, 10), vusk_BLACK);
    EXPECT_EQ(pixel(painted(sky), 0, 5), vusk_color(160, 160, 160));
    EXPECT_EQ(sky.tooltip(), "You can't see the sky from here.");
    bar.update_sky_display("100 noon 720 kept");
    EXPECT_EQ(bar.time_text, "noon");
}

TEST_F(Panels, StatusBarShowsIconsTimeAndPingAverage)
{
    vusk_status_bar bar(frame.area, wxID_ANY, wxS("bar"));
    bar.SetSize(0, 0, 800, 21);
    const wxRect first_icon(2, 2, 17, 17), second_icon(20, 2, 17, 17);
    bar.update_icon_display("10");
    vusk_bitmap bitmap = painted(bar);
    EXPECT_GT(lit_pixels(bitmap, first_icon), 20);
    EXPECT_EQ(lit_pixels(bitmap, second_icon), 0);
    EXPECT_EQ(bar.tooltip_at(10), "You are not wielding anything.");
    EXPECT_EQ(bar.tooltip_at(25), "");
    bar.update_icon_display("");
    EXPECT_EQ(lit_pixels(painted(bar), first_icon), 0);

    const status_bar_geometry &g = bar.geometry();
    const wxRect time_area(g.time_x - 40, g.text_y, g.time_right - g.time_x + 41, 12);
    EXPECT_EQ(lit_pixels(painted(bar), time_area), 0);
    bar.update_sky_display("110 1 725 12:05 pm");
    // Glyph edges blend into the black: grey of any depth.
    const auto grey = [](const vusk_color &c) { return c.r > 0 && c.r == c.g && c.g == c.b; };
    EXPECT_GT(count_if(painted(bar), time_area, grey), 20);

    const wxRect ping_area(g.ping_x, 1, g.ping_right - g.ping_x, 19);
    EXPECT_EQ(lit_pixels(painted(bar), ping_area), 0);
    for (int ms : {100, 200, 300, 400, 500})
        bar.record_ping_time(ms);
    EXPECT_EQ(bar.ping_average, 350);
    const auto green = [](const vusk_color &c) { return c.g > 0 && c.r == 0 && c.b == 0; };
    EXPECT_GT(count_if(painted(bar), ping_area, green), 20);
    bar.reset();
    EXPECT_EQ(lit_pixels(painted(bar), ping_area), 0);
    EXPECT_FALSE(bar.IsShown());
}

TEST_F(Group, AMemberAndAPetEachWithTheirBarsAndTooltips)
{
    EXPECT_TRUE(group->update("90 100 40 50 70 80 Alice\n5 10 0 0 6 7 .a wolf"));
    ASSERT_EQ(group->entries.size(), 2u);
    EXPECT_TRUE(group->IsShown());
    const int alice_bottom = 1 + group->row_height;
    EXPECT_EQ(group->GetSize().y, group->get_ysize());
    const vusk_bitmap bitmap = painted(*group);
    EXPECT_GT(count_of(bitmap, wxRect(1, 1, 60, alice_bottom), member_mana), 0);
    EXPECT_GT(count_of(bitmap, wxRect(1, alice_bottom + 1, 60, group->short_row_height), member_health), 0);
    EXPECT_EQ(count_of(bitmap, wxRect(1, alice_bottom + 1, 60, group->short_row_height), member_mana), 0);
    EXPECT_EQ(group->tooltip_at(5), "Status for group member 'Alice'.");
    EXPECT_EQ(group->tooltip_at(alice_bottom + 3), "Status for group member 'a wolf'.");

    // Health 0 of maximum 0 shows an empty bar.
    group->update("0 0 0 0 0 0 Zed");
    EXPECT_EQ(count_of(painted(*group), wxRect(0, 0, 160, group->GetSize().y), member_health), 0);

    EXPECT_FALSE(group->update("not a row\n90 100 40 50 70 80 Alice"));
    EXPECT_FALSE(group->IsShown());
    EXPECT_TRUE(group->entries.empty());
}

TEST_F(Group, StoredButHiddenWhileSwitchedOff)
{
    TConfig::Instance()->SetGroupStatus(0);
    group->update("90 100 40 50 70 80 Alice");
    EXPECT_EQ(group->entries.size(), 1u);
    EXPECT_FALSE(group->IsShown());
}

TEST_F(Group, GrowsUpwardFromAFixedBottomInTheLeftBottomLayout)
{
    TConfig::Instance()->SetLayout(2);
    group->update("1 1 1 1 1 1 Alice");
    const wxRect one = group->GetRect();
    group->update("1 1 1 1 1 1 Alice\n1 1 1 1 1 1 Bob");
    const wxRect two = group->GetRect();
    EXPECT_EQ(two.GetBottom(), one.GetBottom());
    EXPECT_EQ(one.GetTop() - two.GetTop(), group->row_height + 1);
    group->update("1 1 1 1 1 1 Alice\n1 1 1 1 1 1 Bob\n1 1 1 1 1 1 -horse-");
    EXPECT_EQ(two.GetTop() - group->GetRect().GetTop(), group->short_row_height + 1 + 6);
    EXPECT_EQ(group->GetRect().GetBottom(), one.GetBottom());

    TConfig::Instance()->SetLayout(1);
    const wxRect before = group->GetRect();
    group->update("1 1 1 1 1 1 Alice");
    EXPECT_EQ(group->GetRect().GetTop(), before.GetTop());
}

// The bar paints itself outside the toolkit's paint cycle; the sky, a window
// of its own inside it, must stay on the screen.
TEST_F(Panels, TheSkyStaysOnTheScreenWhenTheBarRepaints)
{
    vusk_status_bar *bar = new vusk_status_bar(frame.area, wxID_ANY, wxS("bar"));
    bar->SetSize(0, 0, 800, 21);
    bar->Show();
    bar->update_sky_display("110 1 720 noon");
    const vusk_color noon(85, 170, 255);
    const auto sky_shown = [&] { return gui::pixel_of(gui::capture_window(bar), 400, 15) == noon; };
    ASSERT_TRUE(gui::wait_until(sky_shown));
    bar->repaint();
    EXPECT_TRUE(sky_shown());
}
