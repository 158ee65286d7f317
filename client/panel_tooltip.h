#ifndef VUSK_PANEL_TOOLTIP_H
#define VUSK_PANEL_TOOLTIP_H

// Tooltips of the drawn panels that change only when their text does.

#include <string>

class wxWindow;

// Gives the window the tooltip `text` (8-bit, may come from the server), or
// removes it when text is empty; `shown` remembers what the window has.
void show_panel_tooltip(wxWindow *window, std::string &shown, const std::string &text);

#endif
