#include "mw_links.h"

#include "audio_driver_pa.h"
#include "main.h"

#include <wx/menu.h>

bool mw_config_effects::logged_in() const
{
    return frame_.logged_in != 0;
}

void mw_config_effects::check_menu_item(int id, bool checked)
{
    if (frame_.menu_bar != nullptr && frame_.menu_bar->FindItem(id) != nullptr)
        frame_.menu_bar->Check(id, checked);
}

void mw_config_effects::refresh()
{
    frame_.Refresh();
}

void mw_config_effects::resize()
{
    frame_.resize();
}

void mw_config_effects::reset_scrollbars()
{
    frame_.reset_scrollbars();
}

void mw_config_effects::global_font_resync()
{
    frame_.global_font_resync();
}

void mw_config_effects::button_font_resync()
{
    frame_.button_font_resync();
}

void mw_config_effects::menu_view_change_layout_helper()
{
    frame_.resize();
    frame_.Refresh();
}

void mw_config_effects::global_change_theme(int redraw_background)
{
    frame_.global_change_theme(redraw_background);
}

bool mw_config_effects::start_audio()
{
    return ::start_audio() != 0;
}

void mw_config_effects::stop_audio()
{
    ::stop_audio();
}

void mw_panel_calls::open_url(const char *url)
{
    frame_.open_url(url);
}

int mw_panel_calls::transfer_focus_main(wxWindow *window)
{
    return frame_.transfer_focus_main(window);
}

void mw_panel_calls::handle_async_control_command(const char *text, int echo)
{
    frame_.handle_async_control_command(text, echo);
}

void mw_panel_calls::handle_async_control_break()
{
    frame_.handle_async_control_break();
}

void mw_panel_calls::handle_async_control_abort()
{
    frame_.handle_async_control_abort();
}

int mw_panel_calls::logged_in()
{
    return frame_.logged_in;
}

int mw_panel_calls::scrolling_enabled()
{
    return frame_.scrolling_enabled();
}

void mw_panel_calls::enable_scrolling()
{
    frame_.enable_scrolling();
}

void mw_panel_calls::disable_scrolling()
{
    frame_.disable_scrolling();
}

void mw_panel_calls::handle_async_tty_start()
{
    frame_.handle_async_tty_start();
}

void mw_panel_calls::handle_async_tty_stop()
{
    frame_.handle_async_tty_stop();
}

void mw_panel_calls::scroll_up()
{
    frame_.scroll_up();
}

void mw_panel_calls::scroll_down()
{
    frame_.scroll_down();
}

void mw_panel_calls::scroll_up(int lines)
{
    frame_.scroll_up(lines);
}

void mw_panel_calls::scroll_down(int lines)
{
    frame_.scroll_down(lines);
}

int mw_panel_calls::has_mouse_selection()
{
    return frame_.has_mouse_selection();
}

void mw_panel_calls::clear_mouse_selection()
{
    frame_.clear_mouse_selection();
}

void mw_panel_calls::display_set_default_colors()
{
    frame_.display_set_default_colors();
}

void mw_panel_calls::main_display_write(const char *text)
{
    frame_.display_write(text);
}
