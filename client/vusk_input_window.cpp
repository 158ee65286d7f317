#include "vusk_input_window.h"

#include "borders.h"
#include "native_window.h"
#include "newbie_flash.h"
#include "vusk_bitmap.h"

#include <algorithm>

namespace {
constexpr int initial_size = 20;
constexpr int all_sides = 15;
constexpr int line_x = 2;
constexpr int line_y = 1;
}

vusk_input_window::vusk_input_window(wxWindow *parent, int id, const wxString &name)
    : vusk_embedded_window(parent, id, name, wxDefaultPosition, wxSize(initial_size, initial_size), 0),
      line_edit(this, id, name + wxS(" input window"))
{
}

void vusk_input_window::SetFocus()
{
    line_edit.SetFocus();
}

void vusk_input_window::resize(int /*changed*/)
{
    wxSize size = GetClientSize();
    // Never narrower than GTK lets it be (its scrollbar asserts); what does
    // not fit is cut off at the window's edge.
    line_edit.SetSize(line_x, line_y,
                      std::max(size.GetWidth() - 2 * line_x, native_minimum_size(line_edit).GetWidth()),
                      std::max(size.GetHeight() - 2 * line_y, 1));
    repaint();
}

int vusk_input_window::animation_callback(int milliseconds)
{
    if (advance_newbie_flash({flash_shown, flash_count, flash_elapsed, flash_period}, milliseconds))
        repaint();
    return flash_count > 0;
}

void vusk_input_window::repaint_dc(vusk_bitmap &bitmap)
{
    bitmap.Clear(vusk_BLACK);
    vusk_color flash = flash_count % 2 ? vusk_WHITE : vusk_BLACK;
    draw_strong_border(bitmap, bitmap.GetWidth(), bitmap.GetHeight(), all_sides,
                       flash_count > 0 ? &flash : nullptr);
}

void vusk_input_window::start_newbie_demo_mode_flashing()
{
    start_newbie_flash({flash_shown, flash_count, flash_elapsed, flash_period});
    start_animation();
}
