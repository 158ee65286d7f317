#ifndef VUSK_PANEL_SET_H
#define VUSK_PANEL_SET_H

// The drawn panels of the main frame as one set: the direction pad, the hint
// buttons, the function-key row, the popup bar, the channel window, the group
// display, the status display, the status bar and the automap (with its own
// frame). The frame builds the command line, the main display and the menu
// bar around it; the set builds, places, themes and re-fonts the panels and
// carries out their part of a login and a disconnect.

#include "config_effects.h"

#include <memory>

class vusk_automap_display;
class vusk_channel_window;
class vusk_direction_buttons;
class vusk_fkey_manager;
class vusk_font;
class vusk_group_display;
class vusk_hint_buttons;
class vusk_main_window;
class vusk_popup_manager;
class vusk_status_bar;
class vusk_status_display;
class TConfig;
class wxWindow;
struct mw_layout;
struct mw_panel_sizes;
struct tag_owners;

class vusk_panel_set {
public:
    vusk_panel_set();
    ~vusk_panel_set();
    vusk_panel_set(const vusk_panel_set &) = delete;
    vusk_panel_set &operator=(const vusk_panel_set &) = delete;

    // In the frame's construction order: the button rows, the popup bar and
    // the channel window, the group display and the status panels, the
    // automap's frame and the automap.
    void build(wxWindow &frame, vusk_main_window &main_display);
    void register_tag_owners(tag_owners &owners) const;
    // What the layout needs to know of the panels' own sizes.
    mw_panel_sizes panel_sizes() const;
    void place(const mw_layout &layout);

    // A login shows what the settings ask for; the end of a session clears
    // what the server filled.
    void show_after_login();
    void reset_status_panels();
    void end_session();

    void change_themes();
    void change_text_font(vusk_font *font);
    void change_button_font();
    // Paints the panels once for every change the tags made since the last call.
    void flush_repaints();
    void record_ping_time(long elapsed_ms);

    // The automap: docked (over the main display or on the frame) or in its
    // own frame, shown or not.
    void set_automap_dock_state();
    void enable_automap();
    void set_automap_size(int cell_size);
    // In the left layouts the group display sits on the frame, otherwise it
    // floats over the main display's text.
    void set_group_display_dock_state();

    // What the settings and the server's "config" tag switch.
    void repaint_status_bar();
    void show_status_bar(bool shown);
    void show_sky_bar(bool shown);
    void show_status_display(bool shown);
    void set_status_display_part(status_display_part part, int value);
    void hide_group_display();
    void show_channel_window(bool shown, bool logged_in);
    void flash_automap();
    void flash_hint_buttons();
    void flash_status_display();
    void flash_popup_buttons();

    vusk_direction_buttons *direction_buttons() const { return direction_buttons_.get(); }
    vusk_hint_buttons *hint_buttons() const { return hint_buttons_.get(); }
    vusk_fkey_manager *fkey_manager() const { return fkey_manager_.get(); }
    vusk_popup_manager *popup_manager() const { return popup_manager_.get(); }
    vusk_channel_window *channel_window() const { return channel_window_.get(); }
    vusk_status_display *status_display() const { return status_display_; }
    vusk_status_bar *status_bar() const { return status_bar_; }
    vusk_group_display *group_display() const { return group_display_; }
    vusk_automap_display *automap_display() const { return automap_display_; }

private:
    void build_button_rows();
    void build_status_panels();
    void build_automap();
    void place_button_rows(const mw_layout &layout);
    void place_status_panels(const mw_layout &layout);
    void place_automap(const mw_layout &layout);
    void set_button_rows_disconnected();
    void show_configured_status_bars(const TConfig &config);

    wxWindow *frame_ = nullptr;
    vusk_main_window *main_display_ = nullptr;
    // The button rows own no window: their buttons are the frame's children.
    std::unique_ptr<vusk_direction_buttons> direction_buttons_;
    std::unique_ptr<vusk_hint_buttons> hint_buttons_;
    std::unique_ptr<vusk_fkey_manager> fkey_manager_;
    std::unique_ptr<vusk_popup_manager> popup_manager_;
    std::unique_ptr<vusk_channel_window> channel_window_;
    // Windows: the frame's children, deleted with it.
    vusk_group_display *group_display_ = nullptr;
    vusk_status_display *status_display_ = nullptr;
    vusk_status_bar *status_bar_ = nullptr;
    vusk_automap_display *automap_display_ = nullptr;
};

#endif
