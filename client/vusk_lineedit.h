#ifndef VUSK_LINEEDIT_H
#define VUSK_LINEEDIT_H

// The command line: sends the typed line on Enter, keeps a command history
// per connection state, walks with the keypad, turns the function keys into
// aliases for the server, hides typed text while the server asks for a
// password, and carries the client's keyboard shortcuts.

#include "command_history.h"
#include "input_keys.h"
#include "ansi_view_state.h"
#include "wheel_steps.h"

#include <wx/textctrl.h>

class vusk_font;

class vusk_line_edit : public wxTextCtrl {
public:
    vusk_line_edit(wxWindow *parent, int id, const wxString &name);

    // Enter: sends the line (cut to the limit) and keeps it whole in the
    // history.
    void handle_line_input();

    void history_store(const wxString &line);
    void history_up();
    void history_down();
    // Lists the recent commands in the main display.
    void history_display();
    // 0 disconnected, 1 connecting, 2 logged in.
    void swap_history(int set);

    // While the server asks for a password: text black on black, nothing
    // stored in the history.
    void disable_echo();
    void enable_echo();
    // White on dark grey in the text font.
    void force_set_color();
    void set_initial_font(vusk_font *font);
    void change_font(vusk_font *font);

    int is_selection_empty();

    // The walking command of a keypad key (walking on, no Shift or Control).
    const char *get_keypad_command_string(wxKeyEvent &event);
    void process_keypad_key_press(const char *command);
    // Sends a function key's alias; 1 when the key was one to send.
    int process_function_key_press(wxKeyEvent &event);

    void keyPressEvent(wxKeyEvent &event);
    void keyDownEvent(wxKeyEvent &event);
    void keyUpEvent(wxKeyEvent &event);
    void mouseWheelEvent(wxMouseEvent &event);
    void pasteEvent(wxClipboardTextEvent &event);
    void focusLostEvent(wxFocusEvent &event);

    command_history histories;
    int echo_off = 0;

private:
    bool whole_text_selected();
    bool handle_whole_selection_key(wxKeyEvent &event);
    void run_control_key(const control_key_binding &binding);
    void copy_or_break();
    void show_history_text(const wxString &text);
    void follow_main_display();
    void erase_line();

    key_repeat_tracker keys;
    wheel_accumulator wheel;

    wxDECLARE_EVENT_TABLE();
};

#endif
