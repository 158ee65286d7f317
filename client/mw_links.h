#ifndef VUSK_MW_LINKS_H
#define VUSK_MW_LINKS_H

// The main frame as the configuration and the panels see it. The frame
// keeps its login state in the field `logged_in`, so it cannot take these
// interfaces on itself; these adapters forward each call to it.

#include "config_effects.h"
#include "vusk_mw_calls.h"

class vusk_mw;

class mw_config_effects : public config_effects {
public:
    explicit mw_config_effects(vusk_mw &frame) : frame_(frame) {}

    bool logged_in() const override;
    void check_menu_item(int id, bool checked) override;
    void refresh() override;
    void resize() override;
    void reset_scrollbars() override;
    void global_font_resync() override;
    void button_font_resync() override;
    void menu_view_change_layout_helper() override;
    void global_change_theme(int redraw_background) override;

    // Their menus and panels are not built yet: nothing to change.
    void enable_menu_items() override {}
    void enable_automap() override {}
    void show_status_bar(bool) override {}
    void show_sky_bar(bool) override {}
    void show_status_display(bool) override {}
    void set_status_display_part(status_display_part, int) override {}
    void hide_group_display() override {}
    void show_channel_window(bool) override {}
    void set_automap_size(int) override {}

    bool start_audio() override;
    void stop_audio() override;

private:
    vusk_mw &frame_;
};

// The calls of the text displays and the command line. Those of panels not
// built yet (the channel window, popups, automap, sizes) keep the base's
// do-nothing answers.
class mw_panel_calls : public vusk_mw_calls {
public:
    explicit mw_panel_calls(vusk_mw &frame) : frame_(frame) {}

    void open_url(const char *url) override;
    int transfer_focus_main(wxWindow *window) override;
    void handle_async_control_command(const char *text, int echo) override;
    void handle_async_control_break() override;
    void handle_async_control_abort() override;
    int logged_in() override;
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

private:
    vusk_mw &frame_;
};

#endif
