// The sound pack's costs on the GUI thread: a request for an effect that is
// loaded already (the effect and version lookups among 100 of each),
// decoding a 2-second effect from its Ogg file, a flood of requests for
// 10,000 names of long effects (the time the worst tick spends on them, and
// the memory the pack keeps), 3,000 names that neither the pack nor the
// web host has, one request once 10,000 downloaded names and 10,000 such
// names have filled the pack's versions, effects and the service's failures
// to their bounds, a sound asked for while 300 downloads are stuck, the
// download worker's CPU time while requests wait for a transfer place, and
// the threads a name lookup that hangs leaves behind.
#include "resident_memory.h"
#include "sound_decoder.h"
#include "sox_sound.h"
#include "vusk_audio_base.h"
#include "vusk_soundpack.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <dirent.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int effect_count = 100;

std::string effect_path(const std::string &directory, int effect)
{
    return directory + "/soundpack/e" + std::to_string(effect) + ".ogg";
}

// A fresh directory with the effects e0 to e<count - 1>, one sound linked
// under every name; empty (and the benchmark skipped) when that fails.
std::string directory_with_effects(benchmark::State &state, int count, const tone &sound)
{
    char pattern[] = "/tmp/vusk-bench-XXXXXX";
    const std::string directory = mkdtemp(pattern) ? pattern : "";
    if (directory.empty() || !make_ogg(effect_path(directory, 0), sound)) {
        state.SkipWithError("no test sound");
        return "";
    }
    for (int i = 1; i < count; ++i)
        std::filesystem::create_hard_link(effect_path(directory, 0), effect_path(directory, i));
    return directory;
}

double thread_cpu_milliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The longest GUI-thread tick, by the clock and in the thread's own CPU time,
// which other work on a shared machine does not stretch.
struct worst_ticks {
    double wall_ms = 0;
    double cpu_ms = 0;

    template <typename Tick>
    void time(Tick tick)
    {
        const auto start = std::chrono::steady_clock::now();
        const double cpu_start = thread_cpu_milliseconds();
        tick();
        cpu_ms = std::max(cpu_ms, thread_cpu_milliseconds() - cpu_start);
        const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - start;
        wall_ms = std::max(wall_ms, wall.count());
    }
};

// Until everything decoded has been taken up, as the main ticks take it up.
void settle(vusk_soundpack &pack, worst_ticks &ticks)
{
    for (;;) {
        ticks.time([&] { pack.take_up_decoded(); });
        if (!pack.decoding())
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void BM_RequestLoadedEffect(benchmark::State &state)
{
    const std::string directory = directory_with_effects(state, effect_count, {44100, 1, 0.3, 440});
    if (directory.empty())
        return;
    // No request goes out: every file is there in its version.
    vusk_download downloads(directory, "127.0.0.1", 9);
    vusk_soundpack pack(directory, downloads);
    for (int i = 0; i < effect_count; ++i)
        pack.get_sound_data(("e" + std::to_string(i)).c_str(), 1);
    worst_ticks ticks;
    settle(pack, ticks);
    const std::string middle = "e" + std::to_string(effect_count / 2);
    if (pack.get_sound_data(middle.c_str(), 1) == nullptr)
        state.SkipWithError("the effect did not load");
    for (auto _ : state)
        benchmark::DoNotOptimize(pack.get_sound_data(middle.c_str(), 1));
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_RequestLoadedEffect);

void BM_DecodeTwoSecondEffect(benchmark::State &state)
{
    const std::string directory = directory_with_effects(state, 1, {44100, 1, 2.0, 440, "whitenoise"});
    if (directory.empty())
        return;
    const std::string path = effect_path(directory, 0);
    for (auto _ : state) {
        decoded_sound sound;
        if (decode_sound_file(path, sound) != decode_result::decoded) {
            state.SkipWithError("the effect did not decode");
            break;
        }
        benchmark::DoNotOptimize(sound.data.get());
    }
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_DecodeTwoSecondEffect)->Unit(benchmark::kMillisecond);

constexpr int flood_names = 10000;
// What one tick reads from the server: 10,000 bytes of sound tags.
constexpr int tick_bytes = 10000;
// The bytes around a name in its tag: ";ssound;" and ";esound;".
constexpr int tag_frame_bytes = 16;

// One pass over every name, a tick's worth of tags at a time, each tick
// ending with the take-up of what was decoded.
void request_every_name(vusk_soundpack &pack, worst_ticks &ticks, double &peak_megabytes,
                        const std::string &prefix = "e", int names = flood_names)
{
    for (int i = 0; i < names;) {
        ticks.time([&] {
            for (int bytes = 0; bytes < tick_bytes && i < names; ++i) {
                const std::string name = prefix + std::to_string(i);
                bytes += int(name.size()) + tag_frame_bytes;
                pack.parse_audio_tag(name.c_str());
            }
            pack.take_up_decoded();
        });
        peak_megabytes = std::max(peak_megabytes, resident_megabytes());
    }
}

// Every name is a 9.9-second effect on disk (where downloads leave them);
// the pack takes the first 512 names. Three passes, each followed by the
// decoding it started and its take-up.
void BM_SoundNameFlood(benchmark::State &state)
{
    const std::string directory = directory_with_effects(state, flood_names, {44100, 1, 9.9, 440, "whitenoise"});
    if (directory.empty())
        return;
    vusk_download downloads(directory, "127.0.0.1", 9);
    for (auto _ : state) {
        const double before = resident_megabytes();
        double peak = before;
        worst_ticks ticks;
        vusk_soundpack pack(directory, downloads);
        for (int pass = 0; pass < 3; ++pass) {
            request_every_name(pack, ticks, peak);
            settle(pack, ticks);
            peak = std::max(peak, resident_megabytes());
        }
        state.counters["worst_tick_ms"] = ticks.wall_ms;
        state.counters["worst_tick_cpu_ms"] = ticks.cpu_ms;
        state.counters["resident_before_MB"] = before;
        state.counters["resident_peak_MB"] = peak;
        state.counters["resident_after_MB"] = resident_megabytes();
    }
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_SoundNameFlood)->Iterations(1)->Unit(benchmark::kMillisecond);

// A listening socket on 127.0.0.1, on a port it picked; port stays 0 when
// that fails.
int listen_on_loopback(int &port)
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr *>(&address), length) == 0 && listen(listener, 64) == 0 &&
        getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    return listener;
}

