#ifndef VUSK_TEST_HELD_LOOKUP_H
#define VUSK_TEST_HELD_LOOKUP_H

// A name lookup held by the test, like a name server that does not answer:
// every lookup waits until the test lets go, then finds the address the
// test last gave. A worker may outlive this object (a lookup given up while
// it hangs): the state it waits on is shared with it, and going out of
// scope lets go, so that no worker waits forever.

#include "host_lookup.h"

#include <arpa/inet.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

class held_lookup {
public:
    held_lookup() = default;
    ~held_lookup() { let_go(); }
    held_lookup(const held_lookup &) = delete;
    held_lookup &operator=(const held_lookup &) = delete;

    host_resolver resolver() const
    {
        return [shared = state_](const std::string &, in_addr &address) {
            std::unique_lock<std::mutex> lock(shared->mutex);
            ++shared->started;
            shared->changed.wait(lock, [&] { return shared->let_go; });
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
    const std::shared_ptr<state> state_ = std::make_shared<state>();
};

#endif
