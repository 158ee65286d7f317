#ifndef VUSK_MENU_LABEL_H
#define VUSK_MENU_LABEL_H

// A menu label made from text that came from outside (the server, files):
// '&' doubled so it shows instead of marking a mnemonic, tabs and control
// bytes dropped (a tab turns the rest into an accelerator), and never empty
// (the toolkit refuses empty labels): `fallback` stands in for nothing.

#include <wx/string.h>

#include <string>

wxString menu_label(const std::string &text, const char *fallback);

#endif
