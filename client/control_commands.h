#ifndef VUSK_CONTROL_COMMANDS_H
#define VUSK_CONTROL_COMMANDS_H

// Every line the client sends on the player's behalf passes one dispatcher.
// This is its decision, which of the client's own commands a line is, and the
// settings status line that tells the server which panels are switched on.

#include <string>

enum class control_rule {
    command_help,   // "//commands"
    keyboard_help,  // "//help"
    echo,           // "//echo"
    send_break,     // "//break"
    history,        // "//history"
    quit_now,       // "//quit", "//exit"
    disconnect,     // "//disconnect"
    clear,          // "//clear"
    debug_fill,     // "//debugfill"
    icons,          // "//icons"
    sound_test,     // "//soundtest"
    channel_clear,  // "//chanclear"
    ping,           // "tqping" while logged in
    send_to_server, // any other line while connected
    connect,        // "connect", "restart", "start", "login" while disconnected
    quit,           // "quit", "exit" while disconnected
    ignore,         // anything else while disconnected
};

struct control_match {
    control_rule rule;
    const char *line;     // the line itself, "" for a null line
    const char *argument; // the text after the first word, null when there is none
};

// The first rule of the dispatcher's table that `line` matches. A null line
// counts as empty.
control_match match_control_command(const char *line, bool logged_in, bool connected);

// The settings the status line reports, as the configuration's getters return them.
struct config_status_settings {
    int system_audio = 0;
    int command_separator = 0;
    int direction_button = 0;
    int hint_button = 0;
    int fkey_button = 0;
    int status_bar = 0;
    int sky_bar = 0;
    int exp_display = 0;
    int hpbar_enable = 0;
    int enemy_hpbar_enable = 0;
    int popup_display = 0;
    int group_status = 0;
    int layout = 0;
    int automap_enable = 0;
    int automap_docked = 0;
    int channel_window = 0;
    int channel_dupe = 0;
    int color_flash = 0;
    int font_colors = 0;
    int voting_reminder = 0;
    int button_theme = 0;
    int background_color = 0;
    int background_style = 0;
};

// "tqlstatus ", twenty one-character codes and the three theme numbers,
// without the line's newline.
std::string config_status_line(const config_status_settings &settings);

class TConfig;
// The settings the status line reports (the status column of the settings
// table) as the configuration holds them, and the voting reminders' switch.
config_status_settings status_line_settings(const TConfig &config, int voting_reminder);

#endif
