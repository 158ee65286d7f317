#include "sound_decode_queue.h"

namespace {

sound_decode_outcome decode(sound_decode_job job)
{
    sound_decode_outcome outcome;
    if (!job.custom_path.empty() && decode_sound_file(job.custom_path, outcome.sound) == decode_result::decoded) {
        outcome.custom = true;
        outcome.result = decode_result::decoded;
    } else {
        outcome.result = decode_sound_file(job.pack_path, outcome.sound);
    }
    outcome.job = std::move(job);
    return outcome;
}

} // namespace

sound_decode_queue::sound_decode_queue(long max_waiting_bytes) : max_waiting_bytes(max_waiting_bytes)
{
}

sound_decode_queue::~sound_decode_queue()
{
    stop();
}

void sound_decode_queue::add(sound_decode_job job)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (stopping)
        return;
    jobs.push_back(std::move(job));
    if (!worker.joinable())
        worker = std::thread(&sound_decode_queue::run, this);
    changed.notify_all();
}

std::vector<sound_decode_outcome> sound_decode_queue::take_finished()
{
    std::vector<sound_decode_outcome> taken;
    std::lock_guard<std::mutex> lock(mutex);
    taken.swap(finished);
    finished_bytes = 0;
    // Only then can the limit on finished bytes have held the worker back.
    if (!taken.empty())
        changed.notify_all();
    return taken;
}

bool sound_decode_queue::busy()
{
    std::lock_guard<std::mutex> lock(mutex);
    return decoding || may_start_job();
}

bool sound_decode_queue::holds_work()
{
    std::lock_guard<std::mutex> lock(mutex);
    return decoding || !jobs.empty() || !finished.empty();
}

bool sound_decode_queue::may_start_job() const
{
    return !jobs.empty() && finished_bytes < max_waiting_bytes;
}

void sound_decode_queue::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
        jobs.clear();
        changed.notify_all();
    }
    if (worker.joinable())
        worker.join();
}

void sound_decode_queue::run()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return stopping || may_start_job(); });
        if (stopping)
            return;
        sound_decode_job job = std::move(jobs.front());
        jobs.pop_front();
        decoding = true;
        lock.unlock();
        sound_decode_outcome outcome = decode(std::move(job));
        lock.lock();
        decoding = false;
        finished_bytes += outcome.sound.length;
        finished.push_back(std::move(outcome));
    }
}
