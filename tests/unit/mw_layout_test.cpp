#include "mw_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The settings of a fresh configuration record.
mw_layout_settings fresh_settings()
{
    mw_layout_settings s;
    s.layout = 2;
    s.automap_docked = true;
    s.automap_enable = true;
    s.direction_button = false;
    s.hint_button = true;
    s.fkey_button = false;
    s.popup_display = true;
    s.status_bar = true;
    s.group_status = 1;
    s.hpbar_enable = true;
    s.exp_display = true;
    s.enemy_hpbar_enable = true;
    s.input_height = 48;
    s.channel_window = false;
    s.channel_height = 25;
    s.logged_in = true;
    return s;
}

mw_panel_sizes typical_sizes()
{
    mw_panel_sizes sizes;
    sizes.pad_width = 97;
    sizes.pad_height = 130;
    sizes.automap_width = 200;
    sizes.automap_height = 150;
    sizes.group_height = 80;
    sizes.fkey_width = (46 - 5) * 8 + 30;
    return sizes;
}

void expect_rect(const panel_placement &p, int x, int y, int width, int height)
{
    EXPECT_TRUE(p.placed);
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.width, width);
    EXPECT_EQ(p.height, height);
}

std::vector<const panel_placement *> all_panels(const mw_layout &l)
{
    return {&l.automap_frame_client, &l.automap, &l.direction_pad, &l.hint_buttons,
            &l.group_display, &l.fkey_row, &l.popup_bar, &l.status_bar,
            &l.input_window, &l.status_display, &l.channel_window, &l.main_display};
}

} // namespace

TEST(MainFrameLayout, LeftBottomLayoutStacksTheColumnFromTheBottomUp)
{
    const mw_layout l = compute_mw_layout(984, 700, 0, 0, fresh_settings(), typical_sizes());

    EXPECT_EQ(l.direction_pad.visibility, panel_visibility::hide);
    EXPECT_FALSE(l.direction_pad.placed);
    expect_rect(l.hint_buttons, 885, 2, 97, 698);
    EXPECT_EQ(l.hint_buttons.visibility, panel_visibility::show);

    expect_rect(l.automap, 2, 548, 200, 150);
    expect_rect(l.group_display, 2, 458, 200, 80);
    EXPECT_FALSE(l.automap_frame_client.placed);

    EXPECT_EQ(l.column_left, 204);
    EXPECT_EQ(l.column_width, 679);
    EXPECT_EQ(l.fkey_row.visibility, panel_visibility::hide);
    expect_rect(l.popup_bar, 204, 654, 780, 46);
    EXPECT_EQ(l.popup_bar.visibility, panel_visibility::show);
    expect_rect(l.status_bar, 204, 633, 679, 21);
    expect_rect(l.input_window, 204, 585, 679, 48);
    expect_rect(l.status_display, 204, 543, 679, 42);
    EXPECT_EQ(l.channel_window.visibility, panel_visibility::hide);
    expect_rect(l.main_display, 204, 0, 679, 543);
}

TEST(MainFrameLayout, LeftBottomGroupWithoutAutomapEndsAboveTheBottomRow)
{
    mw_layout_settings s = fresh_settings();
    s.automap_enable = false;
    const mw_layout l = compute_mw_layout(984, 700, 0, 0, s, typical_sizes());
    expect_rect(l.group_display, 2, 700 - 46 - 2 - 80, 160, 80);
    EXPECT_FALSE(l.automap.placed);
    EXPECT_EQ(l.column_left, 164);

    s.popup_display = false;
    const mw_layout bare = compute_mw_layout(984, 700, 0, 0, s, typical_sizes());
    expect_rect(bare.group_display, 2, 700 - 2 - 80, 160, 80);
    EXPECT_EQ(bare.popup_bar.visibility, panel_visibility::hide);
    expect_rect(bare.status_bar, 164, 700 - 21, 984 - 97 - 4 - 164, 21);
}

