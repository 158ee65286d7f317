#include "game_server.h"

#include "python_server.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>

namespace {

void write_file(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
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
    const spawned_server server = spawn_port_server(argv);
    pid_ = server.pid;
    port_ = server.port;
}

scripted_game_server::~scripted_game_server()
{
    kill_server(pid_);
}

int scripted_game_server::wait(double seconds)
{
    if (pid_ <= 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill_server(pid_);
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
