#ifndef VUSK_SETTINGS_EFFECTS_H
#define VUSK_SETTINGS_EFFECTS_H

// What a changed setting and the server's "config" tag do on screen, for the
// main frame: the panels' part goes straight to the panel set, the frame's
// own part (layout, fonts, themes, menus, the work marked for the tick) to
// the frame, the menu's to the menu bar. The frame owns it and hands it to the configuration once built.

#include "config_commands.h"
#include "config_effects.h"

class vusk_menu_bar;
class vusk_mw;
class vusk_panel_set;

class vusk_settings_effects : public config_effects, public config_command_target {
public:
    vusk_settings_effects(vusk_mw &frame, vusk_panel_set &panels, vusk_menu_bar &menus)
        : frame_(frame), panels_(panels), menus_(menus)
    {
    }

    // config_effects
    bool logged_in() const override;
    void show_setting(menu_setting setting, int value) override;
    void refresh() override;
    void resize() override;
    void reset_scrollbars() override;
    void rebuild_fonts(TConfig &config) override;
    void global_font_resync() override;
    void button_font_resync() override;
    void menu_view_change_layout_helper() override;
    void global_change_theme(int redraw_background) override;
    void enable_menu_items() override;
    void enable_automap() override;
    void show_status_bar(bool shown) override;
    void show_sky_bar(bool shown) override;
    void show_status_display(bool shown) override;
    void set_status_display_part(status_display_part part, int value) override;
    void hide_group_display() override;
    void show_channel_window(bool shown) override;
    void set_automap_size(int cell_size) override;
    bool start_audio() override;
    void stop_audio() override;

    // config_command_target
    bool automap_enabled() const override;
    void set_automap_display_enable(int enable) override;
    void flash_automap() override;
    void flash_hint_buttons() override;
    void flash_status_display() override;
    void flash_popup_buttons() override;
    void flash_main_display() override;
    void flash_input_window() override;

private:
    vusk_mw &frame_;
    vusk_panel_set &panels_;
    vusk_menu_bar &menus_;
};

#endif
