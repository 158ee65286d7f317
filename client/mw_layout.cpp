#include "mw_layout.h"

#include <algorithm>
#include <cstdint>

namespace {

panel_placement place(int x, int y, int width, int height)
{
    panel_placement p;
    p.placed = true;
    p.x = x;
    p.y = y;
    p.width = std::max(width, 1);
    p.height = std::max(height, 1);
    return p;
}

panel_visibility shown_if(bool on)
{
    return on ? panel_visibility::show : panel_visibility::hide;
}

bool automap_in_left_column(const mw_layout_settings &s)
{
    return s.automap_docked && s.automap_enable;
}

bool bottom_row_used(const mw_layout_settings &s)
{
    return s.fkey_button || s.popup_display;
}

// The direction pad and the hint buttons down the right edge; returns the
// central column's right edge.
int lay_out_right_column(mw_layout &out, const mw_layout_settings &s, const mw_panel_sizes &sizes)
{
    const int w = out.client_width;
    int right = w;
    if (s.direction_button || s.hint_button) {
        const int x = w - sizes.pad_width - mw_margin;
        int hint_top = mw_margin;
        if (s.direction_button) {
            out.direction_pad = place(x, mw_margin, sizes.pad_width, sizes.pad_height);
            hint_top = sizes.pad_height + mw_right_column_gap;
        }
        if (s.hint_button)
            out.hint_buttons = place(x, hint_top, sizes.pad_width, out.client_height - hint_top);
        right = w - sizes.pad_width - mw_right_column_gap;
    }
    out.direction_pad.visibility = shown_if(s.direction_button);
    out.hint_buttons.visibility = shown_if(s.hint_button);
    return right;
}

void lay_out_left_top(mw_layout &out, const mw_layout_settings &s, const mw_panel_sizes &sizes)
{
    int group_top = mw_margin;
    int group_width = mw_group_width;
    if (automap_in_left_column(s)) {
        out.automap = place(mw_margin, mw_margin, sizes.automap_width, sizes.automap_height);
        group_top = sizes.automap_height + mw_docked_automap_gap + mw_margin;
        group_width = sizes.automap_width;
    }
    if (s.group_status != 0)
        out.group_display = place(mw_margin, group_top, group_width, sizes.group_height);
}

void lay_out_left_bottom(mw_layout &out, const mw_layout_settings &s, const mw_panel_sizes &sizes)
{
    const int h = out.client_height;
    int group_bottom = h - mw_margin;
    int group_width = mw_group_width;
    if (automap_in_left_column(s)) {
        const int automap_top = h - mw_margin - sizes.automap_height;
        out.automap = place(mw_margin, automap_top, sizes.automap_width, sizes.automap_height);
        group_bottom = automap_top - mw_docked_automap_gap;
        group_width = sizes.automap_width;
    } else if (bottom_row_used(s)) {
        group_bottom = h - mw_bottom_row_height - mw_margin;
    }
    if (s.group_status != 0)
        out.group_display = place(mw_margin, group_bottom - sizes.group_height, group_width,
                                  sizes.group_height);
}

int central_column_left(const mw_layout_settings &s, const mw_panel_sizes &sizes)
{
    if (!is_left_layout(s.layout))
        return 0;
    if (automap_in_left_column(s))
        return sizes.automap_width + mw_right_column_gap;
    return s.group_status != 0 ? mw_left_column_width : 0;
}

// The function-key row and the popup bar along the bottom.
void lay_out_bottom_row(mw_layout &out, const mw_layout_settings &s, const mw_panel_sizes &sizes,
                        int top)
{
    int popup_left = out.column_left;
    if (s.fkey_button) {
        out.fkey_row = place(out.column_left, top, sizes.fkey_width, mw_bottom_row_height);
        popup_left += sizes.fkey_width;
    }
    if (s.popup_display)
        out.popup_bar = place(popup_left, top, out.client_width - popup_left, mw_bottom_row_height);
    out.fkey_row.visibility = shown_if(s.fkey_button);
    out.popup_bar.visibility = shown_if(s.popup_display);
}

// The status display above the input line; returns its top edge.
int lay_out_status_display(mw_layout &out, const mw_layout_settings &s, int bottom)
{
    int height = 0;
    if (s.enemy_hpbar_enable && s.hpbar_enable)
        height = 2 * mw_status_display_row;
    else if (s.enemy_hpbar_enable || s.hpbar_enable || s.exp_display)
        height = mw_status_display_row;
    if (height == 0)
        return bottom;
    out.status_display = place(out.column_left, bottom - height, out.column_width, height);
    return bottom - height;
}

// The channel window at the top of the column; returns its height.
int lay_out_channel_window(mw_layout &out, const mw_layout_settings &s, int space)
{
    if (!s.logged_in || !s.channel_window) {
        out.channel_window.visibility = panel_visibility::hide;
        return 0;
    }
    const int height = int(std::max<int64_t>(int64_t(s.channel_height) * space / 100, 1));
    out.channel_window = place(out.column_left, 0, out.column_width, height);
    out.channel_window.visibility = panel_visibility::show;
    return height;
}

} // namespace

