#include "vusk_lineedit.h"

#include "clipboard.h"
#include "display_calls.h"
#include "text_bytes.h"
#include "vusk_font.h"

#include <cstdlib>

namespace {
constexpr long line_style =
    wxTE_MULTILINE | wxTE_RICH2 | wxTE_PROCESS_ENTER | wxTE_NOHIDESEL | wxBORDER_NONE;
const wxColour line_background(64, 64, 64);
const wxColour line_text(255, 255, 255);
const wxColour hidden_text(0, 0, 0);

// A line on its own, without a main frame, sends nothing.
display_calls &frame()
{
    return display_frame();
}

bool is_function_key(int key_code)
{
    return key_code >= WXK_F1 && key_code <= WXK_F12;
}

// Shortcuts that are one call of the main frame.
struct frame_operation {
    control_key_action action;
    void (display_calls::*call)();
};

const frame_operation frame_operations[] = {
    {control_key_action::freeze, &display_calls::handle_async_tty_stop},
    {control_key_action::toggle_automap, &display_calls::toggle_automap_display},
    {control_key_action::zoom_in, &display_calls::zoom_in},
    {control_key_action::zoom_out, &display_calls::zoom_out},
    {control_key_action::incr_chan_window_size, &display_calls::incr_chan_window_size},
    {control_key_action::decr_chan_window_size, &display_calls::decr_chan_window_size},
    {control_key_action::incr_automap_size, &display_calls::incr_automap_size},
    {control_key_action::decr_automap_size, &display_calls::decr_automap_size},
    {control_key_action::incr_input_window_size, &display_calls::incr_input_window_size},
    {control_key_action::decr_input_window_size, &display_calls::decr_input_window_size},
};
}

wxBEGIN_EVENT_TABLE(vusk_line_edit, wxTextCtrl)
    EVT_CHAR(vusk_line_edit::keyPressEvent)
    EVT_KEY_DOWN(vusk_line_edit::keyDownEvent)
    EVT_KEY_UP(vusk_line_edit::keyUpEvent)
    EVT_MOUSEWHEEL(vusk_line_edit::mouseWheelEvent)
    EVT_TEXT_PASTE(wxID_ANY, vusk_line_edit::pasteEvent)
    EVT_KILL_FOCUS(vusk_line_edit::focusLostEvent)
wxEND_EVENT_TABLE()

vusk_line_edit::vusk_line_edit(wxWindow *parent, int id, const wxString &name)
    : wxTextCtrl(parent, id, wxString(), wxDefaultPosition, wxDefaultSize, line_style,
                 wxDefaultValidator, name)
{
    force_set_color();
}

void vusk_line_edit::handle_line_input()
{
    wxString typed = GetValue();
    std::string line = line_for_sending(typed);
    if (frame().logged_in() && frame().command_pushthrough())
        SelectAll();
    else
        Clear();
    if (!typed.empty())
        history_store(typed);
    frame().handle_async_control_command(line.c_str(), 1);
    force_set_color();
}

void vusk_line_edit::history_store(const wxString &line)
{
    if (!echo_off)
        histories.history_store(line);
}

void vusk_line_edit::show_history_text(const wxString &text)
{
    Clear();
    force_set_color();
    AppendText(text);
    SetInsertionPointEnd();
    force_set_color();
}

void vusk_line_edit::history_up()
{
    long caret = GetInsertionPoint();
    if (caret != GetLastPosition()) {
        wxString before = GetRange(0, caret);
        size_t newline = before.rfind(wxUniChar('\n'));
        SetInsertionPoint(newline == wxString::npos ? 0 : static_cast<long>(newline));
        return;
    }
    wxString shown;
    if (histories.history_up(GetValue(), &shown))
        show_history_text(shown);
}

