#include "connect_attempt.h"

#include "socket.h"

connect_attempt::connect_attempt(const char *host, int port, const char *client_id, int timeout_ms)
    : connect_attempt(std::make_shared<host_lookup>(host), port, client_id, timeout_ms)
{
}

connect_attempt::connect_attempt(std::shared_ptr<host_lookup> lookup, int port, const char *client_id,
                                 int timeout_ms)
    : lookup_(std::move(lookup)), port_(port), client_id_(client_id != nullptr ? client_id : ""),
      deadline_(clock::now() + std::chrono::milliseconds(timeout_ms))
{
}

connect_attempt::~connect_attempt()
{
    socket_close(fd_);
}

connect_attempt::progress connect_attempt::check()
{
    if (progress_ != progress::pending)
        return progress_;
    const bool time_is_up = clock::now() >= deadline_;
    if (fd_ == -1) {
        in_addr address{};
        switch (lookup_->check(address)) {
        case host_lookup::outcome::pending:
            // Given up silently, like a name that was not found; the lookup
            // goes on for the next attempt that shares it.
            if (time_is_up)
                progress_ = progress::failed;
            return progress_;
        case host_lookup::outcome::failed: return progress_ = progress::failed;
        case host_lookup::outcome::found: return start_connecting(address);
        }
    }
    switch (socket_connect_check(fd_, time_is_up, client_id_.c_str())) {
    case socket_connect_progress::pending: break;
    case socket_connect_progress::connected: progress_ = progress::connected; break;
    case socket_connect_progress::failed:
        // The socket layer has closed it.
        fd_ = -1;
        progress_ = progress::failed;
        break;
    }
    return progress_;
}

// The server's answer is checked at once: one on this machine or close by
// has given it already.
connect_attempt::progress connect_attempt::start_connecting(const in_addr &address)
{
    fd_ = socket_connect_start(address, port_);
    if (fd_ == -1)
        return progress_ = progress::failed;
    return check();
}

int connect_attempt::take_socket()
{
    if (progress_ != progress::connected)
        return -1;
    const int fd = fd_;
    fd_ = -1;
    return fd;
}
