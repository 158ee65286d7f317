#ifndef VUSK_POPUP_DEFINITION_H
#define VUSK_POPUP_DEFINITION_H

// A popup window as the server defines it ("window_create"), read from the
// message's five lines: name, title, text size, refresh command and flag
// words. Windowless.

#include <string>

// A popup's name keeps at most this many characters (what the stored
// geometry holds); longer names are cut on arrival, before lookup.
constexpr int popup_name_max = 99;
// A refresh command keeps at most this many characters.
constexpr int popup_command_max = 400;
// Popups a connection may define; further definitions are ignored.
constexpr int popup_cap = 32;
// The Windows menu lists at most this many popups.
constexpr int popup_menu_items_max = 16;
// The text size in characters is kept within 1..popup_text_max each way.
constexpr int popup_text_max = 1000;

struct popup_definition {
    std::string name;
    std::string title;
    int cols = 1;
    int rows = 1;
    std::string refresh_command;
    bool noscroll = false;
    bool nowrap = false;
    bool menuonly = false;
};

// False for a malformed message: fewer than five lines (the fifth may be
// empty), or a size line without two words. Each size word is read as atoi
// reads it, then kept within 1..popup_text_max. Every line is cut at 7999
// characters, the name and the command to their limits.
bool parse_popup_definition(const char *data, popup_definition &definition);

// The name as popups are stored and found; a null name gives "".
std::string popup_key(const char *name);

#endif