void vusk_line_edit::history_down()
{
    long caret = GetInsertionPoint();
    long end = GetLastPosition();
    if (caret != end) {
        wxString after = GetRange(caret + 1, end);
        size_t newline = after.find(wxUniChar('\n'));
        SetInsertionPoint(newline == wxString::npos ? end
                                                    : caret + 1 + static_cast<long>(newline));
        return;
    }
    wxString shown;
    if (histories.history_down(GetValue(), &shown))
        show_history_text(shown);
}

void vusk_line_edit::history_display()
{
    frame().display_set_default_colors();
    frame().main_display_write(histories.listing().c_str());
}

void vusk_line_edit::swap_history(int set)
{
    histories.swap_history(set);
}

void vusk_line_edit::disable_echo()
{
    SetBackgroundColour(hidden_text);
    SetForegroundColour(hidden_text);
    SetDefaultStyle(wxTextAttr(hidden_text, hidden_text));
    echo_off = 1;
}

// Every login turns the echo on: a line that shows its text keeps its colours.
void vusk_line_edit::enable_echo()
{
    if (!echo_off)
        return;
    force_set_color();
    echo_off = 0;
}

void vusk_line_edit::force_set_color()
{
    SetBackgroundColour(line_background);
    SetForegroundColour(line_text);
    SetDefaultStyle(wxTextAttr(line_text, line_background, GetFont()));
}

void vusk_line_edit::set_initial_font(vusk_font *font)
{
    change_font(font);
}

void vusk_line_edit::change_font(vusk_font *font)
{
    force_set_color();
    if (font != nullptr)
        SetFont(*font);
    force_set_color();
}

int vusk_line_edit::is_selection_empty()
{
    return GetStringSelection().empty();
}

bool vusk_line_edit::whole_text_selected()
{
    long from = 0;
    long to = 0;
    GetSelection(&from, &to);
    long end = GetLastPosition();
    return end > 0 && from == 0 && to == end;
}

const char *vusk_line_edit::get_keypad_command_string(wxKeyEvent &event)
{
    if (!frame().keypad_walking() || event.ShiftDown() || event.ControlDown())
        return nullptr;
    return keypad_walk_command(event.GetKeyCode());
}

void vusk_line_edit::process_keypad_key_press(const char *command)
{
    follow_main_display();
    frame().handle_async_control_command(command, 1);
}

int vusk_line_edit::process_function_key_press(wxKeyEvent &event)
{
    key_modifiers modifiers;
    modifiers.control = event.ControlDown() || event.MetaDown();
    modifiers.alt = event.AltDown();
    modifiers.shift = event.ShiftDown();
    std::string alias;
    if (!function_key_text(event.GetKeyCode(), modifiers, &alias))
        return 0;
    frame().handle_async_control_command(alias.c_str(), 0);
    frame().enable_scrolling();
    return 1;
}

void vusk_line_edit::keyDownEvent(wxKeyEvent &event)
{
    int code = event.GetKeyCode();
    bool repeat = keys.is_repeat(code, false);
    bool control_repeat = keys.is_repeat(code, true);
    keys.pressed(code, event.ControlDown());

    if (const char *command = get_keypad_command_string(event)) {
        // A held key walks once; another key pressed meanwhile walks too.
        if (!repeat)
            process_keypad_key_press(command);
        return;
    }
    if (handle_whole_selection_key(event))
        return;
    if (event.ControlDown()) {
        control_key_binding binding = control_key_for(code, event.ShiftDown());
        if (binding.action != control_key_action::unbound) {
            if (!control_repeat)
                run_control_key(binding);
            return;
        }
    }
    // Consumed while they send, so that F10 does not open the menu bar.
    if (is_function_key(code) && frame().logged_in() && process_function_key_press(event))
        return;
    if (code == WXK_HOME || code == WXK_NUMPAD_HOME) {
        SetInsertionPoint(0);
        return;
    }
    if (code == WXK_END || code == WXK_NUMPAD_END) {
        SetInsertionPointEnd();
        return;
    }
    event.Skip();
}

