#ifndef VUSK_MW_LAYOUT_H
#define VUSK_MW_LAYOUT_H

// The main frame places its panels by hand, without sizers. This is that
// arithmetic on plain numbers: the frame gathers the client size, the
// settings and the panels' own sizes, and applies the placements it gets back.

#include "tqconfig.h"

// Heights, widths and gaps of the layout, in pixels.
constexpr int mw_margin = 2;
constexpr int mw_right_column_gap = 4;
constexpr int mw_bottom_row_height = 46;  // function-key row and popup bar
constexpr int mw_status_bar_height = 21;
constexpr int mw_status_display_row = 21; // one bar; two bars take twice that
constexpr int mw_group_width = 160;       // group display without a docked automap
constexpr int mw_left_column_width = 164; // group display alone
constexpr int mw_docked_automap_gap = 10;
constexpr int mw_overlay_gap = 10;

enum class panel_visibility { unchanged, show, hide };

// Where one panel goes. When `placed` is false the panel keeps its place;
// its visibility changes only as `visibility` says. Sizes are at least 1.
struct panel_placement {
    bool placed = false;
    int x = 0;
    int y = 0;
    int width = 1;
    int height = 1;
    panel_visibility visibility = panel_visibility::unchanged;
};

// Applies a placement to a panel: anything with the drawn windows' SetSize
// and the toolkit's Show.
template <class Panel>
void place_panel(Panel *panel, const panel_placement &placement)
{
    if (placement.placed)
        panel->SetSize(placement.x, placement.y, placement.width, placement.height);
    if (placement.visibility != panel_visibility::unchanged)
        panel->Show(placement.visibility == panel_visibility::show);
}

// The settings the layout reads, as the configuration's getters return them.
struct mw_layout_settings {
    int layout = 0; // 1 left top, 2 left bottom, anything else embedded
    bool automap_docked = false;
    bool automap_enable = false;
    bool direction_button = false;
    bool hint_button = false;
    bool fkey_button = false;
    bool popup_display = false;
    bool status_bar = false;
    int group_status = 0; // 0 off
    bool hpbar_enable = false;
    bool exp_display = false;
    bool enemy_hpbar_enable = false;
    int input_height = 48;
    bool channel_window = false;
    int channel_height = 25; // percent of the space above the status display
    bool logged_in = false;
};

// The sizes the panels ask for.
struct mw_panel_sizes {
    int pad_width = 0;   // direction pad's minimum size
    int pad_height = 0;
    int automap_width = 0;
    int automap_height = 0;
    int group_height = 1;
    int fkey_width = 0;  // function-key row's width at the bottom row's height
};

struct mw_layout {
    int client_width = 0;  // the size laid out (the last nonzero one when minimised)
    int client_height = 0;
    int column_left = 0;   // the central column
    int column_width = 1;
    panel_placement automap_frame_client; // client size of the automap's own frame
    panel_placement automap;
    panel_placement direction_pad;
    panel_placement hint_buttons;
    panel_placement group_display;
    panel_placement fkey_row;
    panel_placement popup_bar;
    panel_placement status_bar;
    panel_placement input_window;
    panel_placement status_display;
    panel_placement channel_window;
    panel_placement main_display;
};

// The layout of the whole frame for a client area of width by height; a zero
// width or height falls back to the last size seen.
mw_layout compute_mw_layout(int width, int height, int last_width, int last_height,
                            const mw_layout_settings &settings, const mw_panel_sizes &sizes);

// Decides what a size event does: returns false when the size is the one
// laid out last (nothing to do); otherwise remembers it, unless a side is 0
// (minimised), and returns true (lay out again).
bool note_client_size(int width, int height, int &last_width, int &last_height);

// The automap and group display floating over the main display's text area
// in the embedded layout.
struct overlay_layout_input {
    int text_width = 0;
    bool logged_in = false;
    bool automap_enable = false;
    int group_status = 0;

    bool has_automap = false;
    bool automap_overlaid = false; // its parent is the text area
    int automap_cell_size = 0;
    int automap_width = 0;
    int automap_height = 0;

    bool has_group = false;
    bool group_overlaid = false;
    bool group_has_members = false;
    int group_height = 1;

    // Scrollbar: applied when the setting differs from the display's state or
    // when forced.
    bool scrollbar_setting = false;
    bool scrollbar_enabled = false;
    bool force = false;
};

struct overlay_layout {
    bool apply_scrollbar = false;
    panel_placement automap;
    panel_placement group_display;
};

overlay_layout compute_overlay_layout(const overlay_layout_input &input);

#endif
