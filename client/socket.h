#ifndef VUSK_SOCKET_H
#define VUSK_SOCKET_H

// The one TCP connection to the game server, seen through two fixed byte
// queues. The main tick polls without blocking: arrived bytes go to the read
// queue, and the write queue is flushed when the socket takes data. The
// caller holds the descriptor (-1 when there is no connection).

constexpr int socket_queue_capacity = 10000;
// An unreachable server fails the connect after this long, like a refusal.
constexpr int socket_connect_timeout_ms = 15000;
inline constexpr char client_version[] = "1.089-mac";

extern const char socket_message_connection_lost[];
extern const char socket_message_closed_by_host[];

void socket_startup();

// Resolves host (a dotted quad when it starts with a digit), connects within
// the time-out, empties both queues and queues the identification line with
// the client's id. Returns the non-blocking descriptor, or -1.
int socket_open(const char *host, int port, const char *client_id,
                int connect_timeout_ms = socket_connect_timeout_ms);

// One non-blocking pass of reading and writing. Null while the connection is
// fine, otherwise the text that tells the player it was lost.
const char *poll_socket(int fd);

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