// A web host on 127.0.0.1 that has no file but those whose path begins with
// served_prefix (a few bytes each, when given): every other request gets a
// 404.
class empty_web_host {
public:
    explicit empty_web_host(std::string served_prefix = {}) : served_prefix(std::move(served_prefix))
    {
        listener = listen_on_loopback(port_);
        if (port_ == 0)
            return;
        server = std::thread([this] { answer_every_request(); });
    }
    ~empty_web_host()
    {
        shutdown(listener, SHUT_RDWR);
        if (server.joinable())
            server.join();
        close(listener);
    }

    int port() const { return port_; }
    long answered() const { return answered_; }

private:
    void answer_every_request()
    {
        static const std::string not_found = "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n";
        static const std::string found = "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nogg";
        for (int client; (client = accept(listener, nullptr, nullptr)) >= 0; close(client)) {
            std::string request;
            char buffer[1024];
            for (ssize_t got; request.find("\r\n\r\n") == std::string::npos &&
                              (got = read(client, buffer, sizeof buffer)) > 0;)
                request.append(buffer, size_t(got));
            const bool served = !served_prefix.empty() && request.rfind("GET " + served_prefix, 0) == 0;
            const std::string &answer = served ? found : not_found;
            if (write(client, answer.data(), answer.size()) > 0)
                ++answered_;
        }
    }

    const std::string served_prefix;
    int listener = -1;
    int port_ = 0;
    std::atomic<long> answered_{0};
    std::thread server;
};

