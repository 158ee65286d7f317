#include "vusk_fkey_button.h"

#include "button_calls.h"
#include "global_fonts.h"
#include "util.h"
#include "vusk_font.h"

#include <cstdio>

namespace {

constexpr int text_left = 2;
constexpr int name_top = 2;
// Bytes of "f%02d" and "F%d" for any int, with the terminator.
constexpr int alias_room = 16;

} // namespace

wxBEGIN_EVENT_TABLE(vusk_fkey_button, vusk_image_button)
    EVT_BUTTON(wxID_ANY, vusk_fkey_button::clicked_handler)
wxEND_EVENT_TABLE()

vusk_fkey_button::vusk_fkey_button(wxWindow *parent, int key_number)
    : vusk_image_button(parent, key_number), key_number(key_number)
{
    clear();
}

void vusk_fkey_button::setup(const char *label, int, int new_enabled)
{
    safe_strcpy(name, label, button_text_max + 1);
    char text[alias_room];
    std::snprintf(text, sizeof text, "f%02d", key_number);
    safe_strcpy(command, text, button_text_max + 1);
    std::snprintf(text, sizeof text, "F%d", key_number);
    fkey_string = text;
    enabled = new_enabled;
    construct_formatted_display_string(name);
    redraw_bitmaps();
}

void vusk_fkey_button::clear()
{
    setup(nullptr, 0, 0);
}

void vusk_fkey_button::set_enable(int on)
{
    if (enabled == on)
        return;
    enabled = on;
    redraw_bitmaps();
}

void vusk_fkey_button::resize(int)
{
    construct_formatted_display_string(name);
    redraw_bitmaps();
}

void vusk_fkey_button::construct_formatted_display_string(const char *label)
{
    const wxSize size = GetClientSize();
    lines = wrap_fkey_label(label, [&](const char *text) {
        return get_max_char_count(global_button_large_font, text, size.GetWidth(), size.GetHeight());
    });
}

void vusk_fkey_button::redraw_bitmaps()
{
    images_changed();
}

void vusk_fkey_button::paint_images()
{
    paint_state_images(fkey_button_recipes(enabled != 0), [this](vusk_bitmap &bitmap, const vusk_color *colour) {
        const int label_top = draw_button_fkey_string(bitmap);
        if (colour != nullptr)
            draw_button_text(bitmap, label_top, *colour);
    });
}

int vusk_fkey_button::draw_button_fkey_string(vusk_bitmap &bitmap)
{
    int height = 0;
    global_button_small_font->GetTextSize(fkey_string.c_str(), nullptr, &height);
    bitmap.RenderTextTransparent(*global_button_small_font, fkey_string.c_str(), text_left, name_top, vusk_WHITE);
    return height + 1;
}

void vusk_fkey_button::draw_button_text(vusk_bitmap &bitmap, int y, const vusk_color &colour)
{
    int line1_height = 0;
    global_button_large_font->GetTextSize(lines.line1.c_str(), nullptr, &line1_height);
    bitmap.RenderTextTransparent(*global_button_large_font, lines.line1.c_str(), text_left, y, colour);
    bitmap.RenderTextTransparent(*global_button_large_font, lines.line2.c_str(), text_left,
                                 y + line1_height - 1, colour);
}

void vusk_fkey_button::clicked_handler(wxCommandEvent &)
{
    if (button_frame().logged_in())
        button_frame().handle_async_control_command(command, 0);
    hand_back_to_command_line();
}
