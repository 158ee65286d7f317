#ifndef VUSK_COMMAND_LINE_H
#define VUSK_COMMAND_LINE_H

// Where the client connects: the game server and the game's web host. The
// defaults are build settings; the command line
//     varn-ossic [--web-host HOST[:PORT]] [HOST [PORT]]
// overrides them.

#include <string>

constexpr int default_game_port = 23;
constexpr int default_web_port = 80;

struct connect_settings {
    std::string game_host = VUSK_GAME_HOST;
    int game_port = default_game_port;
    std::string web_host = VUSK_WEB_HOST;
    int web_port = default_web_port;
};

enum class command_line_action { run, show_help, fail };

struct command_line_outcome {
    command_line_action action = command_line_action::run;
    std::string message; // usage for help; the error and the usage for a failure
};

// Parses the program's arguments into `settings` (left as they were unless
// the action is run). Prints nothing: the caller shows the message.
command_line_outcome parse_command_line(int argc, char **argv, connect_settings &settings);

// The settings every connect and every web address use.
extern const char *connect_address;
extern int connect_port;
extern const char *web_host_name;
extern int web_host_port;

void apply_connect_settings(const connect_settings &settings);

// "http://" and the web host (with its port when not 80), then path.
std::string web_page_url(const char *path);

#endif
