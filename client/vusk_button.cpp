#include "vusk_button.h"

#include "global_fonts.h"
#include "util.h"
#include "vusk_font.h"

#include <algorithm>

vusk_button::vusk_button(wxWindow *parent, int id) : vusk_image_button(parent, id) {}

void vusk_button::set_name(const char *text)
{
    safe_strcpy(name, text, button_text_max + 1);
    redraw_bitmaps();
}

void vusk_button::highlight(int on)
{
    highlighted = on;
    redraw_bitmaps();
}

void vusk_button::resize(int changed)
{
    if (changed)
        redraw_bitmaps();
}

void vusk_button::redraw_bitmaps()
{
    images_changed();
}

void vusk_button::paint_images()
{
    paint_state_images(text_button_recipes(toggle_mode != 0, highlighted != 0),
                       [this](vusk_bitmap &bitmap, const vusk_color *colour) {
                           draw_button_text(bitmap, name, *colour);
                       });
}

void vusk_button::draw_button_text(vusk_bitmap &bitmap, const char *text, const vusk_color &colour)
{
    const wxSize size = GetClientSize();
    const int w = size.GetWidth();
    const int h = size.GetHeight();
    char shown[button_line_max_chars + 1];
    safe_strcpy(shown, text, get_max_char_count(global_button_large_font, text, w, h) + 1);
    int text_width = 0;
    int text_height = 0;
    global_button_large_font->GetTextSize(shown, &text_width, &text_height);
    bitmap.RenderTextTransparent(*global_button_large_font, shown, std::max(w / 2 - text_width / 2, 0),
                                 std::max(h / 2 - text_height / 2, 0), colour);
}
