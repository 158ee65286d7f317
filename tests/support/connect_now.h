#ifndef VUSK_TEST_CONNECT_NOW_H
#define VUSK_TEST_CONNECT_NOW_H

// A connect attempt seen through at once, checked as the main ticks check
// it, for tests that need a connection rather than the attempt.

#include "connect_attempt.h"
#include "socket.h"

#include <chrono>
#include <thread>

namespace test_connect {

// How long a test waits for an attempt on this machine to end.
constexpr std::chrono::seconds patience{5};

inline connect_attempt::progress see_through(connect_attempt &attempt)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    connect_attempt::progress progress;
    while ((progress = attempt.check()) == connect_attempt::progress::pending &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return progress;
}

// The connected descriptor, the game connection; -1 when the attempt failed.
inline int open_connection(const char *host, int port, const char *client_id)
{
    connect_attempt attempt(host, port, client_id, socket_connect_timeout_ms);
    see_through(attempt);
    return attempt.take_socket();
}

}

#endif
