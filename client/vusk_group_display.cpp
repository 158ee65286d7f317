#include "vusk_group_display.h"

#include "borders.h"
#include "frame_calls.h"
#include "global_fonts.h"
#include "group_message.h"
#include "mouse_event_table.h"
#include "panel_tooltip.h"
#include "tqconfig.h"
#include "vusk_font.h"
#include "vusk_theme.h"

namespace {

constexpr int initial_size = 20;
constexpr int border_slot = 1;
const char height_sample_text[] = "Abcdefg";
const char tip_start[] = "Status for group member '";
const char tip_end[] = "'.";

} // namespace

wxBEGIN_EVENT_TABLE(vusk_group_display, vusk_embedded_window)
    EVT_SET_FOCUS(vusk_group_display::OnFocusGot)
    VUSK_EVT_MOUSE_13(vusk_group_display::mouse_event_handler)
wxEND_EVENT_TABLE()

vusk_group_display::vusk_group_display(wxWindow *parent, int id, const wxString &name)
    : vusk_embedded_window(parent, id, name, wxDefaultPosition, wxSize(initial_size, initial_size), 0)
{
    reset();
    change_button_font();
}

void vusk_group_display::reset()
{
    Hide();
    entries.clear();
}

bool vusk_group_display::update(const char *data)
{
    entries = parse_group_message(data);
    if (entries.empty()) {
        Hide();
        return false;
    }
    const bool changed = reposition_window() != 0;
    Show(TConfig::Instance()->GetGroupStatus() != 0);
    repaint_soon();
    return changed;
}

int vusk_group_display::get_ysize() const
{
    return group_ysize(entries, row_height, short_row_height);
}

int vusk_group_display::reposition_window()
{
    const int height = get_ysize();
    const wxRect now = GetRect();
    if (height == now.GetHeight())
        return 0;
    int y = now.GetY();
    if (TConfig::Instance()->GetLayout() == layout_left_bottom)
        y = now.GetY() + now.GetHeight() - height;
    SetSize(now.GetX(), y, now.GetWidth(), height);
    return 1;
}

void vusk_group_display::change_button_font()
{
    int width = 0, height = 0;
    global_button_large_font->GetTextSize(height_sample_text, &width, &height);
    short_row_height = height - 2;
    row_height = 2 * (height - 2) - 2;
    reposition_window();
    repaint();
}

void vusk_group_display::resize(int) {}

void vusk_group_display::repaint_dc(vusk_bitmap &bitmap)
{
    const int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    const vusk_color border = current_button_theme[border_slot];
    const int group_status = TConfig::Instance()->GetGroupStatus();
    bitmap.Clear(vusk_BLACK);
    int y = 1;
    bool dash_seen = false;
    for (const hpbar_display_data &row : entries) {
        if (row.kind == row_dash && !dash_seen) {
            if (&row != &entries.front()) {
                y += 1;
                bitmap.DrawLine(2, y, w - 3, y, border);
            }
            y += group_separator_space;
            dash_seen = true;
        }
        const int height = group_row_height(row, row_height, short_row_height);
        row.draw_hp_bars(bitmap, 1, y, w - 2, height, dock_state, group_status);
        y += height + 1;
    }
    draw_thin_border(bitmap, border, w, h);
}

std::string vusk_group_display::tooltip_at(int y) const
{
    const int row = group_row_at(entries, y, row_height, short_row_height);
    return row < 0 ? std::string() : tip_start + entries[size_t(row)].name + tip_end;
}

void vusk_group_display::mouse_event_handler(wxMouseEvent &event)
{
    show_panel_tooltip(this, tooltip_, tooltip_at(event.GetY()));
}

void vusk_group_display::OnFocusGot(wxFocusEvent &event)
{
    if (!focus_back_to_command_line(this))
        event.Skip();
}
