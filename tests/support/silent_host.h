#ifndef VUSK_TEST_SILENT_HOST_H
#define VUSK_TEST_SILENT_HOST_H

// A port on 127.0.0.1 whose server never answers a connect, like a host
// behind a firewall that drops them: it listens with an accept queue of no
// room, filled by a connection of its own, so the system drops every further
// connect request unanswered and the connecting side waits.

class silent_host {
public:
    silent_host();
    ~silent_host();
    silent_host(const silent_host &) = delete;
    silent_host &operator=(const silent_host &) = delete;

    int port() const { return port_; }
    // The sockets on this machine still waiting for the port to answer.
    int waiting_connects() const;

private:
    int listener_ = -1;
    int filler_ = -1;
    int port_ = 0;
};

#endif
