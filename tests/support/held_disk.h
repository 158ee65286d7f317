#ifndef VUSK_TEST_HELD_DISK_H
#define VUSK_TEST_HELD_DISK_H

// A disk that takes no settings write until the test lets it go: the
// settings writer's thread waits before each batch meanwhile.

#include "settings_files.h"

#include <condition_variable>
#include <memory>
#include <mutex>

class held_disk {
public:
    held_disk()
    {
        hold_background_writes_with([gate = gate_] { gate->wait_until_open(); });
    }
    ~held_disk()
    {
        let_go();
        hold_background_writes_with(nullptr);
    }
    held_disk(const held_disk &) = delete;
    held_disk &operator=(const held_disk &) = delete;

    void let_go() { gate_->open(); }

private:
    // Shared with the writer's thread, which may still be leaving it when
    // the test ends.
    struct gate {
        void open()
        {
            std::lock_guard<std::mutex> lock(mutex);
            is_open = true;
            opened.notify_all();
        }
        void wait_until_open()
        {
            std::unique_lock<std::mutex> lock(mutex);
            opened.wait(lock, [this] { return is_open; });
        }
        std::mutex mutex;
        std::condition_variable opened;
        bool is_open = false;
    };
    std::shared_ptr<gate> gate_ = std::make_shared<gate>();
};

#endif
