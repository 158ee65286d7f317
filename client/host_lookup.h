#ifndef VUSK_HOST_LOOKUP_H
#define VUSK_HOST_LOOKUP_H

// The IPv4 address of the game server's host, found without making the
// caller wait: a host that starts with a digit is an address, converted at
// once and never looked up; a name is looked up on a worker thread of its
// own, since the system's lookup may wait on a name server for many seconds.

#include <netinet/in.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

// Finds the address of a host name, waiting as long as that takes; false
// when the name has none. Runs on the lookup's worker thread.
using host_resolver = std::function<bool(const std::string &name, in_addr &address)>;

// The system's name lookup.
bool resolve_host_name(const std::string &name, in_addr &address);

class host_lookup {
public:
    enum class outcome { pending, found, failed };

    explicit host_lookup(const char *host, host_resolver resolve = resolve_host_name);
    // A lookup still running is left to finish on its own: its worker owns
    // everything it writes, so nothing it touches is freed under it.
    ~host_lookup();
    host_lookup(const host_lookup &) = delete;
    host_lookup &operator=(const host_lookup &) = delete;

    // Never waits; `address` is set when the outcome is found.
    outcome check(in_addr &address);
    // Still waiting for the system's answer.
    bool pending() const;
    const std::string &host() const;

private:
    struct answer;
    std::shared_ptr<answer> answer_;
    std::thread worker_;
};

#endif
