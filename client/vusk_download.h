#ifndef VUSK_DOWNLOAD_H
#define VUSK_DOWNLOAD_H

// The download service: fetches single files from the game's web host into
// the same relative path under the configuration directory, in the
// background. One worker thread runs the transfers one at a time, oldest
// request first. A name that is queued, or whose download failed during this
// run, is not fetched again: no failure is ever forgotten.
//
// A download succeeds only when the host answered 200 and the whole body was
// written, flushed and closed; the file then replaces the old copy in one
// step, so a failed download never damages a good file. A host that cannot
// be reached, or a transfer that breaks or stalls, is tried again a few times
// with growing pauses before the request fails.
//
// Callbacks: every accepted request whose transfer ends gets exactly one
// call, with failed 0 after a success and 1 after a failure, on the worker
// thread and with no lock of the service held. Requests still waiting or in
// flight when the service stops get none.

#include "http_fetch.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

struct download_timing {
    // Attempts at one file whose host cannot be reached or whose transfer
    // broke off.
    int attempts = 4;
    // The pause before the second attempt; each further pause doubles.
    std::chrono::milliseconds first_pause{2000};
    fetch_limits limits;
};

class vusk_download {
public:
    using callback_function = void (*)(void *data, int failed);

    // The queued and failed names together: a request that finds this many
    // is refused, so the lists stay bounded without forgetting a failure
    // (after this many failures the service fetches nothing new).
    static constexpr size_t max_names = 512;

    // The process-wide service, for the configuration directory and the web
    // host of this run; created on first use.
    static vusk_download *Instance();
    // Null until Instance() creates the service.
    static vusk_download *instance;

    vusk_download(std::string directory, std::string web_host, int web_port, download_timing timing = {});
    // Stops the service.
    ~vusk_download();
    vusk_download(const vusk_download &) = delete;
    vusk_download &operator=(const vusk_download &) = delete;

    // Asks for the relative path name. 1 when accepted; 0 when refused (no
    // name, one of 100 characters or more, full lists, a name queued or
    // failed already, or a stopped service), and then no callback follows. A
    // name that is not a safe relative path is accepted and fails.
    int download(const char *name, callback_function callback, void *data);
    int is_queued(const char *name);
    // Abandons the transfer in flight and every waiting request, and joins the
    // worker. Afterwards every request is refused. Any thread but the
    // worker's (a callback) may call it.
    void stop();

    // Creates the directories along the relative path under directory (mode
    // 0755); 1 when they all exist afterwards.
    static int create_dirs(const std::string &directory, const std::string &path);

private:
    struct request {
        std::string name;
        callback_function callback = nullptr;
        void *data = nullptr;
    };
    enum class transfer_result { success, failure, abandoned };

    int try_queue_download(const char *name, callback_function callback, void *data);
    void run_worker();
    void load_from_http(const std::string &name);
    transfer_result transfer(const std::string &name);
    fetch_outcome fetch_into_file(const std::string &url, const std::string &local_path);
    // false when the service stopped during the pause.
    bool pause_before_retry(std::chrono::milliseconds pause);
    void remove_from_queued_list(const std::string &name);
    void move_to_failed_list(const std::string &name);
    // The caller holds list_mutex. An empty request (no callback) when the
    // name is not queued.
    request remove_from_queued_list_unlocked(const std::string &name);
    bool is_failed_unlocked(const std::string &name) const;
    bool is_queued_unlocked(const std::string &name) const;

    const std::string directory;
    const std::string web_address_start;
    const download_timing timing;

    // Guards queued, failed, stopping and the start of the worker. Never held
    // while a transfer or a callback runs.
    std::mutex list_mutex;
    std::condition_variable work_ready;
    // Oldest first; the first is the one in flight.
    std::deque<request> queued;
    // Newest first.
    std::deque<std::string> failed;
    bool stopping = false;
    std::thread worker;
    http_fetcher fetcher;
};

#endif
