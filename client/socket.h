#ifndef VUSK_SOCKET_H
#define VUSK_SOCKET_H

// The one TCP connection to the game server, seen through two fixed byte
// queues. Nothing here waits: the connect is started and then checked, and
// the main tick polls: arrived bytes go to the read queue, and the write
// queue is flushed when the socket takes data. The caller holds the
// descriptor (-1 when there is no connection).

#include <netinet/in.h>

constexpr int socket_queue_capacity = 10000;
// An unreachable server fails the connect after this long, like a refusal.
constexpr int socket_connect_timeout_ms = 15000;
inline constexpr char client_version[] = "1.089-mac";

extern const char socket_message_connection_lost[];
extern const char socket_message_closed_by_host[];

void socket_startup();

// Starts connecting to address and port without waiting for the server's
// answer. Returns the non-blocking descriptor, or -1 with the reason on
// standard error.
int socket_connect_start(const in_addr &address, int port);

enum class socket_connect_progress { pending, connected, failed };

// Asks, without waiting, whether the server answered the connect started on
// fd; one not answered by the time it is up fails as timed out. A failed
// connect is reported on standard error and its descriptor closed. A made
// one becomes the game connection: both queues are emptied and the
// identification line with the client's id is queued.
socket_connect_progress socket_connect_check(int fd, bool time_is_up, const char *client_id);

// One non-blocking pass of reading and writing. Null while the connection is
// fine, otherwise the text that tells the player it was lost.
const char *poll_socket(int fd);
// A pass of writing only: what the server sent stays with the system, which
// holds the server back once its buffers are full. A connection that broke
// (a reset, a socket error) is still reported; one the server closed cleanly
// is left for the reading to find after the text sent before the close.
const char *poll_socket_writes(int fd);

// Moves up to maximum bytes from the front of the read queue to destination.
int socket_read_data(int fd, char *destination, int maximum);

// Appends as much of text as fits in the write queue.
void append_outgoing_string(const char *text);

// Queues text and a line feed. A command that does not fit whole is not
// queued at all (a cut line would run into the next one): the result is 1
// when it was queued and 0 when it was dropped.
int socket_send_command(int fd, const char *text);

void socket_clear_all_queues();

// Closes fd; -1 is ignored.
int socket_close(int fd);

#endif