// Until the service has ended every download asked for so far.
void wait_for_downloads(vusk_download &downloads)
{
    while (!downloads.idle())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// A server naming 3,000 sounds that the pack and the web host lack, three
// passes of them at 10,000 bytes of tags per tick, each pass followed by the
// downloads it started; then a sound that is in the pack must still play
// (existing_sound_plays 1).
void BM_MissingSoundNames(benchmark::State &state)
{
    constexpr int missing_names = 3000;
    const std::string directory = directory_with_effects(state, 1, {44100, 1, 0.3, 440});
    if (directory.empty())
        return;
    for (auto _ : state) {
        const double before = resident_megabytes();
        double peak = before;
        worst_ticks ticks;
        empty_web_host host;
        vusk_download downloads(directory, "127.0.0.1", host.port());
        vusk_soundpack pack(directory, downloads);
        for (int pass = 0; pass < 3; ++pass) {
            request_every_name(pack, ticks, peak, "missing", missing_names);
            wait_for_downloads(downloads);
            peak = std::max(peak, resident_megabytes());
        }
        ticks.time([&] { pack.get_sound_data("e0", 1); });
        settle(pack, ticks);
        state.counters["existing_sound_plays"] = pack.get_sound_data("e0", 1) != nullptr;
        state.counters["host_requests"] = double(host.answered());
        state.counters["worst_tick_ms"] = ticks.wall_ms;
        state.counters["worst_tick_cpu_ms"] = ticks.cpu_ms;
        state.counters["resident_before_MB"] = before;
        state.counters["resident_peak_MB"] = peak;
        state.counters["resident_after_MB"] = resident_megabytes();
        downloads.stop();
    }
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_MissingSoundNames)->Iterations(1)->Unit(benchmark::kMillisecond);

// 10,000 names that the web host serves, whose versions are recorded as they
// arrive, and 10,000 that neither the pack nor the web host has, asked for a
// read at a time with the downloads of each read let end: the host answered
// each, so the versions, the effects and the failures are all at their
// bounds. e0, which is in the pack, is asked for after each read, as a
// sound heard often is, and loaded at the end.
constexpr int accumulated_names = 10000;
constexpr int names_per_read = 200;
const char served_names[] = "kept";
const std::string served_paths = std::string("/soundpack/") + served_names;

void ask_for_names(vusk_soundpack &pack, vusk_download &downloads, const std::string &prefix)
{
    for (int first = 0; first < accumulated_names; first += names_per_read) {
        for (int i = first; i < first + names_per_read; ++i)
            pack.parse_audio_tag((prefix + std::to_string(i) + " 1 preload").c_str());
        pack.get_sound_data("e0", 1);
        wait_for_downloads(downloads);
    }
}

void accumulate_names(vusk_soundpack &pack, vusk_download &downloads)
{
    ask_for_names(pack, downloads, served_names);
    ask_for_names(pack, downloads, "gone");
    worst_ticks ticks;
    settle(pack, ticks);
}

// One request on the GUI thread among the full lists: for the effect held
// (arg 0), or for a name never asked before (arg 1), which now and then
// forgets a quarter of the effects to make room. The slowest request is a
// counter; the new names' downloads run on the service's worker meanwhile.
void BM_RequestAmongFullLists(benchmark::State &state)
{
    const bool new_names = state.range(0) == 1;
    const std::string directory = directory_with_effects(state, 1, {44100, 1, 0.3, 440});
    if (directory.empty())
        return;
    empty_web_host host(served_paths);
    vusk_download downloads(directory, "127.0.0.1", host.port());
    vusk_soundpack pack(directory, downloads);
    accumulate_names(pack, downloads);
    if (pack.get_sound_data("e0", 1) == nullptr)
        state.SkipWithError("the effect did not load");
    double slowest_us = 0;
    int asked = 0;
    for (auto _ : state) {
        const std::string name = new_names ? "late" + std::to_string(asked++) : "e0";
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(pack.get_sound_data(name.c_str(), 1));
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        slowest_us = std::max(slowest_us, took.count());
    }
    state.counters["slowest_request_us"] = slowest_us;
    state.counters["host_requests"] = double(host.answered());
    pack.save_version_info();
    state.counters["version_file_bytes"] = double(std::filesystem::file_size(directory + "/sound_version.cfg"));
    downloads.stop();
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_RequestAmongFullLists)->Arg(0)->Arg(1)->Iterations(accumulated_names)->Unit(benchmark::kMicrosecond);

// A web host on 127.0.0.1 that serves one file at once and holds every other
// request open: with no answer at all, or (trickle) with a Content-Length of
// 64 KB and one byte a second. It notes when it served the file.
class stuck_web_host {
public:
    stuck_web_host(bool trickle, std::string served_path, std::string content)
        : trickle(trickle), served_path(std::move(served_path)), content(std::move(content))
    {
        listener = listen_on_loopback(port_);
        if (port_ == 0)
            return;
        server = std::thread([this] { serve(); });
    }
    ~stuck_web_host()
    {
        stopping = true;
        if (server.joinable())
            server.join();
        for (int client : held)
            close(client);
        close(listener);
    }

    int port() const { return port_; }
    // The requests held open so far.
    size_t held_count() const { return held_count_; }
    // When the file was served; zero before.
    std::chrono::steady_clock::time_point served_at() const { return served_at_; }

private:
    void serve()
    {
        auto next_byte = std::chrono::steady_clock::now();
        while (!stopping) {
            pollfd waiting{listener, POLLIN, 0};
            if (poll(&waiting, 1, 100) == 1)
                take_request(accept(listener, nullptr, nullptr));
            if (trickle && std::chrono::steady_clock::now() >= next_byte) {
                for (int client : held)
                    send(client, "t", 1, MSG_NOSIGNAL);
                next_byte += std::chrono::seconds(1);
            }
        }
    }

    void take_request(int client)
    {
        if (client < 0)
            return;
        std::string request;
        char buffer[1024];
        for (ssize_t got; request.find("\r\n\r\n") == std::string::npos &&
                          (got = read(client, buffer, sizeof buffer)) > 0;)
            request.append(buffer, size_t(got));
        if (request.compare(0, 4 + served_path.size() + 1, "GET " + served_path + " ") == 0) {
            const std::string answer =
                "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(content.size()) + "\r\n\r\n" + content;
            send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
            served_at_ = std::chrono::steady_clock::now();
            close(client);
            return;
        }
        static const char trickle_head[] = "HTTP/1.0 200 OK\r\nContent-Length: 65536\r\n\r\n";
        if (trickle)
            send(client, trickle_head, sizeof trickle_head - 1, MSG_NOSIGNAL);
        held.push_back(client);
        ++held_count_;
    }

    const bool trickle;
    const std::string served_path;
    const std::string content;
    int listener = -1;
    int port_ = 0;
    std::atomic<bool> stopping{false};
    std::atomic<std::chrono::steady_clock::time_point> served_at_{};
    std::vector<int> held;
    std::atomic<size_t> held_count_{0};
    std::thread server;
};

// 300 names that the web host holds open (arg 0) or trickles (arg 1), then,
// once every transfer the service runs at once is one of them, chime, which
// the host serves at once, asked for every 1.5 s as a server might,
// with a main tick every 20 ms: the seconds from the first request for
// chime until the host served it and until it played. The service runs with
// its own time limits.
void BM_SoundAmongStuckDownloads(benchmark::State &state)
{
    constexpr int stuck_names = 300;
    constexpr auto ask_every = std::chrono::milliseconds(1500);
    constexpr auto tick = std::chrono::milliseconds(20);
    constexpr auto give_up = std::chrono::minutes(5);
    const std::string directory = directory_with_effects(state, 1, {44100, 1, 0.3, 440});
    if (directory.empty())
        return;
    std::string content;
    {
        FILE *file = fopen(effect_path(directory, 0).c_str(), "rb");
        char buffer[4096];
        for (size_t got; file && (got = fread(buffer, 1, sizeof buffer, file)) > 0;)
            content.append(buffer, got);
        if (file)
            fclose(file);
    }
    for (auto _ : state) {
        vusk_audio_object::global_audio_enabled = 1;
        stuck_web_host host(state.range(0) == 1, "/soundpack/chime.ogg", content);
        vusk_download downloads(directory, "127.0.0.1", host.port());
        vusk_soundpack pack(directory, downloads);
        for (int i = 0; i < stuck_names; ++i)
            pack.parse_audio_tag(("stuck" + std::to_string(i) + " 1 preload").c_str());
        while (host.held_count() < vusk_download::max_transfers)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const auto first_ask = std::chrono::steady_clock::now();
        auto next_ask = first_ask;
        auto now = first_ask;
        for (; vusk_audio_object::playing_count() == 0 && now - first_ask < give_up;
             now = std::chrono::steady_clock::now()) {
            if (now >= next_ask) {
                pack.parse_audio_tag("chime");
                next_ask += ask_every;
            }
            pack.take_up_decoded();
            std::this_thread::sleep_for(tick);
        }
        const std::chrono::duration<double> heard = now - first_ask;
        const std::chrono::duration<double> fetched = host.served_at() - first_ask;
        state.counters["fetched_s"] = fetched.count();
        state.counters["heard_s"] = vusk_audio_object::playing_count() > 0 ? heard.count() : -1;
        // With output off every sound is freed.
        vusk_audio_object::global_audio_enabled = 0;
        vusk_audio_object::clear_queues();
        downloads.stop();
    }
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_SoundAmongStuckDownloads)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

double process_cpu_milliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto milliseconds = [](const timeval &time) {
        return double(time.tv_sec) * 1e3 + double(time.tv_usec) / 1e3;
    };
    return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
}

