#include "host_lookup.h"

#include "util.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <atomic>
#include <string>
#include <system_error>

bool resolve_host_name(const std::string &name, in_addr &address)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    address = reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

// Shared by the lookup and its worker: whichever ends last frees it. The
// address is written before the outcome is published and read after it.
struct host_lookup::answer {
    explicit answer(const char *name) : host(name) {}

    void look_up(const host_resolver &resolve)
    {
        const bool found = resolve(host, address);
        state.store(found ? outcome::found : outcome::failed, std::memory_order_release);
    }

    const std::string host;
    in_addr address{};
    std::atomic<outcome> state{outcome::pending};
};

host_lookup::host_lookup(const char *host, host_resolver resolve)
    : answer_(std::make_shared<answer>(host != nullptr ? host : ""))
{
    const std::string &name = answer_->host;
    if (name.empty()) {
        answer_->state = outcome::failed;
    } else if (is_decimal_digit(name[0])) {
        // inet_aton takes "1 localhost" for 0.0.0.1: it stops at a blank.
        const bool parsed = name.find_first_of(" \t\n\v\f\r") == std::string::npos &&
                            inet_aton(name.c_str(), &answer_->address) != 0;
        answer_->state = parsed ? outcome::found : outcome::failed;
    } else {
        try {
            worker_ = std::thread([shared = answer_, resolve = std::move(resolve)] { shared->look_up(resolve); });
        } catch (const std::system_error &) {
            answer_->state = outcome::failed;
        }
    }
}

host_lookup::~host_lookup()
{
    if (!worker_.joinable())
        return;
    if (answer_->state.load(std::memory_order_acquire) == outcome::pending)
        worker_.detach();
    else
        worker_.join();
}

bool host_lookup::pending() const
{
    return answer_->state.load(std::memory_order_acquire) == outcome::pending;
}

const std::string &host_lookup::host() const
{
    return answer_->host;
}

host_lookup::outcome host_lookup::check(in_addr &address)
{
    const outcome state = answer_->state.load(std::memory_order_acquire);
    if (state == outcome::found)
        address = answer_->address;
    if (state != outcome::pending && worker_.joinable())
        worker_.join();
    return state;
}