bool vusk_line_edit::handle_whole_selection_key(wxKeyEvent &event)
{
    if (!whole_text_selected())
        return false;
    int code = event.GetKeyCode();
    bool to_start = code == WXK_LEFT || code == WXK_HOME || code == WXK_NUMPAD_HOME;
    if (to_start && frame().command_pushthrough()) {
        SetInsertionPoint(0);
        return true;
    }
    if (code == WXK_UP && !event.ControlDown() && !event.ShiftDown()) {
        // The selected text is the newest command: the first step lands on it.
        SetInsertionPointEnd();
        history_up();
        history_up();
        return true;
    }
    return false;
}

void vusk_line_edit::run_control_key(const control_key_binding &binding)
{
    using act = control_key_action;
    for (const frame_operation &operation : frame_operations) {
        if (operation.action == binding.action) {
            (frame().*operation.call)();
            return;
        }
    }
    switch (binding.action) {
    case act::copy_or_break:
        copy_or_break();
        break;
    case act::erase_and_break:
        erase_line();
        frame().handle_async_control_break();
        break;
    case act::erase_line:
        erase_line();
        break;
    case act::erase_and_abort:
        erase_line();
        frame().handle_async_control_abort();
        break;
    case act::follow_again:
        if (!frame().scrolling_enabled())
            frame().handle_async_tty_start();
        else if (!frame().channel_window_scrolling_enabled())
            frame().set_channel_window_scrolling(1);
        break;
    case act::paste:
        sanitize_clipboard_data();
        Paste();
        break;
    case act::toggle_popup_window:
        frame().toggle_popup_window(binding.popup_window);
        break;
    default:
        // The settings' own shortcuts; the switch ignores any other action.
        frame().toggle_setting(binding.action);
        break;
    }
}

void vusk_line_edit::copy_or_break()
{
    if (!is_selection_empty()) {
        long caret = GetInsertionPoint();
        Copy();
        SetSelection(caret, caret);
        return;
    }
    erase_line();
    if (frame().has_mouse_selection())
        frame().clear_mouse_selection();
    else
        frame().handle_async_control_break();
}

void vusk_line_edit::erase_line()
{
    Clear();
}

void vusk_line_edit::follow_main_display()
{
    if (!frame().scrolling_enabled())
        frame().handle_async_tty_start();
}

void vusk_line_edit::keyPressEvent(wxKeyEvent &event)
{
    switch (event.GetKeyCode()) {
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
        frame().scroll_up();
        return;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN:
        frame().scroll_down();
        return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        follow_main_display();
        handle_line_input();
        return;
    case WXK_ESCAPE:
        if (!frame().scrolling_enabled()) {
            frame().handle_async_tty_start();
        } else if (!frame().channel_window_scrolling_enabled()) {
            frame().set_channel_window_scrolling(1);
        } else {
            erase_line();
            frame().clear_mouse_selection();
            frame().clear_channel_window_selection();
        }
        return;
    case WXK_UP:
    case WXK_NUMPAD_UP:
        if (event.ControlDown())
            frame().scroll_up();
        else
            history_up();
        return;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
        if (event.ControlDown())
            frame().scroll_down();
        else
            history_down();
        return;
    default:
        if (!frame().scrolling_enabled() && !frame().locking_scrollback())
            frame().handle_async_tty_start();
        event.Skip();
        return;
    }
}

void vusk_line_edit::keyUpEvent(wxKeyEvent &event)
{
    keys.released(event.GetKeyCode());
    event.Skip();
}

void vusk_line_edit::focusLostEvent(wxFocusEvent &event)
{
    keys.forget();
    event.Skip();
}

void vusk_line_edit::mouseWheelEvent(wxMouseEvent &event)
{
    scroll_by_wheel(frame(), wheel, event);
}

void vusk_line_edit::pasteEvent(wxClipboardTextEvent &event)
{
    sanitize_clipboard_data();
    event.Skip();
}
