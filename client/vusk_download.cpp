#include "vusk_download.h"

#include "command_line.h"
#include "download_path.h"
#include "tqconfig_files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {
constexpr mode_t download_directory_mode = 0755;

bool is_directory(const std::string &path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
}

vusk_download *vusk_download::instance = nullptr;

vusk_download *vusk_download::Instance()
{
    if (instance == nullptr)
        instance = new vusk_download(global_config_directory_path, web_host_name, web_host_port);
    return instance;
}

vusk_download::vusk_download(std::string directory, std::string web_host, int web_port, download_timing timing,
                             host_resolver resolve)
    : directory(std::move(directory)), timing(std::move(timing)),
      fetcher(std::move(web_host), web_port, std::move(resolve))
{
}

vusk_download::~vusk_download()
{
    stop();
}

// The worker is woken only for what it can do now: a request it can start,
// or one pushed out to call back. With every transfer place taken a new
// request waits for a transfer to end.
int vusk_download::download(const char *name, callback_function callback, void *data)
{
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(list_mutex);
        if (stopping || !is_acceptable_name(name) || ask_again_unlocked(name) || refused_after_failure_unlocked(name))
            return 0;
        const bool full = queued_names.size() >= max_queued;
        if (full && !push_out_oldest_waiting_unlocked())
            return 0;
        queue_unlocked(name, callback, data);
        if (!worker.joinable())
            worker = std::thread(&vusk_download::run_worker, this);
        wake = full || transfers_running < max_transfers;
    }
    if (wake)
        wake_worker();
    return 1;
}

void vusk_download::ask_again(const char *name)
{
    if (name == nullptr)
        return;
    std::lock_guard<std::mutex> lock(list_mutex);
    ask_again_unlocked(name);
}

bool vusk_download::is_acceptable_name(const char *name) const
{
    return name != nullptr && strnlen(name, max_download_name_length + 1) <= max_download_name_length;
}

bool vusk_download::ask_again_unlocked(const std::string &name)
{
    const auto queued = queued_names.find(name);
    if (queued == queued_names.end())
        return false;
    auto still_waiting = waiting.extract(queued->second);
    queued->second = next_order++;
    if (still_waiting) {
        still_waiting.key() = queued->second;
        waiting.insert(std::move(still_waiting));
    }
    return true;
}

// The oldest may be a request paused for its retry.
bool vusk_download::push_out_oldest_waiting_unlocked()
{
    if (waiting.empty() || pushed_out.size() >= max_queued)
        return false;
    const auto oldest = waiting.begin();
    queued_names.erase(oldest->second.name);
    pushed_out.push_back(std::move(oldest->second));
    waiting.erase(oldest);
    return true;
}

void vusk_download::queue_unlocked(const char *name, callback_function callback, void *data)
{
    const request_order order = next_order++;
    waiting.emplace(order, request{name, callback, data});
    queued_names.emplace(name, order);
    ++unfinished;
}

// The worker sleeps on the condition while no transfer runs, else in the
// fetcher.
void vusk_download::wake_worker()
{
    work_ready.notify_one();
    fetcher.wake();
}

int vusk_download::is_queued(const char *name)
{
    std::lock_guard<std::mutex> lock(list_mutex);
    return name != nullptr && queued_names.count(name) != 0;
}

bool vusk_download::idle()
{
    std::lock_guard<std::mutex> lock(list_mutex);
    return unfinished == 0;
}

unsigned long long vusk_download::worker_rounds()
{
    std::lock_guard<std::mutex> lock(list_mutex);
    return rounds;
}

bool vusk_download::refused_after_failure_unlocked(const std::string &name)
{
    const auto found = failed_names.find(name);
    if (found == failed_names.end())
        return false;
    const failure &last = *found->second;
    if (last.answered || timing.now() - last.at < timing.unanswered_pause) {
        failed.splice(failed.begin(), failed, found->second);
        return true;
    }
    failed.erase(found->second);
    failed_names.erase(found);
    return false;
}

