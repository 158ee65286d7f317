#ifndef VUSK_TEST_RECORDING_CONFIG_EFFECTS_H
#define VUSK_TEST_RECORDING_CONFIG_EFFECTS_H

// Stands in for the main frame: records every call the configuration makes,
// one readable line per call, in order.

#include "config_effects.h"
#include "menus.h"

#include <string>
#include <vector>

class recording_config_effects : public config_effects {
public:
    std::vector<std::string> calls;
    bool is_logged_in = false;
    bool audio_starts = true;

    bool logged_in() const override { return is_logged_in; }
    // The menu item the frame would set, as "check <id> on|off".
    void show_setting(menu_setting setting, int value) override
    {
        const menu_check item = menu_item_for(setting, value);
        record("check " + std::to_string(item.id) + (item.checked ? " on" : " off"));
    }
    void refresh() override { record("refresh"); }
    void resize() override { record("resize"); }
    void reset_scrollbars() override { record("reset_scrollbars"); }
    void global_font_resync() override { record("global_font_resync"); }
    void button_font_resync() override { record("button_font_resync"); }
    void menu_view_change_layout_helper() override { record("change_layout"); }
    void global_change_theme(int redraw_background) override
    {
        record("change_theme " + std::to_string(redraw_background));
    }
    void enable_menu_items() override { record("enable_menu_items"); }
    void enable_automap() override { record("enable_automap"); }
    void show_status_bar(bool shown) override { record(shown ? "show status_bar" : "hide status_bar"); }
    void show_sky_bar(bool shown) override { record(shown ? "show sky_bar" : "hide sky_bar"); }
    void show_status_display(bool shown) override
    {
        record(shown ? "show status_display" : "hide status_display");
    }
    void set_status_display_part(status_display_part part, int value) override
    {
        static const char *const names[] = {"exp", "hpbar", "enemy_hpbar"};
        record(std::string("status_display ") + names[static_cast<int>(part)] + " " + std::to_string(value));
    }
    void hide_group_display() override { record("hide group_display"); }
    void show_channel_window(bool shown) override
    {
        record(shown ? "show channel_window" : "hide channel_window");
    }
    void set_automap_size(int cell_size) override { record("automap_size " + std::to_string(cell_size)); }
    bool start_audio() override
    {
        record("start_audio");
        return audio_starts;
    }
    void stop_audio() override { record("stop_audio"); }

private:
    void record(const std::string &call) { calls.push_back(call); }
};

#endif