TEST(MainFrameLayout, LeftTopPutsTheGroupDisplayUnderTheDockedAutomap)
{
    mw_layout_settings s = fresh_settings();
    s.layout = 1;
    mw_panel_sizes sizes = typical_sizes();
    const mw_layout l = compute_mw_layout(984, 700, 0, 0, s, sizes);
    expect_rect(l.automap, 2, 2, 200, 150);
    expect_rect(l.group_display, 2, 162, 200, 80);
    EXPECT_EQ(l.column_left, 204);

    s.automap_enable = false;
    const mw_layout no_map = compute_mw_layout(984, 700, 0, 0, s, sizes);
    EXPECT_FALSE(no_map.automap.placed);
    expect_rect(no_map.group_display, 2, 2, 160, 80);
    EXPECT_EQ(no_map.column_left, 164);

    s.group_status = 0;
    const mw_layout nothing_left = compute_mw_layout(984, 700, 0, 0, s, sizes);
    EXPECT_FALSE(nothing_left.group_display.placed);
    EXPECT_EQ(nothing_left.column_left, 0);
}

TEST(MainFrameLayout, UndockedAutomapSizesItsOwnFrameInEveryLayout)
{
    mw_layout_settings s = fresh_settings();
    s.automap_docked = false;
    for (int layout : {0, 1, 2}) {
        s.layout = layout;
        const mw_layout l = compute_mw_layout(984, 700, 0, 0, s, typical_sizes());
        expect_rect(l.automap_frame_client, 0, 0, 200, 150);
        expect_rect(l.automap, 0, 0, 200, 150);
        EXPECT_EQ(l.column_left, layout == 0 ? 0 : 164) << "layout " << layout;
    }
}

TEST(MainFrameLayout, EmbeddedLayoutLeavesTheLeftColumnEmpty)
{
    mw_layout_settings s = fresh_settings();
    s.layout = 0;
    s.direction_button = true;
    s.fkey_button = true;
    const mw_layout l = compute_mw_layout(984, 700, 0, 0, s, typical_sizes());

    EXPECT_FALSE(l.automap.placed);
    EXPECT_FALSE(l.group_display.placed);
    EXPECT_EQ(l.column_left, 0);
    expect_rect(l.direction_pad, 885, 2, 97, 130);
    expect_rect(l.hint_buttons, 885, 134, 97, 566);
    EXPECT_EQ(l.column_width, 883);
    expect_rect(l.fkey_row, 0, 654, 358, 46);
    EXPECT_EQ(l.fkey_row.visibility, panel_visibility::show);
    expect_rect(l.popup_bar, 358, 654, 984 - 358, 46);
}

TEST(MainFrameLayout, UnknownLayoutValuesActAsEmbedded)
{
    mw_layout_settings s = fresh_settings();
    s.layout = 0;
    const mw_layout embedded = compute_mw_layout(984, 700, 0, 0, s, typical_sizes());
    for (int layout : {3, -1, 1000}) {
        s.layout = layout;
        const mw_layout l = compute_mw_layout(984, 700, 0, 0, s, typical_sizes());
        EXPECT_EQ(l.column_left, embedded.column_left);
        EXPECT_FALSE(l.group_display.placed);
        expect_rect(l.main_display, embedded.main_display.x, embedded.main_display.y,
                    embedded.main_display.width, embedded.main_display.height);
    }
}

TEST(MainFrameLayout, WithAllBarsOffTheMainDisplayFillsAllButTheRightColumn)
{
    mw_layout_settings s;
    s.hint_button = true;
    s.input_height = 48;
    const mw_layout l = compute_mw_layout(984, 700, 0, 0, s, typical_sizes());
    expect_rect(l.input_window, 0, 652, 883, 48);
    EXPECT_FALSE(l.status_bar.placed);
    EXPECT_FALSE(l.status_display.placed);
    expect_rect(l.main_display, 0, 0, 883, 652);

    s.hint_button = false;
    const mw_layout full = compute_mw_layout(984, 700, 0, 0, s, typical_sizes());
    EXPECT_EQ(full.column_width, 984);
    EXPECT_EQ(full.hint_buttons.visibility, panel_visibility::hide);
}

