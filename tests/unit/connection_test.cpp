// The game connection's connects through a name lookup held by the test:
// when a lookup is shared, when a name is looked up again, and that giving
// up never waits for the name server.
#include "command_line.h"
#include "connection.h"
#include "held_lookup.h"
#include "socket.h"
#include "stream_recorder.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using clock_type = std::chrono::steady_clock;
constexpr auto patience = std::chrono::seconds(5);
constexpr int short_timeout_ms = 200;
const char host_name[] = "game.example";

bool wait_until(const std::function<bool()> &condition, clock_type::duration limit = patience)
{
    const auto deadline = clock_type::now() + limit;
    while (!condition()) {
        if (clock_type::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

enum class connect_end { made, failed, not_in_time };

// Checks the connect as the main ticks do until it ends.
connect_end see_through(vusk_connection &connection)
{
    bool failed = false;
    const bool ended = wait_until([&] {
        failed = !connection.continue_connecting();
        return failed || !connection.connecting();
    });
    if (!ended)
        return connect_end::not_in_time;
    return failed ? connect_end::failed : connect_end::made;
}

// A listening socket on one loopback address and a given port.
struct loopback_listener {
    loopback_listener(const char *address_text, int port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        inet_aton(address_text, &address.sin_addr);
        address.sin_port = htons(static_cast<uint16_t>(port));
        socklen_t size = sizeof address;
        if (bind(fd, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
            getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size) != 0 || listen(fd, 4) != 0)
            ADD_FAILURE() << "cannot listen on " << address_text;
        this->port = ntohs(address.sin_port);
    }
    ~loopback_listener() { close(fd); }

    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int port = 0;
};

std::string peer_address(int fd)
{
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (getpeername(fd, reinterpret_cast<sockaddr *>(&address), &size) != 0)
        return "none";
    return inet_ntoa(address.sin_addr);
}

void connect_to_the_name()
{
    connect_address = host_name;
    connect_timeout_ms = short_timeout_ms;
}

}

// Connecting again and again while the name server does not answer starts
// one lookup, and each attempt still times out.
TEST(HostLookup, AttemptsWhileTheLookupHangsShareItAndEachTimesOut)
{
    connect_to_the_name();
    held_lookup name_server;
    recording_stream_sink sink;
    vusk_connection connection(sink, name_server.resolver());
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_TRUE(connection.open(nullptr));
        EXPECT_EQ(see_through(connection), connect_end::failed) << "attempt " << attempt;
    }
    ASSERT_TRUE(wait_until([&] { return name_server.lookups_started() > 0; }));
    EXPECT_EQ(name_server.lookups_started(), 1);
}

// A host that has moved since the last connect is found at its new address.
TEST(HostLookup, EachNewConnectLooksTheNameUpAgain)
{
    loopback_listener old_place("127.0.0.1", 0);
    loopback_listener new_place("127.0.0.2", old_place.port);
    const std::string port = std::to_string(old_place.port);
    connect_to_the_name();
    held_lookup name_server;
    name_server.let_go();
    recording_stream_sink sink;
    vusk_connection connection(sink, name_server.resolver());

    ASSERT_TRUE(connection.open(port.c_str()));
    ASSERT_EQ(see_through(connection), connect_end::made);
    EXPECT_EQ(peer_address(global_socket_fd), "127.0.0.1");

    name_server.answer("127.0.0.2");
    ASSERT_TRUE(connection.open(port.c_str()));
    ASSERT_EQ(see_through(connection), connect_end::made);
    EXPECT_EQ(peer_address(global_socket_fd), "127.0.0.2");
    EXPECT_EQ(name_server.lookups_started(), 2);
}

// The frame's end, when the player closes the window, must not wait for a
// name server that never answers.
TEST(HostLookup, EndingTheConnectionDoesNotWaitForAHangingLookup)
{
    connect_to_the_name();
    held_lookup name_server;
    recording_stream_sink sink;
    auto connection = std::make_unique<vusk_connection>(sink, name_server.resolver());
    ASSERT_TRUE(connection->open(nullptr));
    ASSERT_TRUE(wait_until([&] { return name_server.lookups_started() == 1; }));

    std::atomic<bool> ended{false};
    std::thread closer([&] {
        connection.reset();
        ended = true;
    });
    EXPECT_TRUE(wait_until([&] { return ended.load(); }, std::chrono::seconds(1)));
    // A closer that waits for the lookup ends once it answers.
    name_server.let_go();
    closer.join();
}

// While the settings writes hold reading back, the player's lines still
// leave, the server's text reaches no one until reading resumes, and a server
// that closes the connection meanwhile is reported after its last text.
TEST(ConnectionWhileReadingWaits, LinesLeaveTheServersTextWaitsAndAClosedConnectionIsReportedAfterIt)
{
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends), 0);
    const int server = ends[1];
    recording_stream_sink sink;
    vusk_connection connection(sink);
    connection.stream_parser().reset();
    socket_clear_all_queues();
    global_socket_fd = ends[0];
    ASSERT_EQ(send(server, "first\r\n", 7, 0), 7);

    connection.send("say hello");
    EXPECT_EQ(connection.send_only(), nullptr);
    char received[32];
    ASSERT_EQ(recv(server, received, sizeof received, MSG_DONTWAIT), 10);
    EXPECT_EQ(std::string(received, 10), "say hello\n");
    EXPECT_EQ(sink.shown_text(), "");
    EXPECT_EQ(connection.read(), nullptr);
    EXPECT_EQ(sink.shown_text().find("first"), 0u) << "once reading resumes";

    ASSERT_EQ(send(server, "second\r\n", 8, 0), 8);
    close(server);
    EXPECT_EQ(connection.send_only(), nullptr);
    EXPECT_EQ(sink.shown_text().find("second"), std::string::npos) << "read while only sending";
    EXPECT_EQ(connection.read(), nullptr);
    EXPECT_NE(sink.shown_text().find("second"), std::string::npos);
    EXPECT_STREQ(connection.read(), "Connection closed by foreign host.");
    connection.close();
}
