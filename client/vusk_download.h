#ifndef VUSK_DOWNLOAD_H
#define VUSK_DOWNLOAD_H

// The download service: fetches single files from the game's web host into
// the same relative path under the configuration directory, in the
// background. One worker thread runs a few transfers at once, the most
// recently asked name first (a name asked for again while it waits counts as
// newly asked), so a host that holds some requests open or trickles them
// never holds back a name it serves at once; every transfer has a total time
// limit. A name that is queued is not asked for twice. A name whose download
// failed is refused: for the rest of the run when the host answered with an
// error, and for a pause when no answer came (the host may be back by then).
// The failures remembered are bounded; past the bound the least recently
// asked for is forgotten, which costs at most one more request for that
// name. The queue is bounded too: a request that finds it full pushes the
// oldest request that has not started (one paused for its retry included)
// out of it.
//
// A download succeeds only when the host answered 200 and the whole body was
// written, flushed and closed; the file then replaces the old copy in one
// step, so a failed download never damages a good file. A host that cannot
// be reached, a transfer that breaks or runs out of time, and a file the
// disk does not take are tried again a few times with growing pauses (other
// requests go first meanwhile) before the request fails as unanswered. A
// file the disk refuses is said on standard error, once until one is stored.
//
// The web host's name is looked up by the service, one lookup at a time (see
// http_fetcher), so a name server that does not answer leaves one lookup
// behind, not one per transfer.
//
// The worker sleeps until a transfer ends, a request comes that it can start
// or must call back, or a paused retry is due; it looks at its queue at
// least once a second.
//
// Callbacks: every accepted request gets exactly one call, with a
// download_end, on the worker thread and with no lock of the service held.
// Requests still waiting or in flight when the service stops get none.

#include "atomic_file.h"
#include "http_fetch.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// What a callback is told.
enum download_end : int {
    download_done = 0,
    download_failed = 1,
    // Pushed out of a full queue by newer requests before it started: it was
    // not asked of the host, and nothing is held against the name.
    download_pushed_out = 2,
};

struct download_timing {
    // Attempts at one file whose host cannot be reached, whose transfer
    // broke off or ran out of time, or that the disk did not take.
    int attempts = 4;
    // The pause before the second attempt; each further pause doubles.
    std::chrono::milliseconds first_pause{2000};
    fetch_limits limits;
    // How long a name whose host gave no answer is refused.
    std::chrono::milliseconds unanswered_pause{std::chrono::minutes(1)};
    // The clock of the pauses.
    std::function<std::chrono::steady_clock::time_point()> now = std::chrono::steady_clock::now;
};

class vusk_download {
public:
    using callback_function = void (*)(void *data, int end);

    // Requests waiting or in flight; a request pushed out of the queue waits
    // for its callback apart, within the same bound.
    static constexpr size_t max_queued = 256;
    // Failures remembered; past this the least recently asked for goes.
    static constexpr size_t max_failures = 1024;
    // Transfers at once: a few held open by the host leave room for others.
    static constexpr size_t max_transfers = 4;

    // The process-wide service, for the configuration directory and the web
    // host of this run; created on first use.
    static vusk_download *Instance();
    // Null until Instance() creates the service.
    static vusk_download *instance;

    // The web host's name is looked up with resolve.
    vusk_download(std::string directory, std::string web_host, int web_port, download_timing timing = {},
                  host_resolver resolve = resolve_host_name);
    // Stops the service.
    ~vusk_download();
    vusk_download(const vusk_download &) = delete;
    vusk_download &operator=(const vusk_download &) = delete;

