#ifndef VUSK_TEST_GUI_FAKE_FRAME_H
#define VUSK_TEST_GUI_FAKE_FRAME_H

// A stand-in for the main frame that records every call the text displays
// and the command line make, and answers the queries from its fields.
// Registered while it lives.

#include "vusk_mw_calls.h"

#include <string>
#include <vector>

class fake_frame : public vusk_mw_calls {
public:
    fake_frame();
    ~fake_frame() override;
    fake_frame(const fake_frame &) = delete;
    fake_frame &operator=(const fake_frame &) = delete;

    // Calls in order, e.g. "command north 1", "zoom_in", "toggle_popup_window 3",
    // "queue who", "menu add Who", "menu check Who 1", "menu clear".
    std::vector<std::string> calls;
    // The lines sent through handle_async_control_command, with their echo flag.
    struct sent_line {
        std::string text;
        int echo;
    };
    std::vector<sent_line> sent;

    bool is_logged_in = false;
    int main_following = 1;
    int channel_following = 1;
    int main_selection = 0;
    // The windows that handed the focus back to the command line, in order.
    // A window manager gives the focus to windows as they appear, so a test
    // counts those of the window it looks at.
    std::vector<const wxWindow *> focus_handed_back_by;
    int focus_answer = 1;
    // What was written into the main display.
    std::string main_display_text;
    // The displays announced as going away.
    std::vector<vusk_ansi_display *> forgotten_displays;

    // Forgets what was recorded.
    void forget();
    bool called(const std::string &call) const;
    int focus_transfers_from(const wxWindow *window) const;

    void handle_async_control_command(const char *text, int echo) override;
    void handle_async_control_break() override;
    void handle_async_control_abort() override;
    bool logged_in() const override;
    // The text terminal's settings are the configuration's, as in the frame.
    bool compact_font() const override;
    bool url_hotlinking() const override;
    bool command_pushthrough() const override;
    bool keypad_walking() const override;
    bool locking_scrollback() const override;
    void toggle_setting(control_key_action action) override;
    int transfer_focus_main(wxWindow *window) override;
    void repaint_status_bar() override;
    int scrolling_enabled() override;
    void enable_scrolling() override;
    void disable_scrolling() override;
    void handle_async_tty_start() override;
    void handle_async_tty_stop() override;
    void scroll_up() override;
    void scroll_down() override;
    void scroll_up(int lines) override;
    void scroll_down(int lines) override;
    int has_mouse_selection() override;
    void clear_mouse_selection() override;
    void display_set_default_colors() override;
    void main_display_write(const char *text) override;
    int channel_window_scrolling_enabled() override;
    void set_channel_window_scrolling(int follow) override;
    void clear_channel_window_selection() override;
    void toggle_popup_window(int number) override;
    void queue_control_command(const char *text) override;
    void forget_display(vusk_ansi_display *display) override;
    void add_popup_menu_item(const char *name) override;
    void check_popup_menu_item(const char *name, int state) override;
    void clear_popup_menu() override;
    void toggle_automap_display() override;
    void set_automap_display_enable(int on) override;
    void zoom_in() override;
    void zoom_out() override;
    void incr_chan_window_size() override;
    void decr_chan_window_size() override;
    void incr_automap_size() override;
    void decr_automap_size() override;
    void incr_input_window_size() override;
    void decr_input_window_size() override;

private:
    void record(const std::string &call) { calls.push_back(call); }
};

#endif
