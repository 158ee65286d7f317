// The client's socket layer against the scripted game server: what the
// end-to-end tests and the demonstration rely on.
#include "connect_now.h"
#include "game_server.h"
#include "socket.h"
#include "tqconfig.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace {

// Polls the connection like the main tick until `done` holds, the server
// closes or five seconds pass; returns everything received.
template <class Done>
std::string run_ticks(int fd, Done done)
{
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done(received) && std::chrono::steady_clock::now() < deadline) {
        const char *failure = poll_socket(fd);
        char chunk[socket_queue_capacity];
        int count;
        while ((count = socket_read_data(fd, chunk, sizeof chunk)) > 0)
            received.append(chunk, size_t(count));
        if (failure != nullptr)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return received;
}

} // namespace

TEST(GameServerSession, ServerRecordsTheIdentificationAndTypedLinesByteForByte)
{
    scripted_game_server server("expect torvane .*\n"
                                "sendln Welcome\n"
                                "expect caf. au lait\n"
                                "sendln bye\n"
                                "close\n");
    ASSERT_GT(server.port(), 0);
    socket_startup();
    const int fd = test_connect::open_connection("127.0.0.1", server.port(), "0123456789abcdef0123456789abcdef");
    ASSERT_GE(fd, 0);

    EXPECT_EQ(run_ticks(fd, [](const std::string &r) { return r.find('\n') != std::string::npos; }),
              "Welcome\r\n");
    ASSERT_EQ(socket_send_command(fd, "caf\xe9 au lait"), 1);
    EXPECT_EQ(run_ticks(fd, [](const std::string &) { return false; }), "bye\r\n");
    socket_close(fd);

    EXPECT_EQ(server.wait(5), 0);
    EXPECT_EQ(server.recorded(),
              "torvane 0123456789abcdef0123456789abcdef 1.089-mac\ncaf\xe9 au lait\n");
}

TEST(GameServerSession, TextSentInSmallPiecesArrivesWhole)
{
    scripted_game_server server("chunk 3\n"
                                "send ;shp;1 2 3 4 5 6;ehp;\\xff\\xfd\\x01\\e[1m\\e[31mred\\e[0m\n"
                                "close\n");
    ASSERT_GT(server.port(), 0);
    const int fd = test_connect::open_connection("127.0.0.1", server.port(), "0123456789abcdef0123456789abcdef");
    ASSERT_GE(fd, 0);
    EXPECT_EQ(run_ticks(fd, [](const std::string &) { return false; }),
              ";shp;1 2 3 4 5 6;ehp;\xff\xfd\x01\x1b[1m\x1b[31mred\x1b[0m");
    socket_close(fd);
    EXPECT_EQ(server.wait(5), 0);
}

TEST(GameServerSession, ServerReportsAMissingLine)
{
    scripted_game_server server("expect never sent\n", 0.5);
    ASSERT_GT(server.port(), 0);
    const int fd = test_connect::open_connection("127.0.0.1", server.port(), "0123456789abcdef0123456789abcdef");
    ASSERT_GE(fd, 0);
    run_ticks(fd, [](const std::string &) { return false; });
    socket_close(fd);
    EXPECT_EQ(server.wait(5), 1);
}
