#include "input_keys.h"

#include <wx/defs.h>

#include <gtest/gtest.h>

#include <string>

TEST(InputKeys, KeypadWalksInBothNumLockStates)
{
    struct walk_case {
        int numlock_on;
        int numlock_off;
        const char *command;
    };
    const walk_case cases[] = {
        {WXK_NUMPAD1, WXK_NUMPAD_END, "southwest"}, {WXK_NUMPAD2, WXK_NUMPAD_DOWN, "south"},
        {WXK_NUMPAD3, WXK_NUMPAD_PAGEDOWN, "southeast"}, {WXK_NUMPAD4, WXK_NUMPAD_LEFT, "west"},
        {WXK_NUMPAD5, WXK_NUMPAD_BEGIN, "scan -tq"}, {WXK_NUMPAD6, WXK_NUMPAD_RIGHT, "east"},
        {WXK_NUMPAD7, WXK_NUMPAD_HOME, "northwest"}, {WXK_NUMPAD8, WXK_NUMPAD_UP, "north"},
        {WXK_NUMPAD9, WXK_NUMPAD_PAGEUP, "northeast"},
        {WXK_NUMPAD_ENTER, WXK_NUMPAD_ENTER, "down"},
        {WXK_NUMPAD_SUBTRACT, WXK_NUMPAD_SUBTRACT, "down"},
        {WXK_NUMPAD_ADD, WXK_NUMPAD_ADD, "up"},
    };
    for (const walk_case &c : cases) {
        ASSERT_NE(keypad_walk_command(c.numlock_on), nullptr) << c.command;
        EXPECT_STREQ(keypad_walk_command(c.numlock_on), c.command);
        EXPECT_STREQ(keypad_walk_command(c.numlock_off), c.command);
    }
    const int not_walking[] = {WXK_NUMPAD0, WXK_NUMPAD_DELETE, WXK_NUMPAD_MULTIPLY, WXK_UP,
                               WXK_HOME, '8', WXK_RETURN};
    for (int key : not_walking)
        EXPECT_EQ(keypad_walk_command(key), nullptr) << key;
}

TEST(InputKeys, FunctionKeysWithTheirPrefixes)
{
    struct fkey_case {
        int key;
        bool control, alt, shift;
        const char *text; // null: nothing sent
    };
    const fkey_case cases[] = {
        {WXK_F1, false, false, false, "f01"},
        {WXK_F3, false, false, true, "sf03"},
        {WXK_F3, true, false, false, "cf03"},
        {WXK_F3, true, false, true, "cf03"},
        {WXK_F3, true, true, false, "cf03"},
        {WXK_F3, false, true, false, nullptr},
        {WXK_F3, false, true, true, nullptr},
        {WXK_F10, false, false, false, "f10"},
        {WXK_F12, false, false, true, "sf12"},
        {WXK_F13, false, false, false, nullptr},
        {WXK_NUMPAD_F1, false, false, false, nullptr},
        {'a', false, false, false, nullptr},
    };
    for (const fkey_case &c : cases) {
        std::string text = "unchanged";
        key_modifiers modifiers;
        modifiers.control = c.control;
        modifiers.alt = c.alt;
        modifiers.shift = c.shift;
        bool sends = function_key_text(c.key, modifiers, &text);
        EXPECT_EQ(sends, c.text != nullptr) << c.key;
        EXPECT_EQ(text, c.text ? c.text : "unchanged") << c.key;
    }
}

TEST(InputKeys, ControlKeyTable)
{
    using act = control_key_action;
    struct control_case {
        int key;
        bool shift;
        act action;
        int popup;
    };
    // The keys the command line's own tests do not press.
    const control_case cases[] = {
        {'C', true, act::copy_or_break, 0},    {'V', true, act::paste, 0},
        {'Q', true, act::follow_again, 0},     {'0', true, act::ignored, 0},
        {'6', false, act::toggle_popup_window, 6}, {'9', false, act::toggle_popup_window, 9},
        {'+', false, act::zoom_in, 0},         {WXK_NUMPAD_SUBTRACT, false, act::zoom_out, 0},
        {'X', true, act::unbound, 0},          {WXK_F5, false, act::unbound, 0},
        {WXK_NUMPAD1, false, act::unbound, 0},
    };
    for (const control_case &c : cases) {
        control_key_binding binding = control_key_for(c.key, c.shift);
        EXPECT_EQ(binding.action, c.action) << c.key << (c.shift ? " shifted" : "");
        if (c.action == act::toggle_popup_window) {
            EXPECT_EQ(binding.popup_window, c.popup) << c.key;
        }
    }
}

TEST(InputKeys, RepeatOnlyOfTheHeldKey)
{
    key_repeat_tracker keys;
    EXPECT_FALSE(keys.is_repeat(WXK_NUMPAD8, false));
    keys.pressed(WXK_NUMPAD8, false);
    EXPECT_TRUE(keys.is_repeat(WXK_NUMPAD8, false));
    // Quick walking: 6 goes down before 8 comes up.
    EXPECT_FALSE(keys.is_repeat(WXK_NUMPAD6, false));
    keys.pressed(WXK_NUMPAD6, false);
    keys.released(WXK_NUMPAD8);
    EXPECT_TRUE(keys.is_repeat(WXK_NUMPAD6, false));
    keys.released(WXK_NUMPAD6);
    EXPECT_FALSE(keys.is_repeat(WXK_NUMPAD6, false));

    keys.pressed(WXK_NUMPAD_UP, false);
    keys.forget();
    EXPECT_FALSE(keys.is_repeat(WXK_NUMPAD_UP, false));

    // A Control shortcut repeats only when it was pressed with Control.
    keys.pressed('S', false);
    EXPECT_FALSE(keys.is_repeat('S', true));
    keys.pressed('S', true);
    EXPECT_TRUE(keys.is_repeat('S', true));
    EXPECT_TRUE(keys.is_repeat('S', false));
}