// 10 names that the web host holds open: 4 transfers run and 6 requests
// wait for a place, for 5 seconds (within the transfers' time limit). The
// CPU time of every thread but this one, which sleeps: the download worker
// and the host's thread (which wakes ten times a second), as a share of one
// core; and the worker's rounds a second.
void BM_DownloadWorkerWhileRequestsWait(benchmark::State &state)
{
    constexpr int requests = 10;
    constexpr auto measured = std::chrono::seconds(5);
    char pattern[] = "/tmp/vusk-bench-XXXXXX";
    const std::string directory = mkdtemp(pattern) ? pattern : "";
    for (auto _ : state) {
        stuck_web_host host(false, "/nothing", "");
        vusk_download downloads(directory, "127.0.0.1", host.port());
        for (int i = 0; i < requests; ++i)
            downloads.download(("held" + std::to_string(i)).c_str(), nullptr, nullptr);
        while (host.held_count() < vusk_download::max_transfers)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const double others_before = process_cpu_milliseconds() - thread_cpu_milliseconds();
        const unsigned long long rounds_before = downloads.worker_rounds();
        std::this_thread::sleep_for(measured);
        const double others = process_cpu_milliseconds() - thread_cpu_milliseconds() - others_before;
        const double measured_ms = std::chrono::duration<double, std::milli>(measured).count();
        state.counters["worker_cpu_percent"] = 100 * others / measured_ms;
        state.counters["worker_rounds_per_s"] = double(downloads.worker_rounds() - rounds_before) / (measured_ms / 1e3);
        downloads.stop();
    }
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_DownloadWorkerWhileRequestsWait)->Iterations(1)->Unit(benchmark::kSecond);

