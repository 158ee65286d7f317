#include "vusk_hint_buttons.h"

#include "button_row_layout.h"
#include "vusk_command_button.h"

#include <cctype>
#include <cstring>

namespace {

constexpr int connect_button = 1;
constexpr int quit_button = hint_button_count;

// Whether the tag's number (from its second character, read as atoi reads
// it) is followed by a 't': such tags belong to another panel.
bool is_t_tag(const char *tag)
{
    const char *p = tag + 1;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    while (std::isdigit(static_cast<unsigned char>(*p)))
        ++p;
    return *p == 't';
}

} // namespace

vusk_hint_buttons::vusk_hint_buttons(wxWindow *parent, int) : vusk_transparent_window(parent)
{
    for (vusk_command_button *&b : buttons)
        b = new vusk_command_button(parent);
}

void vusk_hint_buttons::setup_button(int number, const char *tag, const char *data)
{
    if (number < 1 || number > hint_button_count || is_t_tag(tag))
        return;
    vusk_command_button *b = button(number);
    const char *newline = std::strchr(data, '\n');
    if (newline == nullptr || newline[1] == '\0') {
        b->setup("", nullptr, 0);
        b->highlight(0);
    } else {
        char label[button_text_max + 1];
        copy_first_line(label, data, button_text_max);
        b->setup(label, newline + 1, 1);
        b->highlight(1);
    }
    resize_lower();
}

void vusk_hint_buttons::clear()
{
    for (vusk_command_button *b : buttons)
        b->clear();
    resize_lower();
}

void vusk_hint_buttons::disable_cmd_buttons()
{
    for (vusk_command_button *b : buttons)
        b->setup("", nullptr, 0);
    resize_lower();
}

void vusk_hint_buttons::enable_disconnected_buttons()
{
    button(connect_button)->setup("Connect", "connect", 1);
    button(connect_button)->highlight(1);
    button(quit_button)->setup("Quit", "quit", 1);
    button(quit_button)->highlight(1);
}

void vusk_hint_buttons::start_newbie_demo_mode_flashing()
{
    for (vusk_command_button *b : buttons)
        b->start_newbie_demo_mode_flashing();
}

void vusk_hint_buttons::show_handler(int new_shown)
{
    if (new_shown == 1) {
        resize();
        return;
    }
    for (vusk_command_button *b : buttons)
        b->Show(false);
}

void vusk_hint_buttons::resize()
{
    resize_lower();
}

void vusk_hint_buttons::resize_lower()
{
    if (!shown)
        return;
    int top = y;
    bool follows_hidden = true;
    for (vusk_command_button *b : buttons) {
        const bool visible = b->get_button_state() != button_disabled;
        b->Show(visible);
        if (visible) {
            top = next_hint_top(top, follows_hidden);
            b->SetSize(x, top, hint_button_width, hint_button_height);
            b->repaint_soon();
            top += hint_button_pitch;
        }
        follows_hidden = !visible;
    }
}

void vusk_hint_buttons::change_theme()
{
    for (vusk_command_button *b : buttons)
        b->redraw_bitmaps();
}
