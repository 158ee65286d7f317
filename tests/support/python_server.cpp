#include "python_server.h"

#include <csignal>
#include <cstdio>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int port_wait_ms = 10000;

// Reads the server's first line, "PORT <number>".
int read_port(int fd)
{
    std::string line;
    char c = 0;
    while (line.size() < 64) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, port_wait_ms) <= 0 || read(fd, &c, 1) != 1 || c == '\n')
            break;
        line += c;
    }
    int port = 0;
    return sscanf(line.c_str(), "PORT %d", &port) == 1 ? port : 0;
}

} // namespace

spawned_server spawn_port_server(const char *const argv[])
{
    spawned_server server;
    int out[2];
    if (pipe(out) != 0)
        return server;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&server.pid, argv[0], &actions, nullptr, const_cast<char **>(argv), environ) != 0)
        server.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (server.pid > 0)
        server.port = read_port(out[0]);
    close(out[0]);
    return server;
}

void kill_server(pid_t pid)
{
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}
