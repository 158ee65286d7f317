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
