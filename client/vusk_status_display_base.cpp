#include "vusk_status_display_base.h"

#include "borders.h"
#include "frame_calls.h"
#include "newbie_flash.h"

namespace {
constexpr int initial_size = 20;
}

wxBEGIN_EVENT_TABLE(vusk_status_display_base, vusk_embedded_window)
    EVT_SET_FOCUS(vusk_status_display_base::OnFocusGot)
wxEND_EVENT_TABLE()

vusk_status_display_base::vusk_status_display_base(wxWindow *parent, int id, const wxString &name)
    : vusk_embedded_window(parent, id, name, wxDefaultPosition, wxSize(initial_size, initial_size), 0)
{
}

void vusk_status_display_base::draw_large_bar_bounds(vusk_bitmap &bitmap, int x, int y, int w, int h)
{
    bitmap.DrawLine(x, y, x, y + h + 1, vusk_WHITE);
    bitmap.DrawLine(x + w + 1, y, x + w + 1, y + h + 1, vusk_WHITE);
    bitmap.DrawLine(x, y + 1 + h / 2, x + w, y + 1 + h / 2, vusk_WHITE);
}

void vusk_status_display_base::draw_large_bar(vusk_bitmap &bitmap, int x, int y, int w, int h, int fill,
                                              const vusk_color &dark, const vusk_color &bright)
{
    draw_large_bar_bounds(bitmap, x, y, w, h);
    if (fill <= 0)
        return;
    bitmap.DrawFilledRectangle(x + 1, y + 1, x + fill, y + h, dark);
    bitmap.DrawLine(x + 1, y + 1, x + fill, y + 1, bright);
    bitmap.DrawLine(x + 1, y + h, x + fill, y + h, bright);
    if (fill != w) {
        bitmap.DrawPixel(x + fill, y + 1, vusk_BLACK);
        bitmap.DrawPixel(x + fill, y + h, vusk_BLACK);
    }
}

void vusk_status_display_base::draw_bottom_mode_border(vusk_bitmap &bitmap, int w, int h)
{
    if (flash_count <= 0) {
        draw_strong_border(bitmap, w, h, border_sides, nullptr);
        return;
    }
    const vusk_color flash = flash_count % 2 ? vusk_WHITE : vusk_BLACK;
    draw_strong_border(bitmap, w, h, border_sides | BORDER_TOP, &flash);
}

void vusk_status_display_base::start_newbie_demo_mode_flashing()
{
    start_newbie_flash({flash_shown, flash_count, flash_elapsed, flash_period});
    start_animation();
    flash_shown = flash_count;
    repaint();
}

int vusk_status_display_base::animation_callback(int milliseconds)
{
    if (advance_newbie_flash_one_step({flash_shown, flash_count, flash_elapsed, flash_period}, milliseconds))
        repaint();
    return flash_count > 0;
}

void vusk_status_display_base::change_button_font()
{
    ResetSize();
    repaint();
}

void vusk_status_display_base::change_theme()
{
    repaint();
}

void vusk_status_display_base::flush_repaint()
{
    if (!repaint_pending_)
        return;
    repaint_pending_ = false;
    repaint();
}

void vusk_status_display_base::OnFocusGot(wxFocusEvent &event)
{
    if (!focus_back_to_command_line(this))
        event.Skip();
}
