#ifndef VUSK_TEST_GAME_SERVER_H
#define VUSK_TEST_GAME_SERVER_H

#include "temp_home.h"

#include <string>
#include <sys/types.h>

// The scripted game server (tests/server/game_server.py) running one script
// on 127.0.0.1, on a port it picked. Every line the client sends is recorded.
// The process is stopped when the object dies.
class scripted_game_server {
public:
    explicit scripted_game_server(const std::string &script, double timeout_seconds = 10);
    ~scripted_game_server();
    scripted_game_server(const scripted_game_server &) = delete;
    scripted_game_server &operator=(const scripted_game_server &) = delete;

    // 0 when the server could not start.
    int port() const { return port_; }

    // Waits up to `seconds` for the server to end its script; its exit status
    // (0: the script ran to its end), or -1 when it had to be stopped.
    int wait(double seconds);

    // The lines the client sent so far, each ended by a line feed.
    std::string recorded() const;

private:
    TempDir directory_;
    pid_t pid_ = -1;
    int port_ = 0;
};

#endif
