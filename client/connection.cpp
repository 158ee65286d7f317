#include "connection.h"

#include "command_line.h"
#include "socket.h"
#include "tqconfig.h"
#include "util.h"

int global_socket_fd = -1;
int connect_timeout_ms = socket_connect_timeout_ms;

namespace {
// The socket layer hands over at most this much per read.
constexpr int socket_read_chunk = 10000;
const char ping_line[] = "tqping";
}

bool vusk_connection::first_connect_due()
{
    if (connected_once_)
        return false;
    connected_once_ = true;
    socket_startup();
    return true;
}

bool vusk_connection::open(const char *port_text)
{
    close();
    const int port = port_text != nullptr ? read_int_clamped(port_text) : connect_port;
    attempt_ = std::make_unique<connect_attempt>(host_lookup_for_attempt(), port, global_uuid, connect_timeout_ms);
    return continue_connecting();
}

// A lookup the name server has not answered yet serves the next attempt
// too, so that trying again and again while it hangs starts no thread more.
// An answered one is not kept: the host may have moved since.
std::shared_ptr<host_lookup> vusk_connection::host_lookup_for_attempt()
{
    if (lookup_ == nullptr || !lookup_->pending() || lookup_->host() != connect_address)
        lookup_ = std::make_shared<host_lookup>(connect_address, resolve_);
    return lookup_;
}

bool vusk_connection::continue_connecting()
{
    if (attempt_ == nullptr)
        return true;
    const connect_attempt::progress progress = attempt_->check();
    if (progress == connect_attempt::progress::pending)
        return true;
    global_socket_fd = attempt_->take_socket();
    attempt_.reset();
    return progress == connect_attempt::progress::connected;
}

const char *vusk_connection::read()
{
    if (global_socket_fd == -1)
        return nullptr;
    if (const char *failure = poll_socket(global_socket_fd))
        return failure;
    char chunk[socket_read_chunk];
    int count;
    while ((count = socket_read_data(global_socket_fd, chunk, socket_read_chunk)) > 0)
        stream_parser_.process_socket_data(chunk, count);
    return nullptr;
}

const char *vusk_connection::send_only() const
{
    return global_socket_fd == -1 ? nullptr : poll_socket_writes(global_socket_fd);
}

// A channel message in progress must not outlive the server that started it.
void vusk_connection::end_session()
{
    tag_dispatcher_.channel_undivert();
    close();
    logged_in_ = false;
}

void vusk_connection::close()
{
    attempt_.reset();
    socket_close(global_socket_fd);
    socket_clear_all_queues();
    global_socket_fd = -1;
}

void vusk_connection::send(const char *line) const
{
    socket_send_command(global_socket_fd, line);
}

void vusk_connection::log_in()
{
    login_time_ = time(nullptr);
    logged_in_ = true;
}

void vusk_connection::send_ping()
{
    send(ping_line);
    ping_stopwatch_.Start();
}
