#include "vusk_automap.h"

#include "automap_drawing.h"
#include "borders.h"
#include "global_fonts.h"
#include "newbie_flash.h"
#include "panel_calls.h"
#include "vusk_font.h"
#include "vusk_theme.h"

vusk_automap_display *global_automap_display = nullptr;

namespace {

constexpr int initial_panel_size = 20;
const char logged_out_caption[] = "  Map  ";
const char combat_caption[] = "Combat!";
constexpr vusk_color combat_color{255, 128, 128};
// The caption of the theme: the first colour of the button table.
constexpr int border_theme_slot = 0;

wxString renderer_name(const wxString &name)
{
    return name + wxS(" renderer");
}

}

wxBEGIN_EVENT_TABLE(vusk_automap_display, vusk_embedded_window)
    EVT_SET_FOCUS(vusk_automap_display::focus_handler)
wxEND_EVENT_TABLE()

vusk_automap_display::vusk_automap_display(wxWindow *parent, int id, const wxString &name)
    : vusk_embedded_window(parent, id, name, wxDefaultPosition, wxSize(initial_panel_size, initial_panel_size),
                           wxBORDER_NONE),
      renderer_(this, id, renderer_name(name))
{
    recalc_size();
    // The panel drives the map's animation on every tick, so it never
    // leaves the animation list.
    start_animation();
}

vusk_automap_display::~vusk_automap_display()
{
    if (global_automap_display == this)
        global_automap_display = nullptr;
}

void vusk_automap_display::recalc_size()
{
    const wxSize panel = automap_panel_size(renderer_.cell_size());
    SetSize(panel.GetWidth(), panel.GetHeight());
    const int s = renderer_.window_size();
    renderer_.SetSize(1, automap_map_top, s, s);
}

void vusk_automap_display::set_size(int cell_size)
{
    renderer_.set_size(cell_size);
    recalc_size();
}

void vusk_automap_display::incr_size()
{
    renderer_.incr_size();
    recalc_size();
}

void vusk_automap_display::decr_size()
{
    renderer_.decr_size();
    recalc_size();
}

void vusk_automap_display::map_message(const char *data, int length)
{
    renderer_.display_socket_data(data, length);
}

void vusk_automap_display::walk_fail(const char *data, int length)
{
    renderer_.walk_fail(data, length);
}

void vusk_automap_display::set_exit_mask(int exit_mask)
{
    renderer_.set_exit_mask(exit_mask);
}

void vusk_automap_display::set_area_name(const char *name)
{
    buffer_clear(area_name_);
    buffer_append(area_name_, name != nullptr ? name : "(null)");
    repaint_soon();
}

void vusk_automap_display::set_combat_mode(const char *)
{
    combat_ = true;
    repaint_soon();
}

void vusk_automap_display::clear_combat_mode(const char *)
{
    combat_ = false;
    repaint_soon();
}

void vusk_automap_display::full_clear()
{
    combat_ = false;
    buffer_clear(area_name_);
    renderer_.full_clear();
    repaint();
}

void vusk_automap_display::start_newbie_demo_mode_flashing()
{
    start_newbie_flash({flash_shown, flash_count, flash_elapsed, flash_period});
    start_animation();
    flash_shown = flash_count;
    repaint();
}

void vusk_automap_display::change_font()
{
    repaint();
}

void vusk_automap_display::change_button_font()
{
    repaint();
}

void vusk_automap_display::change_theme()
{
    repaint();
}

void vusk_automap_display::focus_handler(wxFocusEvent &event)
{
    if (!focus_back_to_command_line(this))
        event.Skip();
}

int vusk_automap_display::animation_callback(int milliseconds)
{
    renderer_.periodic_update();
    // A step taken on one tick shows on the next.
    const newbie_flash_state flash{flash_shown, flash_count, flash_elapsed, flash_period};
    if (note_newbie_flash_shown(flash))
        repaint();
    take_newbie_flash_step(flash, milliseconds);
    return 1;
}

void vusk_automap_display::repaint_dc(vusk_bitmap &bitmap)
{
    const int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    bitmap.DrawFilledRectangle(1, 1, w - 2, h - 2, vusk_BLACK);
    draw_caption(bitmap);
    draw_border(bitmap);
}

// "  Map  " and "Combat!" are as long, so both centre by the width of the one.
void vusk_automap_display::draw_caption(vusk_bitmap &bitmap)
{
    if (global_button_large_font == nullptr)
        return;
    const vusk_font &font = *global_button_large_font;
    int text_width = 0, text_height = 0;
    bitmap.GetTextSize(font, combat_caption, &text_width, &text_height);
    const int x = automap_caption_x(bitmap.GetWidth(), text_width);
    const int y = automap_caption_y(text_height);
    if (!panel_frame().logged_in())
        bitmap.RenderTextTransparent(font, logged_out_caption, x, y, vusk_WHITE);
    else if (combat_)
        bitmap.RenderTextTransparent(font, combat_caption, x, y, combat_color);
    else
        bitmap.RenderTextTransparent(font, area_name_.data, automap_area_name_x, y, vusk_WHITE);
}

void vusk_automap_display::draw_border(vusk_bitmap &bitmap)
{
    vusk_color colour = current_button_theme[border_theme_slot];
    if (flash_count > 0)
        colour = flash_count % 2 ? vusk_WHITE : vusk_BLACK;
    draw_thin_border(bitmap, colour, bitmap.GetWidth(), bitmap.GetHeight());
    bitmap.DrawLine(0, automap_separator_row, bitmap.GetWidth() - 1, automap_separator_row, colour);
}
