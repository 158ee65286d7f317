#include "vusk_download.h"

#include "atomic_file.h"
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

int vusk_download::download(const char *name, callback_function callback, void *data)
{
    if (!try_queue_download(name, callback, data))
        return 0;
    std::lock_guard<std::mutex> lock(list_mutex);
    if (!worker.joinable())
        worker = std::thread(&vusk_download::run_worker, this);
    work_ready.notify_one();
    return 1;
}

int vusk_download::try_queue_download(const char *name, callback_function callback, void *data)
{
    if (name == nullptr || strnlen(name, max_download_name_length + 1) > max_download_name_length)
        return 0;
    std::lock_guard<std::mutex> lock(list_mutex);
    if (stopping || queued.size() >= max_queued || queued_names.count(name) != 0 ||
        refused_after_failure_unlocked(name))
        return 0;
    queued.push_back({name, callback, data});
    queued_names.insert(name);
    return 1;
}

int vusk_download::is_queued(const char *name)
{
    std::lock_guard<std::mutex> lock(list_mutex);
    return name != nullptr && queued_names.count(name) != 0;
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
        queued.clear();
        queued_names.clear();
    }
    fetcher.abandon();
    work_ready.notify_all();
    if (worker.joinable())
        worker.join();
}

void vusk_download::run_worker()
{
    for (;;) {
        std::string name;
        {
            std::unique_lock<std::mutex> lock(list_mutex);
            work_ready.wait(lock, [this] { return stopping || !queued.empty(); });
            if (stopping)
                return;
            name = queued.front().name;
        }
        load_from_http(name);
    }
}

void vusk_download::load_from_http(const std::string &name)
{
    switch (transfer(name)) {
    case transfer_result::success: remove_from_queued_list(name); break;
    case transfer_result::answered_failure: move_to_failed_list(name, true); break;
    case transfer_result::unanswered_failure: move_to_failed_list(name, false); break;
    case transfer_result::abandoned: break;
    }
}

vusk_download::transfer_result vusk_download::transfer(const std::string &name)
{
    if (directory.empty() || !is_valid_download_path(name.c_str()) || !create_dirs(directory, name))
        return transfer_result::answered_failure;
    const std::string url = web_address_start + percent_encode_path("/" + name);
    const std::string local_path = directory + "/" + name;
    std::chrono::milliseconds pause = timing.first_pause;
    for (int attempt = 1;; ++attempt) {
        switch (fetch_into_file(url, local_path)) {
        case fetch_outcome::complete: return transfer_result::success;
        case fetch_outcome::abandoned: return transfer_result::abandoned;
        case fetch_outcome::failed: return transfer_result::answered_failure;
        case fetch_outcome::retry_later: break;
        }
        if (attempt >= timing.attempts)
            return transfer_result::unanswered_failure;
        if (!pause_before_retry(pause))
            return transfer_result::abandoned;
        pause *= 2;
    }
}

fetch_outcome vusk_download::fetch_into_file(const std::string &url, const std::string &local_path)
{
    atomic_file file(local_path);
    if (file.file() == nullptr)
        return fetch_outcome::failed;
    const fetch_outcome outcome = fetcher.fetch(url, file.file(), timing.limits);
    if (outcome == fetch_outcome::complete && !file.commit())
        return fetch_outcome::failed;
    return outcome;
}

bool vusk_download::pause_before_retry(std::chrono::milliseconds pause)
{
    std::unique_lock<std::mutex> lock(list_mutex);
    return !work_ready.wait_for(lock, pause, [this] { return stopping; });
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

vusk_download::request vusk_download::remove_from_queued_list_unlocked(const std::string &name)
{
    const auto found = std::find_if(queued.begin(), queued.end(), [&](const request &r) { return r.name == name; });
    if (found == queued.end())
        return {name, nullptr, nullptr};
    request removed = *found;
    queued.erase(found);
    queued_names.erase(name);
    return removed;
}

void vusk_download::remove_from_queued_list(const std::string &name)
{
    request finished;
    {
        std::lock_guard<std::mutex> lock(list_mutex);
        finished = remove_from_queued_list_unlocked(name);
    }
    if (finished.callback)
        finished.callback(finished.data, 0);
}

void vusk_download::move_to_failed_list(const std::string &name, bool answered)
{
    request finished;
    {
        std::lock_guard<std::mutex> lock(list_mutex);
        finished = remove_from_queued_list_unlocked(name);
        remember_failure_unlocked(name, answered);
    }
    if (finished.callback)
        finished.callback(finished.data, 1);
}
