#ifndef VUSK_SOUND_DECODE_QUEUE_H
#define VUSK_SOUND_DECODE_QUEUE_H

// Decodes sound-pack files on a worker thread of its own, oldest job first,
// so that the GUI thread never waits for Tremor: decoding a 10-second effect
// takes milliseconds, and a burst of requests asks for hundreds.
//
// The GUI thread hands jobs in and takes the finished sounds back whenever it
// likes. Finished sounds that it has not taken yet are bounded in bytes: the
// worker pauses before the next job once they reach the limit.

#include "sound_decoder.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct vusk_sound_effect;

struct sound_decode_job {
    vusk_sound_effect *effect = nullptr;
    // Tried first when not empty; the pack file follows unless it decodes.
    std::string custom_path;
    std::string pack_path;
    // The request that started the job, for what follows its outcome.
    int version = 0;
    bool reload = false;
};

struct sound_decode_outcome {
    sound_decode_job job;
    // The custom file decoded; otherwise result is the pack file's.
    bool custom = false;
    decode_result result = decode_result::missing;
    decoded_sound sound;
};

class sound_decode_queue {
public:
    explicit sound_decode_queue(long max_waiting_bytes);
    // Stops the worker.
    ~sound_decode_queue();
    sound_decode_queue(const sound_decode_queue &) = delete;
    sound_decode_queue &operator=(const sound_decode_queue &) = delete;

    // Starts the worker on the first job. A job after stop() is dropped.
    void add(sound_decode_job job);
    // Every sound finished since the last call, oldest first.
    std::vector<sound_decode_outcome> take_finished();
    // Whether the worker has work it can do without take_finished().
    bool busy();
    // Whether a job handed in has not been taken back yet: it waits, is
    // decoded, or has finished since the last take_finished().
    bool holds_work();
    // Drops the waiting jobs, lets the one in hand end and joins the worker.
    void stop();

private:
    void run();
    bool may_start_job() const;

    const long max_waiting_bytes;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<sound_decode_job> jobs;
    std::vector<sound_decode_outcome> finished;
    long finished_bytes = 0;
    bool decoding = false;
    bool stopping = false;
    std::thread worker;
};

#endif
