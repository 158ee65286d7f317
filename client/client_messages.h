#ifndef VUSK_CLIENT_MESSAGES_H
#define VUSK_CLIENT_MESSAGES_H

// The texts the client writes into the main display for the player, built as
// runs of text in one colour each, so that their bytes and colours can be
// checked without a display.

#include <string>
#include <vector>

enum class text_style {
    defaults,     // the display's reset colours
    normal_white, // SGR 0 and 37
    bold_yellow,  // SGR 1 and 33: command words
    bold_white,   // SGR 1 and 37
};

struct styled_piece {
    text_style style;
    std::string text; // may be empty: only the colour changes
};

using styled_text = std::vector<styled_piece>;

// Writes the pieces to any display with reset_colors(), set_color(int, int)
// and write(const char*).
template <class Display>
void write_styled(Display &display, const styled_text &pieces)
{
    for (const styled_piece &piece : pieces) {
        switch (piece.style) {
        case text_style::defaults: display.reset_colors(); break;
        case text_style::normal_white: display.set_color(0, '7'); break;
        case text_style::bold_yellow: display.set_color(1, '3'); break;
        case text_style::bold_white: display.set_color(1, '7'); break;
        }
        if (!piece.text.empty())
            display.write(piece.text.c_str());
    }
}

// The same, then shows it at once, for a display that also has refresh_text().
template <class Display>
void show_styled(Display &display, const styled_text &pieces)
{
    write_styled(display, pieces);
    display.refresh_text();
}

// The echo of a line the player sent, with or without the separator lines.
styled_text local_echo_text(const char *line, bool command_separator);

// The list of the client's own commands ("//commands").
styled_text command_help_text();

// The framed reason of a disconnect with the hints to reconnect and to exit.
styled_text disconnect_message_text(const char *message);

// The keyboard shortcuts ("//help" and the Help menu); the function keys
// only work, and are only listed, while logged in.
styled_text keyboard_shortcuts_text(bool logged_in);

// The daily reminder to vote, and the answer to switching reminders.
styled_text voting_reminder_text();
styled_text voting_reminder_switch_text(bool enabled);

// Written before a click on the logo opens the game's web page.
styled_text opening_web_page_text();

// Shown when the browser could not be started.
std::string browser_failure_text(const char *url);

#endif
