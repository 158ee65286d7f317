#ifndef VUSK_FRAME_WINDOWS_H
#define VUSK_FRAME_WINDOWS_H

// The main frame's windows -- the command line, the main display and the
// panel set -- and the calls its windows make that those windows answer by
// themselves: the main display's view and selection, the channel window's,
// the settings the text terminal follows, the keyboard focus and the area of
// the display the frame is on. The main frame `vusk_mw` is one of these: it
// builds the windows and answers the rest (the connection, the layout, the
// menus) itself.

#include "panel_set.h"
#include "vusk_mw_calls.h"

class vusk_input_window;
class vusk_main_window;
class wxWindow;

// The usable area of the display the main frame was shown on.
extern int global_display_xsize;
extern int global_display_ysize;

class vusk_frame_windows : public vusk_mw_calls {
public:
    vusk_main_window *main_display() const { return main_display_; }
    vusk_input_window *input_window() const { return input_window_; }
    vusk_direction_buttons *direction_buttons() const { return panels_.direction_buttons(); }
    vusk_hint_buttons *hint_buttons() const { return panels_.hint_buttons(); }
    vusk_fkey_manager *fkey_manager() const { return panels_.fkey_manager(); }
    vusk_popup_manager *popup_manager() const { return panels_.popup_manager(); }
    vusk_channel_window *channel_window() const { return panels_.channel_window(); }
    vusk_status_display *status_display() const { return panels_.status_display(); }
    vusk_status_bar *status_bar() const { return panels_.status_bar(); }
    vusk_group_display *group_display() const { return panels_.group_display(); }
    vusk_automap_display *automap_display() const { return panels_.automap_display(); }

    // The main display's view and mouse selection.
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

    // The channel window's current channel.
    int channel_window_scrolling_enabled() override;
    void set_channel_window_scrolling(int follow) override;
    void clear_channel_window_selection() override;

    // The player's settings the text terminal follows, and its shortcuts
    // that switch them.
    bool compact_font() const override;
    bool url_hotlinking() const override;
    bool command_pushthrough() const override;
    bool keypad_walking() const override;
    bool locking_scrollback() const override;
    void toggle_setting(control_key_action action) override;
    void toggle_popup_window(int number) override;

    int transfer_focus_main(wxWindow *window) override;
    void repaint_status_bar() override { panels_.repaint_status_bar(); }
    wxSize display_area() const override;

protected:
    vusk_frame_windows() = default;
    ~vusk_frame_windows() override = default;

    // The command line and then the main display, children of `frame`; the
    // panels follow through panels().
    void build_text_windows(wxWindow &frame);
    vusk_panel_set &panels() { return panels_; }

private:
    wxWindow *frame_ = nullptr;
    vusk_input_window *input_window_ = nullptr;
    vusk_main_window *main_display_ = nullptr;
    vusk_panel_set panels_;
};

// Notes the usable area of the display `frame` is shown on.
void record_display_area(wxWindow *frame);

#endif
