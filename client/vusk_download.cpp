#include "vusk_download.h"

#include "command_line.h"
#include "download_path.h"
#include "tqconfig_files.h"

#include <algorithm>
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

vusk_download::vusk_download(std::string directory, std::string web_host, int web_port, download_timing timing)
    : directory(std::move(directory)),
      web_address_start("http://" + web_host + ":" + std::to_string(web_port)),
      timing(timing)
{
}

vusk_download::~vusk_download()
{
    stop();
}

// The worker waits for work, or for its transfers; woken while every
// transfer place is taken it could start nothing.
int vusk_download::download(const char *name, callback_function callback, void *data)
{
    size_t running;
    {
        std::lock_guard<std::mutex> lock(list_mutex);
        if (!try_queue_download_unlocked(name, callback, data))
            return 0;
        if (!worker.joinable())
            worker = std::thread(&vusk_download::run_worker, this);
        running = transfers_running;
    }
    if (running == 0)
        work_ready.notify_one();
    else if (running < max_transfers)
        fetcher.wake();
    return 1;
}

bool vusk_download::try_queue_download_unlocked(const char *name, callback_function callback, void *data)
{
    if (name == nullptr || strnlen(name, max_download_name_length + 1) > max_download_name_length)
        return false;
    if (stopping || queued_names.count(name) != 0 || refused_after_failure_unlocked(name))
        return false;
    if (queued_names.size() >= max_queued && !push_out_oldest_waiting_unlocked())
        return false;
    waiting.emplace(next_order++, request{name, callback, data});
    queued_names.insert(name);
    ++unfinished;
    return true;
}

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
    work_ready.notify_all();
    fetcher.wake();
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
            end_transfer(*static_cast<transfer *>(ended.tag), ended.outcome);
    }
    fetcher.cancel_all();
    transfers.clear();
}

bool vusk_download::start_round(std::chrono::milliseconds &longest_wait)
{
    std::vector<request> gone;
    std::vector<std::pair<request_order, request>> starting;
    {
        std::unique_lock<std::mutex> lock(list_mutex);
        transfers_running = transfers.size();
        wait_for_work_unlocked(lock);
        if (stopping)
            return false;
        gone.swap(pushed_out);
        while (transfers.size() + starting.size() < max_transfers) {
            const auto due = newest_due_unlocked();
            if (due == waiting.end())
                break;
            starting.emplace_back(due->first, std::move(due->second));
            waiting.erase(due);
        }
        transfers_running = transfers.size() + starting.size();
        longest_wait = until_next_pause_ends_unlocked();
    }
    for (const request &asked : gone)
        if (!stopped())
            call_back(asked, download_pushed_out);
    for (auto &[order, asked] : starting)
        start_transfer(std::move(asked), order);
    return true;
}

// Returns at once while transfers run: the fetcher waits for them.
void vusk_download::wait_for_work_unlocked(std::unique_lock<std::mutex> &lock)
{
    while (!stopping && pushed_out.empty() && transfers.empty() && newest_due_unlocked() == waiting.end()) {
        if (waiting.empty())
            work_ready.wait(lock);
        else
            work_ready.wait_for(lock, until_next_pause_ends_unlocked());
    }
}

std::map<vusk_download::request_order, vusk_download::request>::iterator vusk_download::newest_due_unlocked()
{
    const clock::time_point now = clock::now();
    for (auto newest = waiting.rbegin(); newest != waiting.rend(); ++newest)
        if (newest->second.not_before <= now)
            return std::prev(newest.base());
    return waiting.end();
}

// How long the worker may wait before a paused request is due, at most a
// second.
std::chrono::milliseconds vusk_download::until_next_pause_ends_unlocked()
{
    constexpr std::chrono::milliseconds longest_wait{1000};
    clock::time_point next = clock::now() + longest_wait;
    for (const auto &[order, asked] : waiting)
        next = std::min(next, asked.not_before);
    return std::chrono::ceil<std::chrono::milliseconds>(std::max(next - clock::now(), clock::duration::zero()));
}

void vusk_download::start_transfer(request asked, request_order order)
{
    ++asked.attempts;
    const std::string &name = asked.name;
    if (directory.empty() || !is_valid_download_path(name.c_str()) || !create_dirs(directory, name)) {
        fail(asked, true);
        return;
    }
    transfer &started = transfers.emplace_back(std::move(asked), order, directory + "/" + name);
    const std::string url = web_address_start + percent_encode_path("/" + started.asked.name);
    if (started.file.file() == nullptr || !fetcher.start(url, started.file.file(), timing.limits, &started)) {
        const request failed_to_start = std::move(started.asked);
        transfers.pop_back();
        fail(failed_to_start, true);
    }
}

// The transfer's temporary file is gone before its callback tells anyone.
void vusk_download::end_transfer(transfer &ended, fetch_outcome outcome)
{
    const bool stored = outcome == fetch_outcome::complete && ended.file.commit();
    request asked = std::move(ended.asked);
    const request_order order = ended.order;
    transfers.remove_if([&](const transfer &t) { return &t == &ended; });
    switch (outcome) {
    case fetch_outcome::complete:
        if (stored)
            succeed(asked);
        else
            fail(asked, true);
        break;
    case fetch_outcome::failed: fail(asked, true); break;
    case fetch_outcome::retry_later:
        if (asked.attempts < timing.attempts)
            try_again_later(std::move(asked), order);
        else
            fail(asked, false);
        break;
    }
}

// The pause doubles with each attempt; newer requests go first meanwhile.
void vusk_download::try_again_later(request asked, request_order order)
{
    asked.not_before = clock::now() + timing.first_pause * (1 << std::min(asked.attempts - 1, 20));
    std::lock_guard<std::mutex> lock(list_mutex);
    if (!stopping)
        waiting.emplace(order, std::move(asked));
}

void vusk_download::succeed(const request &asked)
{
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
