#include "client_messages.h"

namespace {
constexpr int echo_separator_dashes = 73;
}

styled_text local_echo_text(const char *line, bool command_separator)
{
    const std::string text = line ? line : "";
    const bool separated = command_separator && !text.empty();
    styled_text pieces{{text_style::defaults, separated ? "\n\n" : "\n"},
                       {text_style::bold_yellow, ">"},
                       {text_style::defaults, text},
                       {text_style::bold_yellow, "<"}};
    if (separated)
        pieces.push_back({text_style::bold_white, "\n" + std::string(echo_separator_dashes, '-')});
    pieces.push_back({text_style::defaults, ""});
    return pieces;
}

styled_text command_help_text()
{
    static const char *const help =
        "\n"
        "\nTorvane Control Commands -------------------------------"
        "\n//commands               - this help screen"
        "\n//help                   - show keyboard shortcuts"
        "\n//echo                   - echo the given string"
        "\n//break                  - send TTY *break*"
        "\n//history                - show recent client history"
        "\n//clear                  - quick clear of all backscroll"
        "\n//quit                   - quick program exit"
        "\n//disconnect             - quick disconnect"
        "\n"
        "\nCommands Used While Disconnected -----------------------"
        "\nconnect <port>           - connect on a specified port"
        "\nquit                     - quick program exit"
        "\n";
    return {{text_style::defaults, help}};
}

styled_text keyboard_shortcuts_text(bool logged_in)
{
    static const char separator[] = "\n-----------------------------------------------------";
    std::string text = std::string(separator) +
                       "\nKeyboard controls you can use with this client:"
                       "\n"
                       "\nPgUp/PgDn         - lock and scroll the screen (any other key to unlock)"
                       "\nEscape            - erase current line"
                       "\nControl C         - (break) erase current line and stop all aliases"
                       "\nControl \\         - (abort) erase current line and stop all aliases"
                       "\nControl K         - erase/kill current line"
                       "\nControl M         - toggle automap window"
                       "\nControl P         - toggle hitpoint display bar"
                       "\nControl S         - freeze screen scrolling"
                       "\nControl Z         - freeze screen scrolling"
                       "\nControl Q         - unfreeze screen scrolling"
                       "\nControl -         - decrease font size"
                       "\nControl +         - increase font size"
                       "\nControl [         - decrease automap size"
                       "\nControl ]         - increase automap size"
                       "\nControl {         - decrease input window size"
                       "\nControl }         - increase input window size"
                       "\nControl 1-9       - quick open/close of popup windows"
                       "\nControl-Shift 1-9 - quick enable/disable of various features";
    if (logged_in)
        text += "\nF1-F12            - trigger aliases 'f01' through 'f12'";
    text += "\nUp/Down           - look through previous commands";
    text += separator;
    text += "\n";
    return {{text_style::defaults, text}};
}

styled_text voting_reminder_text()
{
    return {{text_style::normal_white, "\n\n\n"},
            {text_style::bold_yellow, "Don't forget to vote for Varn Ossic (use the links on the voting menu.)\n"},
            {text_style::normal_white, "\n"}};
}

styled_text voting_reminder_switch_text(bool enabled)
{
    return {{text_style::defaults, std::string("\n\n") +
                                       (enabled ? "You will now get daily reminders to vote for Varn Ossic.\n"
                                                : "Voting reminders disabled.\n") +
                                       "\n"}};
}

styled_text opening_web_page_text()
{
    return {{text_style::defaults, "\n\nOpening the main Varn Ossic web page in your browser...\n"}};
}

styled_text disconnect_message_text(const char *message)
{
    return {{text_style::normal_white, std::string("\n\n") + (message ? message : "") + "\n\n" +
                                           "To open another session, type '"},
            {text_style::bold_yellow, "connect"},
            {text_style::normal_white,
             "'.\nTo exit this program, type 'exit' or 'quit'.\n\n"}};
}

std::string browser_failure_text(const char *url)
{
    return std::string("\n\nSorry, but I can't seem open your browser.\n\n") + (url ? url : "") +
           "\n\n";
}
