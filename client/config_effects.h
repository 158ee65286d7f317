#ifndef VUSK_CONFIG_EFFECTS_H
#define VUSK_CONFIG_EFFECTS_H

// What changing a setting does on screen and in the running program.
// vusk_settings_effects implements this; the main frame, which owns it, hands
// it to the configuration once the frame is built. Until then (and while the
// configuration loads at start-up) the configuration changes only its data.
// Each call whose target (menu item, panel, audio output) does not exist yet
// does nothing.

#include "settings_table.h"

class TConfig;

enum class status_display_part { exp, hpbar, enemy_hpbar };

// The settings that a menu item shows: a check item (checked when the value
// is nonzero) or a radio group (the value's item); one for each row of the
// settings table with a menu item.
enum class menu_setting {
#define MENU_CHECK(setting, id, label) setting,
#define FRAME_CHECK(setting, id, label) setting,
#define MENU_RADIO(setting) setting,
#define NO_MENU
#define VUSK_MENU_OF_SETTING(Accessor, member, default_value, sanity, setter, effect, reset, status, menu, word, \
                             shortcut)                                                                           \
    menu
#define VUSK_MENU_OF_INSTALLATION(Accessor, status, menu) menu
    VUSK_SETTINGS(VUSK_NO_ROW, VUSK_NO_ROW, VUSK_NO_ROW, VUSK_MENU_OF_SETTING, VUSK_MENU_OF_INSTALLATION)
#undef VUSK_MENU_OF_INSTALLATION
#undef VUSK_MENU_OF_SETTING
#undef NO_MENU
#undef MENU_RADIO
#undef FRAME_CHECK
#undef MENU_CHECK
};

class config_effects {
public:
    virtual ~config_effects() = default;

    virtual bool logged_in() const = 0;

    // The menu shows the setting's new value.
    virtual void show_setting(menu_setting /*setting*/, int /*value*/) {}

    virtual void refresh() {}
    virtual void resize() {}
    virtual void reset_scrollbars() {}
    // The shared fonts take the fonts of the configuration's current record
    // (TConfig::apply_font, which this does by default).
    virtual void rebuild_fonts(TConfig &config);
    virtual void global_font_resync() {}
    virtual void button_font_resync() {}
    virtual void menu_view_change_layout_helper() {}
    virtual void global_change_theme(int /*redraw_background*/) {}
    virtual void enable_menu_items() {}
    virtual void enable_automap() {}

    virtual void show_status_bar(bool /*shown*/) {}
    virtual void show_sky_bar(bool /*shown*/) {}
    virtual void show_status_display(bool /*shown*/) {}
    virtual void set_status_display_part(status_display_part /*part*/, int /*value*/) {}
    virtual void hide_group_display() {}
    virtual void show_channel_window(bool /*shown*/) {}
    virtual void set_automap_size(int /*cell_size*/) {}

    // Starts audio output; false when it could not be started.
    virtual bool start_audio() { return false; }
    virtual void stop_audio() {}
};

#endif
