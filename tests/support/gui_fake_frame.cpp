#include "gui_fake_frame.h"

#include "setting_toggles.h"
#include "tqconfig.h"

#include <algorithm>

fake_frame::fake_frame()
{
    main_window = this;
}

fake_frame::~fake_frame()
{
    main_window = nullptr;
}

void fake_frame::forget()
{
    calls.clear();
    sent.clear();
    main_display_text.clear();
}

bool fake_frame::called(const std::string &call) const
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

void fake_frame::handle_async_control_command(const char *text, int echo)
{
    sent.push_back({text, echo});
    record("command " + std::string(text) + " " + std::to_string(echo));
}

void fake_frame::handle_async_control_break() { record("break"); }
void fake_frame::handle_async_control_abort() { record("abort"); }
bool fake_frame::logged_in() const { return is_logged_in; }

bool fake_frame::compact_font() const { return TConfig::Instance()->GetCompactMode() != 0; }
bool fake_frame::url_hotlinking() const { return TConfig::Instance()->GetUrlHotlinking() != 0; }
bool fake_frame::command_pushthrough() const { return TConfig::Instance()->GetCommandPushthrough() != 0; }
bool fake_frame::keypad_walking() const { return TConfig::Instance()->GetKeypadWalking() != 0; }
bool fake_frame::locking_scrollback() const { return TConfig::Instance()->GetLockingScrollback() != 0; }
void fake_frame::toggle_setting(control_key_action action) { flip_setting_of_shortcut(action); }

int fake_frame::transfer_focus_main(wxWindow *window)
{
    focus_handed_back_by.push_back(window);
    return focus_answer;
}

int fake_frame::focus_transfers_from(const wxWindow *window) const
{
    return int(std::count(focus_handed_back_by.begin(), focus_handed_back_by.end(), window));
}

void fake_frame::repaint_status_bar() { record("repaint_status_bar"); }
int fake_frame::scrolling_enabled() { return main_following; }

void fake_frame::enable_scrolling()
{
    main_following = 1;
    record("enable_scrolling");
}

void fake_frame::disable_scrolling()
{
    main_following = 0;
    record("disable_scrolling");
}

void fake_frame::handle_async_tty_start()
{
    main_following = 1;
    record("tty_start");
}

void fake_frame::handle_async_tty_stop()
{
    main_following = 0;
    record("tty_stop");
}

void fake_frame::scroll_up()
{
    main_following = 0;
    record("scroll_up");
}

void fake_frame::scroll_down() { record("scroll_down"); }

void fake_frame::scroll_up(int lines)
{
    main_following = 0;
    record("scroll_up " + std::to_string(lines));
}

void fake_frame::scroll_down(int lines) { record("scroll_down " + std::to_string(lines)); }
int fake_frame::has_mouse_selection() { return main_selection; }

void fake_frame::clear_mouse_selection()
{
    main_selection = 0;
    record("clear_mouse_selection");
}

void fake_frame::display_set_default_colors() { record("display_set_default_colors"); }
void fake_frame::main_display_write(const char *text) { main_display_text += text; }
int fake_frame::channel_window_scrolling_enabled() { return channel_following; }

void fake_frame::set_channel_window_scrolling(int follow)
{
    channel_following = follow;
    record("set_channel_window_scrolling " + std::to_string(follow));
}

void fake_frame::clear_channel_window_selection() { record("clear_channel_window_selection"); }

void fake_frame::toggle_popup_window(int number)
{
    record("toggle_popup_window " + std::to_string(number));
}

void fake_frame::toggle_automap_display() { record("toggle_automap_display"); }
void fake_frame::set_automap_display_enable(int on) { record("set_automap_display_enable " + std::to_string(on)); }
void fake_frame::zoom_in() { record("zoom_in"); }
void fake_frame::zoom_out() { record("zoom_out"); }
void fake_frame::incr_chan_window_size() { record("incr_chan_window_size"); }
void fake_frame::decr_chan_window_size() { record("decr_chan_window_size"); }
void fake_frame::incr_automap_size() { record("incr_automap_size"); }
void fake_frame::decr_automap_size() { record("decr_automap_size"); }
void fake_frame::incr_input_window_size() { record("incr_input_window_size"); }
void fake_frame::decr_input_window_size() { record("decr_input_window_size"); }

void fake_frame::queue_control_command(const char *text) { record("queue " + std::string(text)); }

void fake_frame::forget_display(vusk_ansi_display *display)
{
    forgotten_displays.push_back(display);
    record("forget_display");
}

void fake_frame::add_popup_menu_item(const char *name) { record("menu add " + std::string(name)); }

void fake_frame::check_popup_menu_item(const char *name, int state)
{
    record("menu check " + std::string(name) + " " + std::to_string(state));
}

void fake_frame::clear_popup_menu() { record("menu clear"); }
