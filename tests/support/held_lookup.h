#ifndef VUSK_TEST_HELD_LOOKUP_H
#define VUSK_TEST_HELD_LOOKUP_H

// A name lookup held by the test, like a name server that does not answer:
// every lookup waits until the test lets go, then finds the address the
// test last gave. One held longer than `longest` finds nothing, so that a
// program that waits for its lookup fails a test rather than hanging it. A
// worker may outlive this object (a lookup given up while it hangs): the
// state it waits on is shared with it, and going out of scope lets go.

#include "host_lookup.h"

#include <arpa/inet.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

class held_lookup {
public:
    explicit held_lookup(std::chrono::seconds longest = std::chrono::seconds(10)) : longest_(longest) {}
    ~held_lookup() { let_go(); }
    held_lookup(const held_lookup &) = delete;
    held_lookup &operator=(const held_lookup &) = delete;

    host_resolver resolver() const
    {
        return [shared = state_, longest = longest_](const std::string &, in_addr &address) {
            std::unique_lock<std::mutex> lock(shared->mutex);
            ++shared->started;
            if (!shared->changed.wait_for(lock, longest, [&] { return shared->let_go; }))
                return false;
            address = shared->address;
            return true;
        };
    }

    // The address that lookups answering from now on find.
    void answer(const char *address)
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        inet_aton(address, &state_->address);
    }

    // Lookups waiting answer now, later ones at once.
    void let_go()
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->let_go = true;
        state_->changed.notify_all();
    }

    int lookups_started() const
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return state_->started;
    }

private:
    struct state {
        std::mutex mutex;
        std::condition_variable changed;
        bool let_go = false;
        int started = 0;
        in_addr address{htonl(INADDR_LOOPBACK)};
    };
    const std::chrono::seconds longest_;
    const std::shared_ptr<state> state_ = std::make_shared<state>();
};

#endif
