#include "input_keys.h"

#include <wx/defs.h>

#include <cstdio>

namespace {
struct keypad_walk {
    int numlock_on;
    int numlock_off;
    const char *command;
};

const keypad_walk keypad_walks[] = {
    {WXK_NUMPAD1, WXK_NUMPAD_END, "southwest"},
    {WXK_NUMPAD2, WXK_NUMPAD_DOWN, "south"},
    {WXK_NUMPAD3, WXK_NUMPAD_PAGEDOWN, "southeast"},
    {WXK_NUMPAD4, WXK_NUMPAD_LEFT, "west"},
    {WXK_NUMPAD5, WXK_NUMPAD_BEGIN, "scan -tq"},
    {WXK_NUMPAD6, WXK_NUMPAD_RIGHT, "east"},
    {WXK_NUMPAD7, WXK_NUMPAD_HOME, "northwest"},
    {WXK_NUMPAD8, WXK_NUMPAD_UP, "north"},
    {WXK_NUMPAD9, WXK_NUMPAD_PAGEUP, "northeast"},
    {WXK_NUMPAD_ENTER, WXK_NUMPAD_ENTER, "down"},
    {WXK_NUMPAD_SUBTRACT, WXK_NUMPAD_SUBTRACT, "down"},
    {WXK_NUMPAD_ADD, WXK_NUMPAD_ADD, "up"},
};

struct control_key {
    int key_code;
    control_key_binding plain;
    control_key_binding shifted;
};

using act = control_key_action;

constexpr control_key_binding bind(act action, int popup_window = 0)
{
    return {action, popup_window};
}

constexpr control_key_binding popup(int number)
{
    return bind(act::toggle_popup_window, number);
}

const control_key control_keys[] = {
    {'C', bind(act::copy_or_break), bind(act::copy_or_break)},
    {'D', bind(act::erase_and_break), bind(act::erase_and_break)},
    {'K', bind(act::erase_line), bind(act::erase_line)},
    {'\\', bind(act::erase_and_abort), bind(act::erase_and_abort)},
    {'M', bind(act::toggle_automap), bind(act::toggle_automap)},
    {'P', bind(act::toggle_hp_bar), bind(act::toggle_hp_bar)},
    {'Q', bind(act::follow_again), bind(act::follow_again)},
    {'S', bind(act::freeze), bind(act::freeze)},
    {'Z', bind(act::freeze), bind(act::freeze)},
    {'V', bind(act::paste), bind(act::paste)},
    {'0', popup(10), bind(act::ignored)},
    {'1', popup(1), bind(act::toggle_automap)},
    {'2', popup(2), bind(act::toggle_group_status)},
    {'3', popup(3), bind(act::toggle_hp_bar)},
    {'4', popup(4), bind(act::toggle_enemy_hp_bar)},
    {'5', popup(5), bind(act::toggle_exp_display)},
    {'6', popup(6), bind(act::ignored)},
    {'7', popup(7), bind(act::toggle_fkey_buttons)},
    {'8', popup(8), bind(act::toggle_popup_display)},
    {'9', popup(9), bind(act::toggle_mw_scrollbar)},
    {'+', bind(act::zoom_in), bind(act::incr_chan_window_size)},
    {'=', bind(act::zoom_in), bind(act::incr_chan_window_size)},
    {WXK_NUMPAD_ADD, bind(act::zoom_in), bind(act::incr_chan_window_size)},
    {'-', bind(act::zoom_out), bind(act::decr_chan_window_size)},
    {'_', bind(act::zoom_out), bind(act::decr_chan_window_size)},
    {WXK_NUMPAD_SUBTRACT, bind(act::zoom_out), bind(act::decr_chan_window_size)},
    {'[', bind(act::decr_automap_size), bind(act::decr_input_window_size)},
    {']', bind(act::incr_automap_size), bind(act::incr_input_window_size)},
};
}

const char *keypad_walk_command(int key_code)
{
    for (const keypad_walk &walk : keypad_walks) {
        if (walk.numlock_on == key_code || walk.numlock_off == key_code)
            return walk.command;
    }
    return nullptr;
}

bool function_key_text(int key_code, const key_modifiers &modifiers, std::string *text)
{
    if (key_code < WXK_F1 || key_code > WXK_F12)
        return false;
    const char *prefix = "";
    if (modifiers.control)
        prefix = "c";
    else if (modifiers.alt)
        return false;
    else if (modifiers.shift)
        prefix = "s";
    char alias[8];
    snprintf(alias, sizeof alias, "%sf%02d", prefix, key_code - WXK_F1 + 1);
    *text = alias;
    return true;
}

control_key_binding control_key_for(int key_code, bool shift)
{
    for (const control_key &key : control_keys) {
        if (key.key_code == key_code)
            return shift ? key.shifted : key.plain;
    }
    return {};
}

bool key_repeat_tracker::is_repeat(int key_code, bool with_control) const
{
    return held_ && key_code == code_ && (!with_control || control_);
}

void key_repeat_tracker::pressed(int key_code, bool control)
{
    held_ = true;
    control_ = control;
    code_ = key_code;
}

void key_repeat_tracker::released(int key_code)
{
    if (key_code == code_)
        held_ = false;
}

void key_repeat_tracker::forget()
{
    held_ = false;
    code_ = -1;
}
