#include "socket.h"

#include "util.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

const char socket_message_connection_lost[] = "Abnormal disconnect - network connection lost.";
const char socket_message_closed_by_host[] = "Connection closed by foreign host.";

namespace {

constexpr int highest_port = 65535;
const char identification_word[] = "torvane";

char read_queue[socket_queue_capacity];
int read_offset = 0;
char write_queue[socket_queue_capacity];
int write_offset = 0;

void report_error(const char *prefix, int error)
{
    fprintf(stderr, "%s: %s\n", prefix, strerror(error));
}

bool is_transient_error(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

bool lookup_host(const char *host, in_addr &address)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *answer = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &answer) != 0 || answer == nullptr)
        return false;
    address = reinterpret_cast<const sockaddr_in *>(answer->ai_addr)->sin_addr;
    freeaddrinfo(answer);
    return true;
}

// A host that starts with a digit is an address and is never looked up.
bool resolve_host(const char *host, in_addr &address)
{
    if (host == nullptr || host[0] == '\0')
        return false;
    if (is_decimal_digit(host[0]))
        return inet_aton(host, &address) != 0;
    return lookup_host(host, address);
}

bool wait_until_writable(int fd, int timeout_ms)
{
    using clock = std::chrono::steady_clock;
    const clock::time_point deadline = clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now());
        pollfd entry{fd, POLLOUT, 0};
        int ready = poll(&entry, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready > 0)
            return true;
        if (ready == 0) {
            errno = ETIMEDOUT;
            return false;
        }
        if (errno != EINTR)
            return false;
    }
}

// Connects without blocking longer than timeout_ms; the socket is left
// non-blocking. On failure errno holds the reason.
bool connect_within(int fd, const sockaddr_in &address, int timeout_ms)
{
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0)
        return false;
    if (connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return true;
    if (errno != EINPROGRESS && errno != EINTR)
        return false;
    if (!wait_until_writable(fd, timeout_ms))
        return false;
    int error = 0;
    socklen_t error_size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &error_size) < 0)
        return false;
    errno = error;
    return error == 0;
}

void queue_identification_line(int fd, const char *client_id)
{
    Buffer line;
    buffer_append(line, identification_word);
    buffer_append_char(line, ' ');
    buffer_append(line, client_id);
    buffer_append_char(line, ' ');
    buffer_append(line, client_version);
    socket_send_command(fd, line.data);
}

// Reads into the free tail of the read queue; pauses while it is full.
const char *fill_read_queue(int fd)
{
    if (read_offset >= socket_queue_capacity)
        return nullptr;
    ssize_t count = recv(fd, read_queue + read_offset, static_cast<size_t>(socket_queue_capacity - read_offset), 0);
    if (count > 0) {
        read_offset += static_cast<int>(count);
        return nullptr;
    }
    if (count < 0 && is_transient_error(errno))
        return nullptr;
    return socket_message_closed_by_host;
}

// Writes the whole write queue in one call; what was not taken stays in
// front, in order, for a later pass.
const char *flush_write_queue(int fd)
{
    ssize_t count = send(fd, write_queue, static_cast<size_t>(write_offset), MSG_NOSIGNAL);
    if (count < 0 && is_transient_error(errno))
        return nullptr;
    if (count <= 0)
        return socket_message_closed_by_host;
    write_offset -= static_cast<int>(count);
    memmove(write_queue, write_queue + count, static_cast<size_t>(write_offset));
    return nullptr;
}

}

void socket_startup()
{
    // Nothing to prepare on this platform.
}

int socket_open(const char *host, int port, const char *client_id, int connect_timeout_ms)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    if (!resolve_host(host, address.sin_addr))
        return -1;
    if (port < 1 || port > highest_port) {
        report_error("Unable to connect", EINVAL);
        return -1;
    }
    address.sin_port = htons(static_cast<uint16_t>(port));

    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        report_error("Unable to create socket to open connection", errno);
        return -1;
    }
    if (!connect_within(fd, address, connect_timeout_ms)) {
        report_error("Unable to connect", errno);
        close(fd);
        return -1;
    }
    signal(SIGPIPE, SIG_IGN);
    socket_clear_all_queues();
    queue_identification_line(fd, client_id);
    return fd;
}

const char *poll_socket(int fd)
{
    pollfd entry{fd, POLLIN | POLLPRI | POLLOUT, 0};
    int ready = poll(&entry, 1, 0);
    if (ready < 0)
        return is_transient_error(errno) ? nullptr : socket_message_connection_lost;
    if (ready == 0)
        return nullptr;
    // Urgent data from the server counts as a broken connection.
    if (entry.revents & (POLLPRI | POLLNVAL))
        return socket_message_connection_lost;
    if (entry.revents & (POLLIN | POLLHUP | POLLERR)) {
        const char *failure = fill_read_queue(fd);
        if (failure != nullptr)
            return failure;
    }
    if ((entry.revents & POLLOUT) && write_offset > 0)
        return flush_write_queue(fd);
    return nullptr;
}

int socket_read_data(int /*fd*/, char *destination, int maximum)
{
    if (destination == nullptr || maximum < 1 || read_offset == 0)
        return 0;
    int count = maximum < read_offset ? maximum : read_offset;
    memcpy(destination, read_queue, static_cast<size_t>(count));
    read_offset -= count;
    memmove(read_queue, read_queue + count, static_cast<size_t>(read_offset));
    return count;
}

void append_outgoing_string(const char *text)
{
    if (text == nullptr)
        return;
    size_t room = static_cast<size_t>(socket_queue_capacity - write_offset);
    size_t count = strnlen(text, room);
    memcpy(write_queue + write_offset, text, count);
    write_offset += static_cast<int>(count);
}

int socket_send_command(int /*fd*/, const char *text)
{
    if (text == nullptr)
        return 0;
    size_t room = static_cast<size_t>(socket_queue_capacity - write_offset);
    if (strnlen(text, room) + 1 > room)
        return 0;
    append_outgoing_string(text);
    append_outgoing_string("\n");
    return 1;
}

void socket_clear_all_queues()
{
    read_offset = 0;
    write_offset = 0;
}

int socket_close(int fd)
{
    return fd < 0 ? 0 : close(fd);
}
