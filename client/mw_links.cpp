#include "mw_links.h"

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
