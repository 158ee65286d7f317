#ifndef VUSK_TEST_HELD_DISK_H
#define VUSK_TEST_HELD_DISK_H

// A disk that takes no settings write until the test lets it: the settings
// writer's thread waits before each batch meanwhile. The test lets one batch
// through at a time (a trickling disk) or every batch from then on.

#include "settings_files.h"

#include <condition_variable>
#include <memory>
#include <mutex>

class held_disk {
public:
    held_disk()
    {
        hold_background_writes_with([gate = gate_] { gate->take_permit(); });
    }
    ~held_disk()
    {
        let_go();
        hold_background_writes_with(nullptr);
    }
    held_disk(const held_disk &) = delete;
    held_disk &operator=(const held_disk &) = delete;

    // One more batch may be written, unless the last let through is not
    // taken yet.
    void let_one_batch_through() { gate_->permit(false); }
    void let_go() { gate_->permit(true); }

private:
    // Shared with the writer's thread, which may still be leaving it when
    // the test ends.
    struct gate {
        void permit(bool for_good)
        {
            std::lock_guard<std::mutex> lock(mutex);
            open_for_good = open_for_good || for_good;
            batch_permitted = true;
            permitted.notify_all();
        }
        void take_permit()
        {
            std::unique_lock<std::mutex> lock(mutex);
            permitted.wait(lock, [this] { return batch_permitted || open_for_good; });
            batch_permitted = false;
        }
        std::mutex mutex;
        std::condition_variable permitted;
        bool batch_permitted = false;
        bool open_for_good = false;
    };
    std::shared_ptr<gate> gate_ = std::make_shared<gate>();
};

#endif
