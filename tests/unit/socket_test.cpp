#include "connect_now.h"
#include "held_lookup.h"
#include "host_lookup.h"
#include "silent_host.h"
#include "socket.h"
#include "tqconfig.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using test_connect::open_connection;
using test_connect::see_through;
using clock_type = std::chrono::steady_clock;
constexpr auto patience = std::chrono::seconds(5);
constexpr int short_timeout_ms = 300;

// A TCP socket on 127.0.0.1 with a port the system picked.
struct LocalPort {
    int fd = -1;
    int port = 0;

    explicit LocalPort(int backlog)
    {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(fd, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
            getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size) != 0)
            ADD_FAILURE() << "cannot bind a loopback port";
        port = ntohs(address.sin_port);
        if (backlog >= 0 && listen(fd, backlog) != 0)
            ADD_FAILURE() << "cannot listen";
    }
    ~LocalPort() { close(fd); }

    int accept_one()
    {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, 5000) != 1)
            return -1;
        return accept(fd, nullptr, nullptr);
    }
};

// Polls the client side until the peer has received count bytes.
std::string receive_at_peer(int fd, int peer, size_t count)
{
    std::string received;
    const auto deadline = clock_type::now() + patience;
    while (received.size() < count && clock_type::now() < deadline) {
        EXPECT_EQ(poll_socket(fd), nullptr);
        char chunk[4096];
        ssize_t got = recv(peer, chunk, sizeof chunk, MSG_DONTWAIT);
        if (got > 0)
            received.append(chunk, static_cast<size_t>(got));
        else
            usleep(1000);
    }
    return received;
}

// Polls until the read queue gives at least count bytes.
std::string read_from_queue(int fd, size_t count, int maximum = socket_queue_capacity)
{
    std::string read;
    std::string chunk(static_cast<size_t>(maximum), '\0');
    const auto deadline = clock_type::now() + patience;
    while (read.size() < count && clock_type::now() < deadline) {
        EXPECT_EQ(poll_socket(fd), nullptr);
        int got = socket_read_data(fd, chunk.data(), maximum);
        if (got > 0)
            read.append(chunk.data(), static_cast<size_t>(got));
        else
            usleep(1000);
    }
    return read;
}

// Polls with a pass of reading and writing, or another pass, until it fails.
const char *poll_until_failure(int fd, const char *(*pass)(int) = poll_socket)
{
    const auto deadline = clock_type::now() + patience;
    while (clock_type::now() < deadline) {
        if (const char *failure = pass(fd))
            return failure;
        usleep(1000);
    }
    return nullptr;
}

host_lookup::outcome see_through(host_lookup &lookup, in_addr &address)
{
    const auto deadline = clock_type::now() + patience;
    host_lookup::outcome outcome;
    while ((outcome = lookup.check(address)) == host_lookup::outcome::pending && clock_type::now() < deadline)
        usleep(1000);
    return outcome;
}

std::string pattern(size_t length, int seed)
{
    std::string text(length, ' ');
    for (size_t k = 0; k < length; ++k)
        text[k] = static_cast<char>('a' + (k * 7 + static_cast<size_t>(seed)) % 26);
    return text;
}

class SocketPair : public testing::Test {
protected:
    void SetUp() override { open_pair(SOCK_STREAM); }
    void TearDown() override
    {
        close(client);
        if (peer >= 0)
            close(peer);
    }

    void open_pair(int type)
    {
        socket_clear_all_queues();
        int ends[2];
        ASSERT_EQ(socketpair(AF_UNIX, type | SOCK_NONBLOCK, 0, ends), 0);
        client = ends[0];
        peer = ends[1];
    }

    void close_peer()
    {
        close(peer);
        peer = -1;
    }

    int client = -1;
    int peer = -1;
};

}