void vusk_download::remember_failure_unlocked(const std::string &name, bool answered)
{
    failed.push_front({name, answered, timing.now()});
    failed_names[name] = failed.begin();
    if (failed.size() > max_failures) {
        failed_names.erase(failed.back().name);
        failed.pop_back();
    }
}

void vusk_download::stop()
{
    {
        std::lock_guard<std::mutex> lock(list_mutex);
        stopping = true;
        waiting.clear();
        pushed_out.clear();
        queued_names.clear();
    }
    wake_worker();
    if (worker.joinable())
        worker.join();
    std::lock_guard<std::mutex> lock(list_mutex);
    unfinished = 0;
}

bool vusk_download::stopped()
{
    std::lock_guard<std::mutex> lock(list_mutex);
    return stopping;
}

void vusk_download::run_worker()
{
    for (std::chrono::milliseconds longest; start_round(longest);) {
        for (const http_fetcher::ended &ended : fetcher.run(longest))
            end_transfer(*static_cast<transfer *>(ended.tag), ended);
    }
    fetcher.cancel_all();
    transfers.clear();
}

// How long the fetcher may wait is decided after the starts: a start the
// disk refused pauses its request.
bool vusk_download::start_round(std::chrono::milliseconds &longest_wait)
{
    std::vector<request> gone;
    std::vector<request> starting;
    {
        std::unique_lock<std::mutex> lock(list_mutex);
        wait_for_work_unlocked(lock);
        if (stopping)
            return false;
        gone.swap(pushed_out);
        while (transfers.size() + starting.size() < max_transfers) {
            const auto due = newest_due_unlocked();
            if (due == waiting.end())
                break;
            starting.push_back(std::move(due->second));
            waiting.erase(due);
        }
    }
    for (const request &asked : gone)
        if (!stopped())
            call_back(asked, download_pushed_out);
    for (request &asked : starting)
        start_transfer(std::move(asked));
    std::lock_guard<std::mutex> lock(list_mutex);
    transfers_running = transfers.size();
    longest_wait = until_next_look_unlocked();
    return true;
}

// Returns at once while transfers run: the fetcher waits for them.
void vusk_download::wait_for_work_unlocked(std::unique_lock<std::mutex> &lock)
{
    for (;;) {
        ++rounds;
        transfers_running = transfers.size();
        if (stopping || !pushed_out.empty() || !transfers.empty() || newest_due_unlocked() != waiting.end())
            return;
        if (waiting.empty())
            work_ready.wait(lock);
        else
            work_ready.wait_for(lock, until_next_look_unlocked());
    }
}

std::map<vusk_download::request_order, vusk_download::request>::iterator vusk_download::newest_due_unlocked()
{
    const clock::time_point now = timing.now();
    for (auto newest = waiting.rbegin(); newest != waiting.rend(); ++newest)
        if (newest->second.not_before <= now)
            return std::prev(newest.base());
    return waiting.end();
}

// With a transfer place free, until the next paused request is due; with
// none, a request that is due could not start anyway, and only the end of a
// transfer (or a request to call back) gives work.
std::chrono::milliseconds vusk_download::until_next_look_unlocked()
{
    constexpr std::chrono::milliseconds longest_sleep{1000};
    const clock::time_point now = timing.now();
    clock::time_point next = now + longest_sleep;
    if (transfers.size() < max_transfers)
        for (const auto &[order, asked] : waiting)
            next = std::min(next, asked.not_before);
    return std::chrono::ceil<std::chrono::milliseconds>(std::max(next - now, clock::duration::zero()));
}

