#ifndef VUSK_TEST_CALLBACK_LOG_H
#define VUSK_TEST_CALLBACK_LOG_H

// Records the download service's callbacks, which come on its worker thread,
// as "name done", "name failed" or "name pushed out", in the order they
// come.

#include "vusk_download.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

class callback_log {
public:
    // Asks service for name with a callback into this log.
    int download(vusk_download &service, const std::string &name)
    {
        std::lock_guard<std::mutex> lock(mutex);
        slots.push_back({this, name});
        return service.download(name.c_str(), record, &slots.back());
    }

    // The calls so far, once at least count have come (or a minute passed).
    std::vector<std::string> calls(size_t count = 0)
    {
        std::unique_lock<std::mutex> lock(mutex);
        arrived.wait_for(lock, std::chrono::seconds(60), [&] { return log.size() >= count; });
        return log;
    }

private:
    struct slot {
        callback_log *owner;
        std::string name;
    };

    static void record(void *data, int end)
    {
        slot &s = *static_cast<slot *>(data);
        std::lock_guard<std::mutex> lock(s.owner->mutex);
        s.owner->log.push_back(s.name + (end == download_pushed_out ? " pushed out" : end ? " failed" : " done"));
        s.owner->arrived.notify_all();
    }

    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::string> log;
    std::deque<slot> slots;
};

#endif
