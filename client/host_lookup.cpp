#include "host_lookup.h"

#include "util.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <atomic>
#include <string>
#include <system_error>

// Shared by the lookup and its worker: whichever ends last frees it. The
// address is written before the outcome is published and read after it.
struct host_lookup::answer {
    explicit answer(const char *name) : host(name) {}

    void look_up()
    {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo *found = nullptr;
        if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
            state.store(outcome::failed, std::memory_order_release);
            return;
        }
        address = reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr;
        freeaddrinfo(found);
        state.store(outcome::found, std::memory_order_release);
    }

    const std::string host;
    in_addr address{};
    std::atomic<outcome> state{outcome::pending};
};

host_lookup::host_lookup(const char *host) : answer_(std::make_shared<answer>(host != nullptr ? host : ""))
{
    const std::string &name = answer_->host;
    if (name.empty()) {
        answer_->state = outcome::failed;
    } else if (is_decimal_digit(name[0])) {
        const bool parsed = inet_aton(name.c_str(), &answer_->address) != 0;
        answer_->state = parsed ? outcome::found : outcome::failed;
    } else {
        try {
            worker_ = std::thread([shared = answer_] { shared->look_up(); });
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
