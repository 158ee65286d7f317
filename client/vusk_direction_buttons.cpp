#include "vusk_direction_buttons.h"

#include "vusk_command_button.h"

namespace {

struct pad_entry {
    const char *label;
    const char *command;
    int exit_bit; // 0: always highlighted
};

// In direction_pad_button order.
const pad_entry pad_entries[direction_pad_button_count] = {
    {"NW", "nwest", 128}, {"N", "north", 1}, {"NE", "neast", 2},   {"W", "west", 64},
    {"Out", "out", 0},    {"E", "east", 4},  {"SW", "swest", 32},  {"S", "south", 16},
    {"SE", "seast", 8},   {"Up", "up", 256}, {"Dn", "down", 512},
};

} // namespace

vusk_direction_buttons::vusk_direction_buttons(wxWindow *parent, int) : vusk_transparent_window(parent)
{
    for (vusk_command_button *&b : buttons)
        b = new vusk_command_button(parent);
}

void vusk_direction_buttons::initial_setup()
{
    for (int i = 0; i < direction_pad_button_count; ++i)
        buttons[i]->setup(pad_entries[i].label, pad_entries[i].command, 0);
    buttons[pad_out]->highlight(1);
}

void vusk_direction_buttons::set_all_enabled(int enabled)
{
    for (vusk_command_button *b : buttons)
        b->set_enabled(enabled);
}

void vusk_direction_buttons::enable()
{
    set_all_enabled(1);
}

void vusk_direction_buttons::disable()
{
    set_all_enabled(0);
}

void vusk_direction_buttons::enable(int exit_mask)
{
    for (int i = 0; i < direction_pad_button_count; ++i) {
        if (pad_entries[i].exit_bit != 0)
            buttons[i]->highlight(exit_mask & pad_entries[i].exit_bit);
    }
}

void vusk_direction_buttons::show_handler(int new_shown)
{
    if (new_shown == 1)
        resize();
    for (vusk_command_button *b : buttons)
        b->Show(new_shown != 0);
}

void vusk_direction_buttons::resize()
{
    const auto rects = direction_pad_rects(x, y);
    for (int i = 0; i < direction_pad_button_count; ++i)
        buttons[i]->SetSize(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
}

void vusk_direction_buttons::change_theme()
{
    for (vusk_command_button *b : buttons)
        b->redraw_bitmaps();
}
