#ifndef VUSK_CONFIG_EFFECTS_H
#define VUSK_CONFIG_EFFECTS_H

// What changing a setting does on screen and in the running program. The
// main frame implements this and hands it to the configuration once it is
// built; until then (and while the configuration loads at start-up) the
// configuration changes only its data. An implementation skips each call
// whose target (menu item, panel, audio output) does not exist.

enum class status_display_part { exp, hpbar, enemy_hpbar };

class config_effects {
public:
    virtual ~config_effects() = default;

    virtual bool logged_in() const = 0;

    // Checks or unchecks one menu item; for a radio item, true selects it.
    virtual void check_menu_item(int id, bool checked) = 0;

    virtual void refresh() = 0;
    virtual void resize() = 0;
    virtual void reset_scrollbars() = 0;
    virtual void global_font_resync() = 0;
    virtual void button_font_resync() = 0;
    virtual void menu_view_change_layout_helper() = 0;
    virtual void global_change_theme(int redraw_background) = 0;
    virtual void enable_menu_items() = 0;
    virtual void enable_automap() = 0;

    virtual void show_status_bar(bool shown) = 0;
    virtual void show_sky_bar(bool shown) = 0;
    virtual void show_status_display(bool shown) = 0;
    virtual void set_status_display_part(status_display_part part, int value) = 0;
    virtual void hide_group_display() = 0;
    virtual void show_channel_window(bool shown) = 0;
    virtual void set_automap_size(int cell_size) = 0;

    // Starts audio output; false when it could not be started.
    virtual bool start_audio() = 0;
    virtual void stop_audio() = 0;
};

#endif