TEST(MainFrameLayout, StatusDisplayHeightFollowsItsBars)
{
    mw_layout_settings s = fresh_settings();
    const mw_panel_sizes sizes = typical_sizes();
    EXPECT_EQ(compute_mw_layout(984, 700, 0, 0, s, sizes).status_display.height, 42);

    s.hpbar_enable = false;
    s.enemy_hpbar_enable = false;
    const mw_layout exp_only = compute_mw_layout(984, 700, 0, 0, s, sizes);
    EXPECT_EQ(exp_only.status_display.height, 21);
    EXPECT_EQ(exp_only.main_display.height, exp_only.input_window.y - 21);

    s.enemy_hpbar_enable = true;
    s.exp_display = false;
    EXPECT_EQ(compute_mw_layout(984, 700, 0, 0, s, sizes).status_display.height, 21);

    s.enemy_hpbar_enable = false;
    EXPECT_FALSE(compute_mw_layout(984, 700, 0, 0, s, sizes).status_display.placed);
}

TEST(MainFrameLayout, ChannelWindowTakesItsShareAboveTheStatusDisplayWhenLoggedIn)
{
    mw_layout_settings s;
    s.channel_window = true;
    s.channel_height = 30;
    s.input_height = 100;
    s.logged_in = true;
    const mw_layout l = compute_mw_layout(800, 700, 0, 0, s, typical_sizes());
    ASSERT_EQ(l.input_window.y, 600);
    expect_rect(l.channel_window, 0, 0, 800, 180);
    EXPECT_EQ(l.channel_window.visibility, panel_visibility::show);
    expect_rect(l.main_display, 0, 180, 800, 420);

    s.logged_in = false;
    const mw_layout out = compute_mw_layout(800, 700, 0, 0, s, typical_sizes());
    EXPECT_EQ(out.channel_window.visibility, panel_visibility::hide);
    EXPECT_FALSE(out.channel_window.placed);
    expect_rect(out.main_display, 0, 0, 800, 600);
}

TEST(MainFrameLayout, MinimisedFrameLaysOutWithTheLastNonzeroSize)
{
    const mw_layout_settings s = fresh_settings();
    const mw_layout normal = compute_mw_layout(984, 700, 0, 0, s, typical_sizes());
    for (auto size : {std::pair{0, 0}, std::pair{0, 500}, std::pair{500, 0}}) {
        const mw_layout l = compute_mw_layout(size.first, size.second, 984, 700, s, typical_sizes());
        EXPECT_EQ(l.client_width, 984);
        EXPECT_EQ(l.client_height, 700);
        expect_rect(l.main_display, normal.main_display.x, normal.main_display.y,
                    normal.main_display.width, normal.main_display.height);
    }
}

TEST(MainFrameLayout, NarrowClientGivesTheColumnOnePixel)
{
    mw_layout_settings s = fresh_settings();
    s.layout = 1;
    const mw_layout l = compute_mw_layout(150, 700, 0, 0, s, typical_sizes());
    EXPECT_EQ(l.column_left, 204);
    EXPECT_EQ(l.column_width, 1);
    EXPECT_EQ(l.main_display.width, 1);
    EXPECT_EQ(l.input_window.width, 1);
}

TEST(MainFrameLayout, DegenerateSizesNeverGiveAPanelLessThanOnePixel)
{
    mw_layout_settings s = fresh_settings();
    s.direction_button = true;
    s.fkey_button = true;
    s.channel_window = true;
    s.input_height = 800;
    for (int layout : {0, 1, 2})
        for (auto size : {std::pair{0, 0}, std::pair{1, 1}, std::pair{10, 10},
                          std::pair{3000, 5}, std::pair{5, 3000}}) {
            s.layout = layout;
            const mw_layout l = compute_mw_layout(size.first, size.second, 0, 0, s,
                                                  typical_sizes());
            for (const panel_placement *p : all_panels(l)) {
                EXPECT_GE(p->width, 1);
                EXPECT_GE(p->height, 1);
            }
            EXPECT_GE(l.column_width, 1);
        }
}

