#include "frame_windows.h"

#include "focus_handoff.h"
#include "setting_toggles.h"
#include "tqconfig.h"
#include "vusk_channel_window.h"
#include "vusk_input_window.h"
#include "vusk_main_window.h"
#include "vusk_popup_manager.h"

#include <wx/display.h>

int global_display_xsize = 0;
int global_display_ysize = 0;

namespace {
// Used when the display reports no usable area.
constexpr int fallback_display_width = 640;
constexpr int fallback_display_height = 480;
}

void record_display_area(wxWindow *frame)
{
    const int index = wxDisplay::GetFromWindow(frame);
    const wxRect area = wxDisplay(index == wxNOT_FOUND ? 0u : unsigned(index)).GetClientArea();
    global_display_xsize = area.GetWidth() >= 1 ? area.GetWidth() : fallback_display_width;
    global_display_ysize = area.GetHeight() >= 1 ? area.GetHeight() : fallback_display_height;
}

wxSize vusk_frame_windows::display_area() const
{
    return wxSize(global_display_xsize, global_display_ysize);
}

void vusk_frame_windows::build_text_windows(wxWindow &frame)
{
    frame_ = &frame;
    input_window_ = new vusk_input_window(&frame, wxID_ANY, wxS("main input window"));
    main_display_ = new vusk_main_window(&frame, wxID_ANY, wxString());
}

int vusk_frame_windows::transfer_focus_main(wxWindow *window)
{
    return hand_focus_back(window, frame_, input_window_);
}

// ---- The main display's view ----

int vusk_frame_windows::scrolling_enabled()
{
    return main_display_->following;
}

void vusk_frame_windows::enable_scrolling()
{
    main_display_->enable_scrolling();
}

void vusk_frame_windows::disable_scrolling()
{
    main_display_->disable_scrolling();
}

void vusk_frame_windows::handle_async_tty_start()
{
    enable_scrolling();
}

void vusk_frame_windows::handle_async_tty_stop()
{
    disable_scrolling();
}

void vusk_frame_windows::scroll_up()
{
    disable_scrolling();
    main_display_->scroll_up();
}

void vusk_frame_windows::scroll_down()
{
    disable_scrolling();
    main_display_->scroll_down();
}

void vusk_frame_windows::scroll_up(int lines)
{
    disable_scrolling();
    main_display_->scroll_up(lines);
}

void vusk_frame_windows::scroll_down(int lines)
{
    disable_scrolling();
    main_display_->scroll_down(lines);
}

int vusk_frame_windows::has_mouse_selection()
{
    return main_display_->textctrl().has_mouse_selection();
}

void vusk_frame_windows::clear_mouse_selection()
{
    main_display_->textctrl().clear_mouse_selection();
}

// ---- The channel window's view, for the command line ----

int vusk_frame_windows::channel_window_scrolling_enabled()
{
    return channel_window()->current_channel_scrolling_enabled();
}

void vusk_frame_windows::set_channel_window_scrolling(int follow)
{
    channel_window()->set_current_channel_scrolling(follow);
}

void vusk_frame_windows::clear_channel_window_selection()
{
    channel_window()->clear_mouse_selection();
}

// ---- The settings the text terminal follows ----

bool vusk_frame_windows::compact_font() const
{
    return TConfig::Instance()->GetCompactMode() != 0;
}

bool vusk_frame_windows::url_hotlinking() const
{
    return TConfig::Instance()->GetUrlHotlinking() != 0;
}

bool vusk_frame_windows::command_pushthrough() const
{
    return TConfig::Instance()->GetCommandPushthrough() != 0;
}

bool vusk_frame_windows::keypad_walking() const
{
    return TConfig::Instance()->GetKeypadWalking() != 0;
}

bool vusk_frame_windows::locking_scrollback() const
{
    return TConfig::Instance()->GetLockingScrollback() != 0;
}

void vusk_frame_windows::toggle_setting(control_key_action action)
{
    flip_setting_of_shortcut(action);
}

void vusk_frame_windows::toggle_popup_window(int number)
{
    if (logged_in())
        popup_manager()->toggle_window(number);
}
