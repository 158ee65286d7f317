#include "game_server.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int port_wait_ms = 10000;

void write_file(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

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

scripted_game_server::scripted_game_server(const std::string &script, double timeout_seconds)
{
    const std::string script_path = directory_.path() + "/script";
    write_file(script_path, script);
    const std::string timeout = std::to_string(timeout_seconds);
    const std::string record = directory_.path() + "/record";
    write_file(record, "");
    const char *argv[] = {VUSK_PYTHON, VUSK_GAME_SERVER, "--script", script_path.c_str(),
                          "--record", record.c_str(), "--timeout", timeout.c_str(), nullptr};

    int out[2];
    if (pipe(out) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&pid_, VUSK_PYTHON, &actions, nullptr, const_cast<char **>(argv), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (pid_ > 0)
        port_ = read_port(out[0]);
    close(out[0]);
}

scripted_game_server::~scripted_game_server()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

int scripted_game_server::wait(double seconds)
{
    if (pid_ <= 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string scripted_game_server::recorded() const
{
    std::ifstream file(directory_.path() + "/record", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
