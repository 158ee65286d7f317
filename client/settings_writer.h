#ifndef VUSK_SETTINGS_WRITER_H
#define VUSK_SETTINGS_WRITER_H

// Puts settings files in place on a thread of its own, so that a save of
// many files never holds the thread that asked for it, nor does a full
// queue: asking never waits. Each file is replaced whole (atomic_file), so a
// program killed at any moment leaves every file with its old or its new
// content. Files are written in the order they were first asked for; a file
// asked for again while its write still waits gets the newer content in
// that place, one write for both. The thread takes every write waiting (up
// to a batch) at once, starts the way to the disk of all of them, and waits
// for each before it renames them into place. What each write came to waits
// for the asking thread to take it up.
//
// The thread starts with the first write and ends with stop(), which first
// writes everything asked for; a later write starts it again. When the system
// has no thread to give, a write is made on the asking thread, its outcome
// taken up as any other. One thread asks: it alone calls the methods. The
// writes waiting are bounded by the files the asker has pending (one entry
// each).

#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <unordered_map>
#include <vector>

struct settings_write {
    std::string path;
    std::string content;
    // Where the file's old content is moved before the new content takes
    // its place; empty to replace it.
    std::string keep_old_as;
    // The asker's marks, handed back with the outcome.
    unsigned long long sequence = 0;
    unsigned long long save = 0;
};

struct settings_write_outcome {
    settings_write write;
    // The saves of the earlier writes of the file that this one replaced
    // while they waited.
    std::vector<unsigned long long> replaced_saves;
    // Empty when the file holds the content.
    std::string failure;
    // The file put in place.
    dev_t device = 0;
    ino_t inode = 0;
};

// The writes the thread takes at once, their ways to the disk started together.
constexpr size_t settings_write_batch = 2048;

// Writes one file on the calling thread.
settings_write_outcome put_in_place(settings_write write);

class settings_writer {
public:
    settings_writer() = default;
    // For tests: the thread calls this before it takes each batch, so that
    // a test can hold it while writes wait.
    explicit settings_writer(std::function<void()> before_batch) : before_batch(std::move(before_batch)) {}
    // For tests: replaces the call made before each batch.
    void hold_batches_with(std::function<void()> hook);
    // Writes what is still asked for.
    ~settings_writer() { stop(); }
    settings_writer(const settings_writer &) = delete;
    settings_writer &operator=(const settings_writer &) = delete;

    void write(settings_write write);
    // The outcomes of the writes finished since the last call, in order.
    std::vector<settings_write_outcome> take_outcomes();
    // Returns once every write asked for is finished.
    void wait_until_written();
    // Finishes every write asked for and ends the thread.
    void stop();

private:
    struct waiting_write {
        settings_write write;
        std::vector<unsigned long long> replaced_saves;
    };

    // False when the system refuses a thread (its limit reached).
    bool start_thread();
    void run();
    // A newer write of a file still waiting takes its place.
    void replace(waiting_write &older, settings_write newer);
    std::vector<waiting_write> take_batch();
    std::vector<settings_write_outcome> write_batch(std::vector<waiting_write> batch);
    // A write that was to move a file's old content aside and failed hands
    // that on to the next write of the file.
    settings_write with_move_still_due(settings_write write) const;
    void note_move(const settings_write_outcome &outcome);

    std::mutex mutex;
    std::condition_variable work_arrived;
    std::condition_variable all_written;
    std::list<waiting_write> waiting;
    std::unordered_map<std::string, std::list<waiting_write>::iterator> waiting_by_path;
    std::vector<settings_write_outcome> outcomes;
    std::function<void()> before_batch;
    bool writing = false;
    bool stopping = false;
    std::thread thread;
    // Path -> where its old content is still to be moved; the writing
    // thread's own (the asker's while no thread runs).
    std::unordered_map<std::string, std::string> unkept;
};

#endif
