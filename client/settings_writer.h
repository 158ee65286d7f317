#ifndef VUSK_SETTINGS_WRITER_H
#define VUSK_SETTINGS_WRITER_H

// Puts settings files in place on a thread of its own, so that a save of
// many files never holds the thread that asked for it. Files are written in
// the order they were asked for, each replaced whole (atomic_file), so two
// writes of one file land in order and a program killed at any moment
// leaves every file with its old or its new content. What each write came
// to waits for the asking thread to take it up.
//
// The thread starts with the first write and ends with stop(), which first
// writes everything asked for; a later write starts it again. When the system
// has no thread to give, a write is made on the asking thread, its outcome
// taken up as any other. One thread asks: it alone calls the methods.

#include <condition_variable>
#include <deque>
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
    // Empty when the file holds the content.
    std::string failure;
    // The file put in place.
    dev_t device = 0;
    ino_t inode = 0;
};

// Logins of new characters make writes as fast as the server sends them; the
// files waiting hold at most this many, and the asker waits for room beyond.
constexpr size_t max_waiting_settings_writes = 1024;

// Writes one file on the calling thread.
settings_write_outcome put_in_place(settings_write write);

class settings_writer {
public:
    settings_writer() = default;
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
    // False when the system refuses a thread (its limit reached).
    bool start_thread();
    void run();
    // A write that was to move a file's old content aside and failed hands
    // that on to the next write of the file.
    settings_write_outcome put_in_place_keeping(settings_write write);

    std::mutex mutex;
    std::condition_variable work_arrived;
    std::condition_variable room_made;
    std::condition_variable all_written;
    std::deque<settings_write> waiting;
    std::vector<settings_write_outcome> outcomes;
    bool writing = false;
    bool stopping = false;
    std::thread thread;
    // Path -> where its old content is still to be moved; the writing
    // thread's own (the asker's while no thread runs).
    std::unordered_map<std::string, std::string> unkept;
};

#endif
