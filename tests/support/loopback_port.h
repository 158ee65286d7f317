#ifndef VUSK_TEST_LOOPBACK_PORT_H
#define VUSK_TEST_LOOPBACK_PORT_H

// A TCP socket bound to 127.0.0.1 on a port the system picked.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

// The socket, and its port in `port`.
inline int bound_loopback_socket(int &port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(fd, reinterpret_cast<sockaddr *>(&address), size);
    getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    port = ntohs(address.sin_port);
    return fd;
}

#endif
