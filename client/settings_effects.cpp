#include "settings_effects.h"

#include "audio_driver_pa.h"
#include "main.h"
#include "menu_bar.h"
#include "panel_set.h"
#include "tqconfig.h"
#include "vusk_input_window.h"
#include "vusk_main_window.h"

bool vusk_settings_effects::logged_in() const
{
    return frame_.logged_in();
}

void vusk_settings_effects::show_setting(menu_setting setting, int value)
{
    menus_.show_setting(setting, value);
}

void vusk_settings_effects::refresh()
{
    frame_.Refresh();
}

void vusk_settings_effects::resize()
{
    frame_.resize();
}

void vusk_settings_effects::reset_scrollbars()
{
    frame_.reset_scrollbars();
}

void vusk_settings_effects::rebuild_fonts(TConfig &config)
{
    frame_.rebuild_fonts(config);
}

void vusk_settings_effects::global_font_resync()
{
    frame_.global_font_resync();
}

void vusk_settings_effects::button_font_resync()
{
    frame_.button_font_resync();
}

void vusk_settings_effects::menu_view_change_layout_helper()
{
    frame_.menu_view_change_layout_helper();
}

void vusk_settings_effects::global_change_theme(int redraw_background)
{
    frame_.global_change_theme(redraw_background);
}

void vusk_settings_effects::enable_menu_items()
{
    menus_.enable_menu_items();
}

void vusk_settings_effects::enable_automap()
{
    frame_.enable_automap();
}

void vusk_settings_effects::show_status_bar(bool shown)
{
    panels_.show_status_bar(shown);
}

void vusk_settings_effects::show_sky_bar(bool shown)
{
    panels_.show_sky_bar(shown);
}

void vusk_settings_effects::show_status_display(bool shown)
{
    panels_.show_status_display(shown);
}

void vusk_settings_effects::set_status_display_part(status_display_part part, int value)
{
    panels_.set_status_display_part(part, value);
}

void vusk_settings_effects::hide_group_display()
{
    panels_.hide_group_display();
}

void vusk_settings_effects::show_channel_window(bool shown)
{
    panels_.show_channel_window(shown, frame_.logged_in());
}

void vusk_settings_effects::set_automap_size(int cell_size)
{
    frame_.set_automap_size(cell_size);
}

bool vusk_settings_effects::start_audio()
{
    return ::start_audio() != 0;
}

void vusk_settings_effects::stop_audio()
{
    ::stop_audio();
}

// ---- The server's "config" tag ----

bool vusk_settings_effects::automap_enabled() const
{
    return TConfig::Instance()->GetAutomapEnable() != 0;
}

void vusk_settings_effects::set_automap_display_enable(int enable)
{
    frame_.set_automap_display_enable(enable);
}

void vusk_settings_effects::flash_automap()
{
    panels_.flash_automap();
}

void vusk_settings_effects::flash_hint_buttons()
{
    panels_.flash_hint_buttons();
}

void vusk_settings_effects::flash_status_display()
{
    panels_.flash_status_display();
}

void vusk_settings_effects::flash_popup_buttons()
{
    panels_.flash_popup_buttons();
}

void vusk_settings_effects::flash_main_display()
{
    frame_.main_display()->start_newbie_demo_mode_flashing();
}

void vusk_settings_effects::flash_input_window()
{
    frame_.input_window()->start_newbie_demo_mode_flashing();
}