TEST(SocketOpen, SendsTheIdentificationLineFirst)
{
    LocalPort server(4);
    socket_send_command(-1, "queued before the connection");
    int fd = open_connection("127.0.0.1", server.port, "0123456789abcdef0123456789ABCDEF");
    ASSERT_GE(fd, 0);
    EXPECT_NE(fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    int peer = server.accept_one();
    ASSERT_GE(peer, 0);
    const std::string expected = "torvane 0123456789abcdef0123456789ABCDEF 1.089-mac\n";
    EXPECT_EQ(receive_at_peer(fd, peer, expected.size()), expected);
    close(peer);
    EXPECT_EQ(socket_close(fd), 0);
}

TEST(SocketOpen, IdentifiesWithAnEmptyIdAndResolvesNames)
{
    LocalPort server(4);
    int fd = open_connection("localhost", server.port, "");
    ASSERT_GE(fd, 0);
    int peer = server.accept_one();
    ASSERT_GE(peer, 0);
    const std::string expected = "torvane  1.089-mac\n";
    EXPECT_EQ(receive_at_peer(fd, peer, expected.size()), expected);
    close(peer);
    socket_close(fd);
}

TEST(SocketOpen, RefusedPortFailsWithTheReason)
{
    LocalPort bound_only(-1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(open_connection("127.0.0.1", bound_only.port, "id"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unable to connect: Connection refused\n");
}

TEST(SocketOpen, UnparsableAddressesAndPortsFail)
{
    LocalPort server(4);
    for (const char *host : {"1.2.3.x", "300.1.1.1", "127.0.0.1.5", "1 localhost"})
        EXPECT_EQ(open_connection(host, server.port, "id"), -1) << host;
    EXPECT_EQ(open_connection("", server.port, "id"), -1);
    EXPECT_EQ(open_connection(nullptr, server.port, "id"), -1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(open_connection("127.0.0.1", 0, "id"), -1);
    EXPECT_EQ(open_connection("127.0.0.1", 65536, "id"), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Unable to connect"), std::string::npos);
}

// The failed socket is closed once: the descriptor opened after the failure,
// which takes its number, stays open.
TEST(SocketOpen, SilentServerFailsAfterTheTimeoutWithoutEverWaitingAndClosesItsSocketOnce)
{
    silent_host server;
    testing::internal::CaptureStderr();
    auto attempt = std::make_unique<connect_attempt>("127.0.0.1", server.port(), "id", short_timeout_ms);
    EXPECT_EQ(attempt->check(), connect_attempt::progress::pending);
    EXPECT_EQ(server.waiting_connects(), 1);
    EXPECT_EQ(see_through(*attempt), connect_attempt::progress::failed);
    EXPECT_EQ(server.waiting_connects(), 0);

    // Opened while the capture holds its descriptors, so that the number
    // free again is the socket's.
    const int opened_after = open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(opened_after, 0);
    EXPECT_EQ(attempt->check(), connect_attempt::progress::failed);
    EXPECT_EQ(attempt->take_socket(), -1);
    attempt.reset();
    EXPECT_NE(fcntl(opened_after, F_GETFD), -1);
    close(opened_after);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unable to connect: Connection timed out\n");
}

// A name server that never answers fails the attempt like a silent server.
TEST(SocketOpen, AHangingLookupTimesOut)
{
    held_lookup name_server;
    auto lookup = std::make_shared<host_lookup>("game.example", name_server.resolver());
    connect_attempt attempt(lookup, 4000, "id", short_timeout_ms);
    EXPECT_EQ(see_through(attempt), connect_attempt::progress::failed);
    EXPECT_TRUE(lookup->pending());
}

// The time the lookup took counts: an answer that comes after the time is up
// leaves the server no time to answer.
TEST(SocketOpen, TheTimeoutCountsFromTheStartOfTheAttemptNotFromTheLookupsAnswer)
{
    silent_host server;
    held_lookup name_server;
    auto lookup = std::make_shared<host_lookup>("game.example", name_server.resolver());
    connect_attempt attempt(lookup, server.port(), "id", short_timeout_ms);
    const auto time_is_up = clock_type::now() + std::chrono::milliseconds(short_timeout_ms);
    while (clock_type::now() < time_is_up)
        usleep(1000);
    name_server.let_go();
    in_addr address{};
    ASSERT_EQ(see_through(*lookup, address), host_lookup::outcome::found);

    testing::internal::CaptureStderr();
    EXPECT_EQ(attempt.check(), connect_attempt::progress::failed);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unable to connect: Connection timed out\n");
    EXPECT_EQ(server.waiting_connects(), 0);
}

TEST(SocketOpen, GivingUpAConnectUnderWayClosesItsSocket)
{
    silent_host server;
    {
        connect_attempt attempt("127.0.0.1", server.port(), "id", socket_connect_timeout_ms);
        EXPECT_EQ(attempt.check(), connect_attempt::progress::pending);
        EXPECT_EQ(server.waiting_connects(), 1);
    }
    EXPECT_EQ(server.waiting_connects(), 0);
}

TEST(HostLookup, AnAddressIsTakenAtOnceAndANameIsLookedUp)
{
    in_addr address{};
    host_lookup dotted("10.1.2.3");
    ASSERT_EQ(dotted.check(address), host_lookup::outcome::found);
    EXPECT_STREQ(inet_ntoa(address), "10.1.2.3");

    host_lookup name("localhost");
    ASSERT_EQ(see_through(name, address), host_lookup::outcome::found);
    EXPECT_STREQ(inet_ntoa(address), "127.0.0.1");
    EXPECT_EQ(host_lookup(nullptr).check(address), host_lookup::outcome::failed);
}

// A connect tried again while the name server has not answered waits for the
// same lookup; once answered, the lookup goes on serving every attempt.
TEST(HostLookup, OneLookupServesEveryAttemptThatSharesIt)
{
    silent_host server;
    auto lookup = std::make_shared<host_lookup>("localhost");
    connect_attempt first(lookup, server.port(), "id", socket_connect_timeout_ms);
    const auto deadline = clock_type::now() + patience;
    while (server.waiting_connects() < 1 && clock_type::now() < deadline) {
        EXPECT_EQ(first.check(), connect_attempt::progress::pending);
        usleep(1000);
    }
    ASSERT_EQ(server.waiting_connects(), 1);
    connect_attempt second(lookup, server.port(), "id", socket_connect_timeout_ms);
    EXPECT_EQ(second.check(), connect_attempt::progress::pending);
    EXPECT_EQ(server.waiting_connects(), 2);
}

TEST(HostLookup, ALookupGivenUpWhileItRunsEndsOnItsOwn)
{
    for (int i = 0; i < 20; ++i) {
        host_lookup lookup("localhost");
        in_addr address{};
        if (i % 2 == 0)
            lookup.check(address);
    }
}

TEST(SocketOpen, UrgentDataIsALostConnection)
{
    LocalPort server(4);
    int fd = open_connection("127.0.0.1", server.port, "id");
    ASSERT_GE(fd, 0);
    int peer = server.accept_one();
    ASSERT_GE(peer, 0);
    ASSERT_EQ(send(peer, "!", 1, MSG_OOB), 1);
    EXPECT_STREQ(poll_until_failure(fd, poll_socket_writes), "Abnormal disconnect - network connection lost.")
        << "while only writing";
    EXPECT_STREQ(poll_until_failure(fd), "Abnormal disconnect - network connection lost.");
    close(peer);
    socket_close(fd);
}

TEST(SocketPoll, ClosedDescriptorIsALostConnection)
{
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    // A number far above the lowest free one, which no other thread of the
    // process (a host lookup, say) takes for a descriptor of its own.
    constexpr int unused_number = 1000;
    const int closed = fcntl(ends[0], F_DUPFD, unused_number);
    ASSERT_GE(closed, unused_number);
    close(closed);
    close(ends[0]);
    close(ends[1]);
    EXPECT_STREQ(poll_socket(closed), "Abnormal disconnect - network connection lost.");
    EXPECT_STREQ(poll_socket_writes(closed), "Abnormal disconnect - network connection lost.")
        << "with nothing to send";
    EXPECT_EQ(socket_close(-1), 0);
}

namespace {

// A connection whose server sent `last` and then closed it: cleanly, or
// with a reset.
int connection_closed_after(LocalPort &server, const std::string &last, bool reset)
{
    const int fd = open_connection("127.0.0.1", server.port, "id");
    const int peer = fd < 0 ? -1 : server.accept_one();
    if (peer < 0) {
        ADD_FAILURE() << "no connection";
        return fd;
    }
    EXPECT_EQ(send(peer, last.data(), last.size(), 0), static_cast<ssize_t>(last.size()));
    const linger at_once{1, 0};
    if (reset) {
        EXPECT_EQ(setsockopt(peer, SOL_SOCKET, SO_LINGER, &at_once, sizeof at_once), 0);
    }
    close(peer);
    return fd;
}

} // namespace

// Over TCP a clean close leaves the server's last bytes to the reading,
// while a reset is reported at once.
TEST(SocketPoll, WhileOnlyWritingACleanCloseWaitsForTheReadingAndAResetDoesNot)
{
    LocalPort server(4);
    const int cleanly = connection_closed_after(server, "last line\n", false);
    ASSERT_GE(cleanly, 0);
    pollfd closed{cleanly, POLLRDHUP, 0};
    ASSERT_EQ(poll(&closed, 1, 10000), 1) << "the close never arrived";
    EXPECT_EQ(poll_socket_writes(cleanly), nullptr);
    EXPECT_EQ(read_from_queue(cleanly, 10), "last line\n");
    EXPECT_STREQ(poll_until_failure(cleanly), "Connection closed by foreign host.");
    socket_close(cleanly);

    const int reset = connection_closed_after(server, "unread", true);
    ASSERT_GE(reset, 0);
    EXPECT_STREQ(poll_until_failure(reset, poll_socket_writes), "Connection closed by foreign host.");
    socket_close(reset);
}

TEST_F(SocketPair, TwoCommandsLeaveInOneWrite)
{
    close(client);
    close(peer);
    open_pair(SOCK_SEQPACKET); // one record per write shows how the bytes left
    EXPECT_EQ(socket_send_command(client, "look"), 1);
    EXPECT_EQ(socket_send_command(client, "say hi"), 1);
    EXPECT_EQ(poll_socket(client), nullptr);
    char record[100];
    ssize_t got = recv(peer, record, sizeof record, MSG_DONTWAIT);
    ASSERT_GT(got, 0);
    EXPECT_EQ(std::string(record, static_cast<size_t>(got)), "look\nsay hi\n");
    EXPECT_EQ(poll_socket(client), nullptr);
    EXPECT_EQ(recv(peer, record, sizeof record, MSG_DONTWAIT), -1);
}

TEST_F(SocketPair, PartialWritesKeepTheRestInOrder)
{
    int small = 4096;
    ASSERT_EQ(setsockopt(client, SOL_SOCKET, SO_SNDBUF, &small, sizeof small), 0);
    std::string expected;
    for (int line = 0; line < 9; ++line) {
        std::string text = pattern(999, line);
        ASSERT_EQ(socket_send_command(client, text.c_str()), 1);
        expected += text + "\n";
    }
    EXPECT_EQ(poll_socket(client), nullptr);
    char probe[socket_queue_capacity];
    ssize_t first_write = recv(peer, probe, sizeof probe, MSG_PEEK | MSG_DONTWAIT);
    EXPECT_GT(first_write, 0);
    EXPECT_LT(first_write, static_cast<ssize_t>(expected.size())) << "the first write was not partial";
    // While the peer reads nothing, further polls neither fail nor reorder.
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(poll_socket(client), nullptr);
    EXPECT_EQ(receive_at_peer(client, peer, expected.size()), expected);
}

TEST_F(SocketPair, PeerCloseEndsTheConnectionAfterItsLastBytes)
{
    ASSERT_EQ(send(peer, "bye\n", 4, 0), 4);
    close_peer();
    EXPECT_EQ(poll_socket(client), nullptr);
    EXPECT_STREQ(poll_socket(client), "Connection closed by foreign host.");
    char text[10];
    ASSERT_EQ(socket_read_data(client, text, sizeof text), 4);
    EXPECT_EQ(std::string(text, 4), "bye\n");
}

TEST_F(SocketPair, WritingToAClosedPeerIsAClosedConnection)
{
    close_peer();
    socket_send_command(client, "anyone there?");
    EXPECT_STREQ(poll_socket(client), "Connection closed by foreign host.");
}

// While only writing, the lines queued leave and what the server sent stays
// with the system until reading resumes.
TEST_F(SocketPair, OnlyWritingSendsTheQueuedLinesAndLeavesTheServersBytesUnread)
{
    ASSERT_EQ(send(peer, "from the server", 15, 0), 15);
    ASSERT_EQ(socket_send_command(client, "say hello"), 1);
    EXPECT_EQ(poll_socket_writes(client), nullptr);
    char received[32];
    ASSERT_EQ(recv(peer, received, sizeof received, MSG_DONTWAIT), 10);
    EXPECT_EQ(std::string(received, 10), "say hello\n");
    EXPECT_EQ(poll_socket_writes(client), nullptr) << "nothing left to send";
    EXPECT_EQ(socket_read_data(client, received, sizeof received), 0);
    EXPECT_EQ(read_from_queue(client, 15), "from the server");
}

// A server that closes the connection cleanly while only writing keeps its
// last words: the reading finds the close after them. A line sent to a
// closed peer meanwhile finds the connection closed at once.
TEST_F(SocketPair, APeerThatClosesWhileOnlyWritingIsFoundAfterItsLastWords)
{
    ASSERT_EQ(send(peer, "last words", 10, 0), 10);
    close_peer();
    EXPECT_EQ(poll_socket_writes(client), nullptr);
    EXPECT_EQ(poll_socket_writes(client), nullptr) << "asked again";
    char text[16];
    EXPECT_EQ(socket_read_data(client, text, sizeof text), 0) << "read while only writing";
    EXPECT_EQ(read_from_queue(client, 10), "last words");
    EXPECT_STREQ(poll_until_failure(client), "Connection closed by foreign host.");

    close(client);
    open_pair(SOCK_STREAM);
    close_peer();
    socket_send_command(client, "anyone there?");
    EXPECT_STREQ(poll_socket_writes(client), "Connection closed by foreign host.");
}

TEST_F(SocketPair, FullReadQueuePausesReading)
{
    const std::string sent = pattern(15000, 3);
    ASSERT_EQ(send(peer, sent.data(), sent.size(), 0), static_cast<ssize_t>(sent.size()));
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(poll_socket(client), nullptr);

    std::string head(socket_queue_capacity + 10, '\0');
    ASSERT_EQ(socket_read_data(client, head.data(), static_cast<int>(head.size())), socket_queue_capacity);
    head.resize(socket_queue_capacity);
    EXPECT_EQ(head, sent.substr(0, socket_queue_capacity));
    EXPECT_EQ(read_from_queue(client, 5000), sent.substr(socket_queue_capacity));
}

TEST_F(SocketPair, SmallReadsHandOutTheQueueInOrder)
{
    const std::string sent = "0123456789abcdefghij";
    ASSERT_EQ(send(peer, sent.data(), sent.size(), 0), static_cast<ssize_t>(sent.size()));
    EXPECT_EQ(poll_socket(client), nullptr);
    char piece[8];
    ASSERT_EQ(socket_read_data(client, piece, 7), 7);
    EXPECT_EQ(std::string(piece, 7), "0123456");
    EXPECT_EQ(socket_read_data(client, piece, 0), 0);
    EXPECT_EQ(socket_read_data(client, nullptr, 5), 0);
    ASSERT_EQ(socket_read_data(client, piece, 8), 8);
    EXPECT_EQ(std::string(piece, 8), "789abcde");
    ASSERT_EQ(socket_read_data(client, piece, 8), 5);
    EXPECT_EQ(std::string(piece, 5), "fghij");
}

TEST_F(SocketPair, CommandThatDoesNotFitIsNotQueued)
{
    const std::string filler = pattern(9989, 1); // with its newline, 10 bytes stay free
    ASSERT_EQ(socket_send_command(client, filler.c_str()), 1);
    EXPECT_EQ(socket_send_command(client, "0123456789"), 0);
    EXPECT_EQ(socket_send_command(client, "012345678"), 1); // exactly fills the queue
    EXPECT_EQ(socket_send_command(client, ""), 0);
    EXPECT_EQ(socket_send_command(client, nullptr), 0);
    const std::string expected = filler + "\n012345678\n";
    EXPECT_EQ(receive_at_peer(client, peer, expected.size()), expected);
    EXPECT_EQ(socket_send_command(client, "north"), 1);
    EXPECT_EQ(receive_at_peer(client, peer, 6), "north\n");
}

TEST_F(SocketPair, RawAppendsStopAtTheQueuesEnd)
{
    const std::string big = pattern(socket_queue_capacity + 500, 2);
    append_outgoing_string(big.c_str());
    append_outgoing_string("lost");
    EXPECT_EQ(socket_send_command(client, ""), 0);
    EXPECT_EQ(receive_at_peer(client, peer, socket_queue_capacity), big.substr(0, socket_queue_capacity));
}

TEST_F(SocketPair, ClearingDropsBothQueues)
{
    ASSERT_EQ(send(peer, "unparsed", 8, 0), 8);
    EXPECT_EQ(poll_socket(client), nullptr);
    socket_send_command(client, "unsent");
    socket_clear_all_queues();
    char text[16];
    EXPECT_EQ(socket_read_data(client, text, sizeof text), 0);
    socket_send_command(client, "\x03");
    EXPECT_EQ(receive_at_peer(client, peer, 2), "\x03\n");
}

TEST_F(SocketPair, RandomTrafficArrivesWholeAndInOrder)
{
    std::mt19937 random(12345);
    std::string incoming;
    std::string outgoing;
    std::string read;
    std::string written;
    std::string chunk(socket_queue_capacity, '\0');
    for (int round = 0; round < 400; ++round) {
        std::string bytes(random() % 3000, '\0');
        for (char &byte : bytes)
            byte = static_cast<char>(random() & 0xff);
        ssize_t sent = send(peer, bytes.data(), bytes.size(), MSG_DONTWAIT);
        if (sent > 0)
            incoming.append(bytes, 0, static_cast<size_t>(sent));

        std::string command = pattern(random() % 900, round);
        if (socket_send_command(client, command.c_str()))
            outgoing += command + "\n";

        ASSERT_EQ(poll_socket(client), nullptr);
        int got = socket_read_data(client, chunk.data(), static_cast<int>(1 + random() % 12000));
        read.append(chunk.data(), static_cast<size_t>(got > 0 ? got : 0));
        ssize_t arrived = recv(peer, chunk.data(), chunk.size(), MSG_DONTWAIT);
        if (arrived > 0)
            written.append(chunk.data(), static_cast<size_t>(arrived));
    }
    read += read_from_queue(client, incoming.size() - read.size());
    written += receive_at_peer(client, peer, outgoing.size() - written.size());
    EXPECT_EQ(read, incoming);
    EXPECT_EQ(written, outgoing);
}