TEST(MainFrameLayout, SizeEventsRelayOutOnlyOnAChange)
{
    int last_width = 0;
    int last_height = 0;
    EXPECT_TRUE(note_client_size(984, 700, last_width, last_height));
    EXPECT_EQ(last_width, 984);
    EXPECT_EQ(last_height, 700);
    EXPECT_FALSE(note_client_size(984, 700, last_width, last_height));

    EXPECT_TRUE(note_client_size(0, 0, last_width, last_height));
    EXPECT_EQ(last_width, 984);
    EXPECT_EQ(last_height, 700);
    EXPECT_TRUE(note_client_size(984, 0, last_width, last_height));
    EXPECT_EQ(last_height, 700);

    EXPECT_TRUE(note_client_size(640, 480, last_width, last_height));
    EXPECT_EQ(last_width, 640);
}

namespace {
overlay_layout_input text_area(int width)
{
    overlay_layout_input in;
    in.text_width = width;
    in.logged_in = true;
    in.automap_enable = true;
    in.group_status = 1;
    in.has_group = true;
    in.group_overlaid = true;
    in.group_has_members = true;
    in.group_height = 60;
    return in;
}

overlay_layout_input with_overlaid_automap(overlay_layout_input in)
{
    in.has_automap = true;
    in.automap_overlaid = true;
    in.automap_cell_size = 8;
    in.automap_width = 200;
    in.automap_height = 150;
    return in;
}
} // namespace

TEST(MainDisplayOverlays, GroupAloneSitsInTheTopRightFifth)
{
    const overlay_layout o = compute_overlay_layout(text_area(800));
    expect_rect(o.group_display, 630, 10, 160, 60);
    EXPECT_EQ(o.group_display.visibility, panel_visibility::unchanged);
    EXPECT_FALSE(o.automap.placed);
}

TEST(MainDisplayOverlays, GroupHidesWhenOffOrEmptyButIsStillPlaced)
{
    overlay_layout_input in = text_area(800);
    in.group_status = 0;
    overlay_layout o = compute_overlay_layout(in);
    EXPECT_EQ(o.group_display.visibility, panel_visibility::hide);
    expect_rect(o.group_display, 630, 10, 160, 60);

    in = text_area(800);
    in.group_has_members = false;
    EXPECT_EQ(compute_overlay_layout(in).group_display.visibility, panel_visibility::hide);

    in = text_area(800);
    in.group_overlaid = false;
    EXPECT_FALSE(compute_overlay_layout(in).group_display.placed);
}

TEST(MainDisplayOverlays, OverlaidAutomapShowsOnlyWhenLoggedInAndEnabled)
{
    overlay_layout_input in = with_overlaid_automap(text_area(800));
    overlay_layout o = compute_overlay_layout(in);
    expect_rect(o.automap, 800 - 200 - 16, 16, 200, 150);
    EXPECT_EQ(o.automap.visibility, panel_visibility::show);
    expect_rect(o.group_display, 584, 16 + 150 + 10, 200, 60);

    in.automap_enable = false;
    o = compute_overlay_layout(in);
    EXPECT_EQ(o.automap.visibility, panel_visibility::hide);
    expect_rect(o.group_display, 584, 16, 200, 60);

    in.automap_enable = true;
    in.logged_in = false;
    o = compute_overlay_layout(in);
    EXPECT_EQ(o.automap.visibility, panel_visibility::hide);
    EXPECT_EQ(o.group_display.y, 16);
}

TEST(MainDisplayOverlays, AutomapElsewhereStillSetsTheGroupColumn)
{
    overlay_layout_input in = with_overlaid_automap(text_area(800));
    in.automap_overlaid = false;
    const overlay_layout o = compute_overlay_layout(in);
    EXPECT_FALSE(o.automap.placed);
    expect_rect(o.group_display, 584, 16, 200, 60);
}

TEST(MainDisplayOverlays, TinyTextAreaKeepsSizesPositive)
{
    overlay_layout_input in = text_area(3);
    in.force = true;
    const overlay_layout o = compute_overlay_layout(in);
    EXPECT_EQ(o.group_display.width, 1);
    EXPECT_EQ(o.group_display.x, 3 - 0 - 10);
    EXPECT_TRUE(o.apply_scrollbar);
    in.force = false;
    in.scrollbar_setting = in.scrollbar_enabled = true;
    EXPECT_FALSE(compute_overlay_layout(in).apply_scrollbar);
}
