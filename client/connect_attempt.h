#ifndef VUSK_CONNECT_ATTEMPT_H
#define VUSK_CONNECT_ATTEMPT_H

// One attempt to reach the game server that never makes its caller wait:
// the host is found by a host_lookup, the socket connects without blocking,
// and each check asks the system, with no time-out, how far it got. An
// attempt whose lookup or server has not answered timeout_ms after the
// attempt began fails as timed out, as a refusal would.

#include "host_lookup.h"

#include <chrono>
#include <memory>
#include <string>

class connect_attempt {
public:
    enum class progress { pending, connected, failed };

    connect_attempt(const char *host, int port, const char *client_id, int timeout_ms);
    // Connects to the address `lookup` finds; several attempts may share one
    // lookup.
    connect_attempt(std::shared_ptr<host_lookup> lookup, int port, const char *client_id, int timeout_ms);
    // A socket not handed out is closed.
    ~connect_attempt();
    connect_attempt(const connect_attempt &) = delete;
    connect_attempt &operator=(const connect_attempt &) = delete;

    // Carries the attempt one step further without waiting. Once connected,
    // the socket is the game connection (socket.h) and take_socket hands it
    // out.
    progress check();
    // The connected socket, now the caller's; -1 before the connect is made.
    int take_socket();

private:
    using clock = std::chrono::steady_clock;

    progress start_connecting(const in_addr &address);

    const std::shared_ptr<host_lookup> lookup_;
    const int port_;
    const std::string client_id_;
    const clock::time_point deadline_;
    int fd_ = -1;
    progress progress_ = progress::pending;
};

#endif