    // Asks for the relative path name. 1 when accepted; 0 when refused (no
    // name, one of 100 characters or more, a name queued or refused after a
    // failure, a queue full of transfers and of requests pushed out not yet
    // called back, or a stopped service), and then no callback follows. A
    // name that is queued is asked again (see ask_again). A name that is not
    // a safe relative path is accepted and fails.
    int download(const char *name, callback_function callback, void *data);
    // A queued name counts as newly asked: waiting, it goes before the
    // others; in flight, its retry will. Never starts a request.
    void ask_again(const char *name);
    int is_queued(const char *name);
    // Whether every request accepted has had its callback (or the service
    // stopped).
    bool idle();
    // Abandons the transfers in flight and every waiting request, and joins
    // the worker. Afterwards every request is refused. Any thread but the
    // worker's (a callback) may call it.
    void stop();
    // The times the worker has looked at its queue, for tests and
    // benchmarks that check it sleeps.
    unsigned long long worker_rounds();

    // Creates the directories along the relative path under directory (mode
    // 0755); 1 when they all exist afterwards.
    static int create_dirs(const std::string &directory, const std::string &path);

private:
    using clock = std::chrono::steady_clock;
    struct request {
        std::string name;
        callback_function callback = nullptr;
        void *data = nullptr;
        // Attempts made so far, and when the next may start.
        int attempts = 0;
        clock::time_point not_before{};
    };
    // Requests in the order they were asked; a larger number is newer.
    using request_order = unsigned long long;
    struct transfer {
        transfer(request asked, const std::string &local_path) : asked(std::move(asked)), file(local_path) {}
        request asked;
        atomic_file file;
    };
    struct failure {
        std::string name;
        bool answered;
        std::chrono::steady_clock::time_point at;
    };

    bool is_acceptable_name(const char *name) const;
    // Whether the name is queued; if so it becomes the newest request.
    bool ask_again_unlocked(const std::string &name);
    bool push_out_oldest_waiting_unlocked();
    void queue_unlocked(const char *name, callback_function callback, void *data);
    void wake_worker();
    void run_worker();
    // Calls back the requests pushed out and starts the newest due ones,
    // and tells how long the transfers may run before the worker looks
    // again; false once the service stops.
    bool start_round(std::chrono::milliseconds &longest_wait);
    void wait_for_work_unlocked(std::unique_lock<std::mutex> &lock);
    std::map<request_order, request>::iterator newest_due_unlocked();
    std::chrono::milliseconds until_next_look_unlocked();
    bool stopped();
    void start_transfer(request asked);
    void end_transfer(transfer &ended, const http_fetcher::ended &outcome);
    // The host gave no answer, or the disk took no file: worth another
    // attempt after a pause while attempts are left.
    void try_again_or_give_up(request asked);
    void try_again_later(request asked);
    void refused_by_disk(request asked, const std::string &reason);
    void succeed(const request &asked);
    // answered: the host said no.
    void fail(const request &asked, bool answered);
    void call_back(const request &asked, download_end end);
    // Whether a failure of the name still refuses it; marks it asked for,
    // and forgets it once its pause has passed. The caller holds list_mutex.
    bool refused_after_failure_unlocked(const std::string &name);
    void remember_failure_unlocked(const std::string &name, bool answered);

    const std::string directory;
    const download_timing timing;

    // Guards everything below but transfers and what the worker says, and
    // the start of the worker. Never held while a transfer or a callback
    // runs.
    std::mutex list_mutex;
    std::condition_variable work_ready;
    // Requests waiting to start, due or paused for a retry.
    std::map<request_order, request> waiting;
    request_order next_order = 0;
    // The names waiting or in flight, with the order they were last asked
    // in (a retry waits under it).
    std::unordered_map<std::string, request_order> queued_names;
    std::vector<request> pushed_out;
    // Transfers in flight when the worker last went to sleep.
    size_t transfers_running = 0;
    unsigned long long rounds = 0;
    // Requests accepted whose callback has not returned yet.
    size_t unfinished = 0;
    // Most recently asked for first, and where each name's failure is.
    std::list<failure> failed;
    std::unordered_map<std::string, std::list<failure>::iterator> failed_names;
    bool stopping = false;
    std::thread worker;
    http_fetcher fetcher;
    // The worker's own.
    std::list<transfer> transfers;
    // A refusal by the disk was said, and no file was stored since.
    bool disk_refusal_said = false;
};

#endif
