#ifndef VUSK_DOWNLOAD_H
#define VUSK_DOWNLOAD_H

// The download service: fetches single files from the game's web host into
// the same relative path under the configuration directory, in the
// background. One worker thread runs the transfers one at a time, oldest
// request first. A name that is queued is not asked for twice. A name whose
// download failed is refused: for the rest of the run when the host answered
// with an error, and for a pause when no answer came (the host may be back
// by then). The failures remembered are bounded; past the bound the least
// recently asked for is forgotten, which costs at most one more request for
// that name.
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
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>

struct download_timing {
    // Attempts at one file whose host cannot be reached or whose transfer
    // broke off.
    int attempts = 4;
    // The pause before the second attempt; each further pause doubles.
    std::chrono::milliseconds first_pause{2000};
    fetch_limits limits;
    // How long a name whose host gave no answer is refused.
    std::chrono::milliseconds unanswered_pause{std::chrono::minutes(1)};
    // The clock of that pause.
    std::function<std::chrono::steady_clock::time_point()> now = std::chrono::steady_clock::now;
};

class vusk_download {
public:
    using callback_function = void (*)(void *data, int failed);

    // Requests waiting or in flight: one more is refused (it is no failure,
    // so the same name may be asked again at once).
    static constexpr size_t max_queued = 256;
    // Failures remembered; past this the least recently asked for goes.
    static constexpr size_t max_failures = 1024;

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
    // name, one of 100 characters or more, a full queue, a name queued or
    // refused after a failure, or a stopped service), and then no callback
    // follows. A
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
    // A failure is answered when the host said no (or the file could not be
    // written), unanswered when no answer came in time.
    enum class transfer_result { success, answered_failure, unanswered_failure, abandoned };
    struct failure {
        std::string name;
        bool answered;
        std::chrono::steady_clock::time_point at;
    };

    int try_queue_download(const char *name, callback_function callback, void *data);
    void run_worker();
    void load_from_http(const std::string &name);
    transfer_result transfer(const std::string &name);
    fetch_outcome fetch_into_file(const std::string &url, const std::string &local_path);
    // false when the service stopped during the pause.
    bool pause_before_retry(std::chrono::milliseconds pause);
    void remove_from_queued_list(const std::string &name);
    void move_to_failed_list(const std::string &name, bool answered);
    // The caller holds list_mutex. An empty request (no callback) when the
    // name is not queued.
    request remove_from_queued_list_unlocked(const std::string &name);
    // Whether a failure of the name still refuses it; marks it asked for,
    // and forgets it once its pause has passed. The caller holds list_mutex.
    bool refused_after_failure_unlocked(const std::string &name);
    void remember_failure_unlocked(const std::string &name, bool answered);

    const std::string directory;
    const std::string web_address_start;
    const download_timing timing;

    // Guards queued, failed, stopping and the start of the worker. Never held
    // while a transfer or a callback runs.
    std::mutex list_mutex;
    std::condition_variable work_ready;
    // Oldest first; the first is the one in flight.
    std::deque<request> queued;
    std::unordered_set<std::string> queued_names;
    // Most recently asked for first, and where each name's failure is.
    std::list<failure> failed;
    std::unordered_map<std::string, std::list<failure>::iterator> failed_names;
    bool stopping = false;
    std::thread worker;
    http_fetcher fetcher;
};

#endif
