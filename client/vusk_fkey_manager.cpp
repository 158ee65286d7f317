#include "vusk_fkey_manager.h"

#include "button_label.h"
#include "button_row_layout.h"
#include "vusk_fkey_button.h"

static_assert(fkey_button_count == fkey_row_keys, "the dispatcher and the row agree on the keys");

vusk_fkey_manager::vusk_fkey_manager(wxWindow *parent, int) : vusk_transparent_window(parent)
{
    for (int number = 1; number <= fkey_button_count; ++number)
        keys[number - 1] = new vusk_fkey_button(parent, number);
}

void vusk_fkey_manager::setup_button(int number, const char *, const char *data)
{
    if (number < 1 || number > fkey_button_count)
        return;
    while (*data == '\n')
        ++data;
    if (*data == '\0') {
        key(number)->clear();
        return;
    }
    char label[button_text_max + 1];
    copy_first_line(label, data, button_text_max);
    key(number)->setup(label, 1, 1);
}

void vusk_fkey_manager::enable_buttons(bool on)
{
    for (vusk_fkey_button *k : keys)
        k->set_enable(on);
}

int vusk_fkey_manager::calc_min_xsize(int row_height) const
{
    return fkey_row_min_width(row_height);
}

void vusk_fkey_manager::show_handler(int new_shown)
{
    for (vusk_fkey_button *k : keys)
        k->Show(new_shown != 0);
}

void vusk_fkey_manager::resize()
{
    for (int i = 0; i < fkey_button_count; ++i) {
        const button_rect r = fkey_key_rect(x, y, h, i);
        keys[i]->SetSize(r.x, r.y, r.width, r.height);
    }
}

void vusk_fkey_manager::change_theme()
{
    for (vusk_fkey_button *k : keys)
        k->redraw_bitmaps();
}
