#include "http_server.h"

#include "python_server.h"

#include <arpa/inet.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
std::string root_of(const TempDir &directory)
{
    return directory.path() + "/root";
}
}

http_test_server::http_test_server(const std::string &mode, bool hold)
{
    std::filesystem::create_directory(root_of(directory_));
    const std::string root = root_of(directory_);
    const std::string log = directory_.path() + "/log";
    const std::string release_file = directory_.path() + "/release";
    std::vector<const char *> argv = {VUSK_PYTHON, VUSK_HTTP_SERVER, "--root", root.c_str(), "--mode", mode.c_str(),
                                      "--log", log.c_str()};
    if (hold) {
        argv.push_back("--hold");
        argv.push_back(release_file.c_str());
    }
    argv.push_back(nullptr);
    const spawned_server server = spawn_port_server(argv.data());
    pid_ = server.pid;
    port_ = server.port;
}

http_test_server::~http_test_server()
{
    kill_server(pid_);
}

void http_test_server::serve(const std::string &path, const std::string &content) const
{
    const std::filesystem::path full = root_of(directory_) + "/" + path;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << content;
}

std::vector<std::string> http_test_server::requests() const
{
    std::ifstream log(directory_.path() + "/log", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        lines.push_back(line);
    return lines;
}

void http_test_server::release() const
{
    std::ofstream(directory_.path() + "/release");
}

refused_port::refused_port()
{
    socket_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (socket_ < 0 || bind(socket_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        getsockname(socket_, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return;
    port_ = ntohs(address.sin_port);
}

refused_port::~refused_port()
{
    if (socket_ >= 0)
        close(socket_);
}
