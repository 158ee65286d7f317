#ifndef VUSK_VOTE_MENU_H
#define VUSK_VOTE_MENU_H

// The "&Vote" menu: up to eight voting pages for the game (the table
// `voting_urls`, kept in the preference store), which the server may replace
// with "votemenu<n>" tags, and three built-in entries while it has not.

class wxMenu;

// A "votemenu" tag: number is the tag's text after "votemenu" (1..8), data
// the label, a newline and the URL. Entry 1 clears the whole table first.
// Only http:// and https:// URLs are taken; anything else is ignored.
void setup_vote_menu(const char *number, const char *data);

// Fills the table with the built-in entries when entry 1 is unset.
void use_default_voting_urls();

// Makes the menu's items in `menu` (emptied first), from a table with the
// built-in entries filled in; returns false when there is nothing to list.
bool fill_voting_menu(wxMenu &menu);

// The URL of entry index (0..7), or null.
const char *voting_url_of(int index);

#endif
