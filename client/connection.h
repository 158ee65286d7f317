#ifndef VUSK_CONNECTION_H
#define VUSK_CONNECTION_H

// The game connection of the main frame: the socket, the stream parser that
// reads it and the dispatcher that routes its tags, and the session's state
// (logged in since when, the player's last line, the ping's stopwatch). The
// frame owns it and does what connecting, losing the connection and logging
// in show on screen; this only keeps the socket and the state.

#include "connect_attempt.h"
#include "stream_parser.h"
#include "tag_dispatch.h"

#include <wx/stopwatch.h>

#include <ctime>
#include <memory>

// The socket of the game connection; -1 while there is none (also while a
// connect is under way).
extern int global_socket_fd;
// How long a connect waits for the server's answer.
extern int connect_timeout_ms;

class vusk_connection {
public:
    // Plain text and telnet effects go to `sink`, tags to the dispatcher;
    // host names are looked up by `resolve`.
    explicit vusk_connection(vusk_stream_sink &sink, host_resolver resolve = resolve_host_name)
        : stream_parser_(sink, tag_dispatcher_), resolve_(std::move(resolve))
    {
    }
    ~vusk_connection() { close(); }
    vusk_connection(const vusk_connection &) = delete;
    vusk_connection &operator=(const vusk_connection &) = delete;

    // True once, on the first call: the socket layer is started then, and
    // the caller connects.
    bool first_connect_due();
    // Starts connecting to the port (the command line's when null), ending
    // any connection or connect before it; false when it failed at once.
    bool open(const char *port_text);
    // Carries a connect under way one step further without waiting; false
    // when it failed now, true otherwise.
    bool continue_connecting();
    bool connecting() const { return attempt_ != nullptr; }
    // Hands everything waiting on the socket to the stream parser; the reason
    // when the connection is lost, else null.
    const char *read();
    // Sends the lines waiting but leaves what the server sent unread; the
    // reason when the connection is lost, else null.
    const char *send_only() const;
    // The session ends: a channel diversion with it, the socket is closed.
    void end_session();
    // Closes the socket, or gives up the connect under way.
    void close();
    bool connected() const { return global_socket_fd != -1; }
    void send(const char *line) const;

    bool logged_in() const { return logged_in_; }
    void log_in();
    time_t login_time() const { return login_time_; }
    // The player's last line, for the voting reminder.
    void note_command() { last_command_time_ = time(nullptr); }
    time_t last_command_time() const { return last_command_time_; }

    // A ping goes out and the stopwatch starts; the reply reads it.
    void send_ping();
    wxStopWatch &ping_stopwatch() { return ping_stopwatch_; }

    vusk_stream_parser &stream_parser() { return stream_parser_; }
    vusk_tag_dispatcher &tag_dispatcher() { return tag_dispatcher_; }
    const vusk_tag_dispatcher &tag_dispatcher() const { return tag_dispatcher_; }

private:
    vusk_tag_dispatcher tag_dispatcher_;
    vusk_stream_parser stream_parser_;
    std::shared_ptr<host_lookup> host_lookup_for_attempt();

    const host_resolver resolve_;
    std::unique_ptr<connect_attempt> attempt_;
    // The latest attempt's lookup, kept while it waits for its answer.
    std::shared_ptr<host_lookup> lookup_;
    bool connected_once_ = false;
    bool logged_in_ = false;
    time_t login_time_ = 0;
    time_t last_command_time_ = 0;
    wxStopWatch ping_stopwatch_;
};

#endif
