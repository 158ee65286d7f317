#include "socket.h"

#include "util.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
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

// A connect not yet answered; false with errno set when it failed.
bool connect_underway(int fd, const sockaddr_in &address)
{
    if (connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return true;
    return errno == EINPROGRESS || errno == EINTR;
}

// The outcome of a connect that has been answered: 0 when it was made,
// otherwise the reason it failed.
int connect_error(int fd)
{
    int error = 0;
    socklen_t error_size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &error_size) < 0)
        return errno;
    return error;
}

socket_connect_progress fail_connect(int fd, int error)
{
    report_error("Unable to connect", error);
    close(fd);
    return socket_connect_progress::failed;
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

const char *flush_if_writable(int fd, short revents)
{
    if ((revents & POLLOUT) && write_offset > 0)
        return flush_write_queue(fd);
    return nullptr;
}

}

void socket_startup()
{
    // Nothing to prepare on this platform.
}

int socket_connect_start(const in_addr &address, int port)
{
    if (port < 1 || port > highest_port) {
        report_error("Unable to connect", EINVAL);
        return -1;
    }
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr = address;
    destination.sin_port = htons(static_cast<uint16_t>(port));

    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        report_error("Unable to create socket to open connection", errno);
        return -1;
    }
    if (!connect_underway(fd, destination)) {
        fail_connect(fd, errno);
        return -1;
    }
    return fd;
}

socket_connect_progress socket_connect_check(int fd, bool time_is_up, const char *client_id)
{
    pollfd entry{fd, POLLOUT, 0};
    const int ready = poll(&entry, 1, 0);
    if (ready < 0 && !is_transient_error(errno))
        return fail_connect(fd, errno);
    if (ready <= 0)
        return time_is_up ? fail_connect(fd, ETIMEDOUT) : socket_connect_progress::pending;
    if (const int error = connect_error(fd))
        return fail_connect(fd, error);
    signal(SIGPIPE, SIG_IGN);
    socket_clear_all_queues();
    queue_identification_line(fd, client_id);
    return socket_connect_progress::connected;
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
    return flush_if_writable(fd, entry.revents);
}

// A broken connection is asked of the system, not read. A clean close is
// not: the text the server sent before it still waits to be shown, and the
// reading finds the close after it.
const char *poll_socket_writes(int fd)
{
    pollfd entry{fd, POLLPRI | POLLOUT, 0};
    if (poll(&entry, 1, 0) < 0)
        return is_transient_error(errno) ? nullptr : socket_message_connection_lost;
    if (entry.revents & (POLLPRI | POLLNVAL))
        return socket_message_connection_lost;
    if (entry.revents & POLLERR)
        return socket_message_closed_by_host;
    return flush_if_writable(fd, entry.revents);
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