mw_layout compute_mw_layout(int width, int height, int last_width, int last_height,
                            const mw_layout_settings &s, const mw_panel_sizes &sizes)
{
    mw_layout out;
    const bool minimised = width == 0 || height == 0;
    out.client_width = minimised ? last_width : width;
    out.client_height = minimised ? last_height : height;

    if (!s.automap_docked) {
        out.automap_frame_client = place(0, 0, sizes.automap_width, sizes.automap_height);
        out.automap = out.automap_frame_client;
    }
    int right = lay_out_right_column(out, s, sizes);
    if (s.layout == layout_left_top)
        lay_out_left_top(out, s, sizes);
    else if (s.layout == layout_left_bottom)
        lay_out_left_bottom(out, s, sizes);

    out.column_left = central_column_left(s, sizes);
    right = std::max(right, out.column_left + 1);
    out.column_width = right - out.column_left;

    int bottom = out.client_height;
    if (bottom_row_used(s))
        bottom -= mw_bottom_row_height;
    lay_out_bottom_row(out, s, sizes, bottom);
    if (s.status_bar) {
        bottom -= mw_status_bar_height;
        out.status_bar = place(out.column_left, bottom, out.column_width, mw_status_bar_height);
    }
    const int input_top = bottom - s.input_height;
    out.input_window = place(out.column_left, input_top, out.column_width, s.input_height);

    const int text_bottom = lay_out_status_display(out, s, input_top);
    const int channel_height = lay_out_channel_window(out, s, text_bottom);
    out.main_display = place(out.column_left, channel_height, out.column_width,
                             text_bottom - channel_height);
    return out;
}

bool note_client_size(int width, int height, int &last_width, int &last_height)
{
    if (width == last_width && height == last_height)
        return false;
    if (width != 0 && height != 0) {
        last_width = width;
        last_height = height;
    }
    return true;
}

overlay_layout compute_overlay_layout(const overlay_layout_input &in)
{
    overlay_layout out;
    out.apply_scrollbar = in.scrollbar_setting != in.scrollbar_enabled || in.force;

    const int t = in.text_width;
    int overlay_width = t / 5;
    int x = t - overlay_width - mw_overlay_gap;
    int group_top = mw_overlay_gap;
    if (in.has_automap) {
        const int top = 2 * in.automap_cell_size;
        overlay_width = in.automap_width;
        x = t - overlay_width - top;
        group_top = top;
        if (in.automap_overlaid) {
            out.automap = place(x, top, in.automap_width, in.automap_height);
            const bool shown = in.logged_in && in.automap_enable;
            out.automap.visibility = shown_if(shown);
            if (shown)
                group_top = top + in.automap_height + mw_overlay_gap;
        }
    }
    if (in.has_group && in.group_overlaid) {
        out.group_display = place(x, group_top, overlay_width, in.group_height);
        if (in.group_status == 0 || !in.group_has_members)
            out.group_display.visibility = panel_visibility::hide;
    }
    return out;
}
