#include "panel_tooltip.h"

#include "text_bytes.h"

#include <wx/window.h>

void show_panel_tooltip(wxWindow *window, std::string &shown, const std::string &text)
{
    if (text == shown)
        return;
    shown = text;
    if (text.empty())
        window->UnsetToolTip();
    else
        window->SetToolTip(bytes_to_wx(text));
}