void vusk_download::start_transfer(request asked)
{
    ++asked.attempts;
    const std::string &name = asked.name;
    if (directory.empty() || !is_valid_download_path(name.c_str())) {
        fail(asked, true);
        return;
    }
    if (!create_dirs(directory, name)) {
        refused_by_disk(std::move(asked), "cannot create the directories of " + directory + "/" + name);
        return;
    }
    transfer &started = transfers.emplace_back(std::move(asked), directory + "/" + name);
    if (started.file.file() == nullptr) {
        const std::string reason = started.file.error();
        request refused = std::move(started.asked);
        transfers.pop_back();
        refused_by_disk(std::move(refused), reason);
        return;
    }
    if (!fetcher.start(percent_encode_path("/" + started.asked.name), started.file.file(), timing.limits, &started)) {
        const request failed_to_start = std::move(started.asked);
        transfers.pop_back();
        fail(failed_to_start, true);
    }
}

// The transfer's temporary file is gone before its callback tells anyone.
void vusk_download::end_transfer(transfer &ended, const http_fetcher::ended &outcome)
{
    const bool stored = outcome.outcome == fetch_outcome::complete && ended.file.commit();
    const std::string disk_error = outcome.outcome == fetch_outcome::not_stored
                                       ? "cannot write " + directory + "/" + ended.asked.name + ": " +
                                             strerror(outcome.write_error)
                                       : ended.file.error();
    request asked = std::move(ended.asked);
    transfers.remove_if([&](const transfer &t) { return &t == &ended; });
    switch (outcome.outcome) {
    case fetch_outcome::complete:
        if (stored)
            succeed(asked);
        else
            refused_by_disk(std::move(asked), disk_error);
        break;
    case fetch_outcome::not_stored: refused_by_disk(std::move(asked), disk_error); break;
    case fetch_outcome::failed: fail(asked, true); break;
    case fetch_outcome::retry_later: try_again_or_give_up(std::move(asked)); break;
    }
}

void vusk_download::try_again_or_give_up(request asked)
{
    if (asked.attempts < timing.attempts)
        try_again_later(std::move(asked));
    else
        fail(asked, false);
}

// The pause doubles with each attempt; newer requests go first meanwhile. A
// retry waits as the name was last asked.
void vusk_download::try_again_later(request asked)
{
    // Far more than any attempts configured; keeps the shift defined.
    constexpr int most_doublings = 20;
    asked.not_before = timing.now() + timing.first_pause * (1 << std::min(asked.attempts - 1, most_doublings));
    std::lock_guard<std::mutex> lock(list_mutex);
    if (!stopping)
        waiting.emplace(queued_names.at(asked.name), std::move(asked));
}

// Said once until a file is stored again: a full disk refuses every file.
void vusk_download::refused_by_disk(request asked, const std::string &reason)
{
    if (!disk_refusal_said)
        fprintf(stderr, "Varn Ossic: a downloaded file was not stored (%s); it is fetched again later\n",
                reason.c_str());
    disk_refusal_said = true;
    try_again_or_give_up(std::move(asked));
}

void vusk_download::succeed(const request &asked)
{
    disk_refusal_said = false;
    {
        std::lock_guard<std::mutex> lock(list_mutex);
        if (stopping)
            return;
        queued_names.erase(asked.name);
    }
    call_back(asked, download_done);
}

void vusk_download::fail(const request &asked, bool answered)
{
    {
        std::lock_guard<std::mutex> lock(list_mutex);
        if (stopping)
            return;
        queued_names.erase(asked.name);
        remember_failure_unlocked(asked.name, answered);
    }
    call_back(asked, download_failed);
}

void vusk_download::call_back(const request &asked, download_end end)
{
    if (asked.callback)
        asked.callback(asked.data, end);
    std::lock_guard<std::mutex> lock(list_mutex);
    --unfinished;
}

int vusk_download::create_dirs(const std::string &directory, const std::string &path)
{
    for (size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string prefix = directory + "/" + path.substr(0, slash);
        mkdir(prefix.c_str(), download_directory_mode);
        if (!is_directory(prefix))
            return 0;
    }
    return 1;
}
