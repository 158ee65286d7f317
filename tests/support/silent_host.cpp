#include "silent_host.h"

#include "loopback_port.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
// The state column of /proc/net/tcp for a socket whose connect is unanswered.
const char syn_sent_state[] = "02";
constexpr size_t max_ports_passed_over = 64;
}

// A connect to a port closed earlier (by another test, in this process or
// in another run at the same time) can still wait for an answer when the
// system hands the number out again; such a port would count it too. The
// ports passed over stay bound until one is found, so none comes back.
silent_host::silent_host()
{
    std::vector<int> passed_over;
    listener_ = bound_loopback_socket(port_);
    while (waiting_connects() > 0 && passed_over.size() < max_ports_passed_over) {
        passed_over.push_back(listener_);
        listener_ = bound_loopback_socket(port_);
    }
    for (int port_with_strays : passed_over)
        close(port_with_strays);
    listen(listener_, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port_));
    filler_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    connect(filler_, reinterpret_cast<sockaddr *>(&address), sizeof address);
}

silent_host::~silent_host()
{
    close(filler_);
    close(listener_);
}

int silent_host::waiting_connects() const
{
    char remote[32];
    snprintf(remote, sizeof remote, "0100007F:%04X", port_);
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line); // the column names
    int count = 0;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, peer, state;
        fields >> slot >> local >> peer >> state;
        count += peer == remote && state == syn_sent_state;
    }
    return count;
}