int process_threads()
{
    int threads = 0;
    if (DIR *tasks = opendir("/proc/self/task")) {
        while (const dirent *entry = readdir(tasks))
            threads += entry->d_name[0] != '.';
        closedir(tasks);
    }
    return threads;
}

// A name lookup that answers nothing until let go, like a silent name server.
class hanging_lookup {
public:
    ~hanging_lookup() { let_go(); }
    host_resolver resolver() const
    {
        return [shared = shared_](const std::string &, in_addr &) {
            std::unique_lock<std::mutex> lock(shared->mutex);
            shared->changed.wait(lock, [&] { return shared->let_go; });
            return false;
        };
    }
    void let_go()
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->let_go = true;
        shared_->changed.notify_all();
    }

private:
    struct state {
        std::mutex mutex;
        std::condition_variable changed;
        bool let_go = false;
    };
    std::shared_ptr<state> shared_ = std::make_shared<state>();
};

// The web host's name lookup hangs while a server names a new sound ten
// times a second for 90 s (each transfer gives up at its 10-second connect
// limit, the lookup included): the threads of the process before the first
// request, the most while it ran, and at its end.
void BM_ThreadsWhileNameLookupHangs(benchmark::State &state)
{
    constexpr auto asking_for = std::chrono::seconds(90);
    constexpr auto ask_every = std::chrono::milliseconds(100);
    char pattern[] = "/tmp/vusk-bench-XXXXXX";
    const std::string directory = mkdtemp(pattern) ? pattern : "";
    for (auto _ : state) {
        hanging_lookup lookup;
        vusk_download downloads(directory, "web.invalid", 80, {}, lookup.resolver());
        const int before = process_threads();
        int most = before;
        const auto end = std::chrono::steady_clock::now() + asking_for;
        for (int name = 0; std::chrono::steady_clock::now() < end; ++name) {
            downloads.download(("soundpack/new" + std::to_string(name) + ".ogg").c_str(), nullptr, nullptr);
            most = std::max(most, process_threads());
            std::this_thread::sleep_for(ask_every);
        }
        state.counters["threads_before"] = before;
        state.counters["threads_most"] = most;
        state.counters["threads_after_90s"] = process_threads();
        downloads.stop();
        lookup.let_go();
    }
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_ThreadsWhileNameLookupHangs)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
