// Saving the settings of a player with 200 configurations, in a HOME of its
// own: what a burst of client ids from the server costs the main tick, and
// the longest the GUI thread is held by one call (a login, a tag, a tick, the
// save timer) while saves of 200 configurations run. The files themselves
// are written by the settings writer's thread; its writes are waited for
// outside the measured time.
#include "heap_bytes.h"
#include "lowered_limit.h"
#include "settings_files.h"
#include "settings_writer.h"
#include "tqconfig.h"
#include "tqconfig_files.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr int configurations = record_list_capacity;
constexpr int ids_per_burst = 100;
// More characters than the configuration holds at once.
constexpr int distinct_logins = record_list_capacity + 30;
constexpr int tick_ms = 20;
// The ticks of one second: the throttle lets one requested save through.
constexpr int ticks_per_second = 1000 / tick_ms;

// A temporary HOME holding the settings of 200 configurations, all saved.
class player_with_many_configurations {
public:
    player_with_many_configurations()
    {
        char pattern[] = "/tmp/vusk-bench-XXXXXX";
        home = mkdtemp(pattern);
        setenv("HOME", home.c_str(), 1);
        load_system_config();
        for (int record = 0; record < configurations; ++record)
            TConfig::Instance()->UseConfig("R" + std::to_string(1000 + record));
        save_system_config();
    }
    ~player_with_many_configurations() { std::filesystem::remove_all(home); }

    // The steady clock of the main tick, advanced by the benchmark.
    long long now_ms = 0;

private:
    std::string home;
};

player_with_many_configurations &player()
{
    static player_with_many_configurations settings;
    return settings;
}

// How long the GUI thread spends in one call, in seconds.
template <class Call> double held_for(Call call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The ticks of one second; the longest of them.
double second_of_ticks(player_with_many_configurations &settings)
{
    double longest = 0;
    for (int tick = 0; tick < ticks_per_second; ++tick)
        longest = std::max(longest, held_for([&settings] { run_requested_config_save(settings.now_ms += tick_ms); }));
    return longest;
}

// 100 "uuid" tags arrive in one read, then a second of ticks follows: the
// GUI thread's time for all of it.
void BM_ClientIdBurst200Configurations(benchmark::State &state)
{
    player_with_many_configurations &settings = player();
    int burst = 0;
    for (auto _ : state) {
        for (int id = 0; id < ids_per_burst; ++id)
            set_uuid(("burst-" + std::to_string(burst) + "-" + std::to_string(id)).c_str());
        for (int tick = 0; tick < ticks_per_second; ++tick)
            run_requested_config_save(settings.now_ms += tick_ms);
        ++burst;
        state.PauseTiming();
        finish_config_saves();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ClientIdBurst200Configurations)->Unit(benchmark::kMillisecond);

// The save timer's save of 200 configurations, one or all of them changed:
// the time is the GUI thread's part.
void periodic_save(benchmark::State &state, bool all_changed)
{
    player();
    int height = 100;
    for (auto _ : state) {
        height = height == 100 ? 101 : 100;
        if (all_changed) {
            for (const auto &record : TConfig::Instance()->records())
                record->input_height = height;
        } else {
            TConfig::Instance()->SetInputHeight(height);
        }
        state.SetIterationTime(held_for(start_system_config_save));
        finish_config_saves();
    }
}

void BM_PeriodicSave200ConfigurationsOneChanged(benchmark::State &state)
{
    periodic_save(state, false);
}
BENCHMARK(BM_PeriodicSave200ConfigurationsOneChanged)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_PeriodicSave200ConfigurationsAllChanged(benchmark::State &state)
{
    periodic_save(state, true);
}
BENCHMARK(BM_PeriodicSave200ConfigurationsAllChanged)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// 230 characters the player never had log in one after the other (records
// unloaded to make room are saved as they go), then a "uuid" tag and a
// second of ticks, which save 200 new configurations: the time is the
// longest that one of these calls held the GUI thread.
void BM_DistinctLoginsThenClientIdLongestHold(benchmark::State &state)
{
    player_with_many_configurations &settings = player();
    int round = 0;
    for (auto _ : state) {
        double longest = 0;
        for (int login = 0; login < distinct_logins; ++login) {
            const std::string name = "L" + std::to_string(round) + "-" + std::to_string(login);
            longest = std::max(longest, held_for([&name] { TConfig::Instance()->UseConfig(name); }));
        }
        longest = std::max(longest, held_for([round] { set_uuid(("id-" + std::to_string(round)).c_str()); }));
        longest = std::max(longest, second_of_ticks(settings));
        state.SetIterationTime(longest);
        finish_config_saves();
        ++round;
    }
}
BENCHMARK(BM_DistinctLoginsThenClientIdLongestHold)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// 10,000 characters log in one after the other, each changing a setting
// (status bar off and on in turn), 150 to a read of the server's data, one
// read a main tick (20 ms), no read while the settings writes are far behind
// (as the main tick does): the longest a read or a tick held the GUI thread,
// how far the heap grew from the first read that found the list full, how
// many of the characters' files were written and how many ticks read
// nothing. The argument makes the disk slow: the writer waits that many
// milliseconds before each batch.
void BM_ChangedLogins10000LongestReadAndHeap(benchmark::State &state)
{
    constexpr int logins = 10000;
    constexpr int logins_per_read = 150;
    const auto batch_delay = std::chrono::milliseconds(state.range(0));
    if (batch_delay.count() > 0)
        hold_background_writes_with([batch_delay] { std::this_thread::sleep_for(batch_delay); });
    player_with_many_configurations &settings = player();
    // Fresh names in each run, so that every login is a new character.
    static int round = 0;
    for (auto _ : state) {
        double longest = 0;
        size_t heap_when_full = 0;
        int paused_ticks = 0;
        for (int first = 0; first < logins;) {
            const auto next_tick = std::chrono::steady_clock::now() + std::chrono::milliseconds(tick_ms);
            if (settings_writes_backlogged()) {
                ++paused_ticks;
            } else {
                longest = std::max(longest, held_for([&] {
                    for (int login = first; login < std::min(logins, first + logins_per_read); ++login) {
                        TConfig::Instance()->UseConfig("C" + std::to_string(round) + "-" + std::to_string(login));
                        TConfig::Instance()->SetStatusBar(login % 2);
                    }
                }));
                first += logins_per_read;
            }
            longest = std::max(longest, held_for([&settings] { run_requested_config_save(settings.now_ms += tick_ms); }));
            if (heap_when_full == 0)
                heap_when_full = heap_bytes_in_use();
            std::this_thread::sleep_until(next_tick);
        }
        state.SetIterationTime(longest);
        finish_config_saves();
        const double growth = static_cast<double>(heap_bytes_in_use()) - static_cast<double>(heap_when_full);
        state.counters["heap_growth_MB"] = growth / (1024.0 * 1024.0);
        state.counters["paused_ticks"] = paused_ticks;
        const std::string prefix = "C" + std::to_string(round) + "-";
        state.counters["files_written"] = static_cast<double>(
            std::count_if(std::filesystem::directory_iterator(global_config_directory_path),
                          std::filesystem::directory_iterator(), [&prefix](const auto &entry) {
                              return entry.path().filename().string().rfind(prefix, 0) == 0;
                          }));
        ++round;
    }
    hold_background_writes_with(nullptr);
}
BENCHMARK(BM_ChangedLogins10000LongestReadAndHeap)->Arg(0)->Arg(500)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// The longest a read of logins and a tick held the GUI thread, in seconds.
struct longest_holds {
    double read = 0;
    double tick = 0;
};

// The main tick over a flood of characters that each change a setting, as
// the frame runs it: 150 logins a read, one read a tick (20 ms) while the
// settings writes are not backlogged.
void changed_logins_at_tick_pace(player_with_many_configurations &settings, const std::string &prefix, int logins,
                                 longest_holds &longest)
{
    constexpr int logins_per_read = 150;
    for (int first = 0; first < logins;) {
        const auto next_tick = std::chrono::steady_clock::now() + std::chrono::milliseconds(tick_ms);
        if (!settings_writes_backlogged()) {
            longest.read = std::max(longest.read, held_for([&] {
                for (int login = first; login < std::min(logins, first + logins_per_read); ++login) {
                    TConfig::Instance()->UseConfig(prefix + std::to_string(login));
                    TConfig::Instance()->SetStatusBar(login % 2);
                }
            }));
            first += logins_per_read;
        }
        longest.tick =
            std::max(longest.tick, held_for([&settings] { run_requested_config_save(settings.now_ms += tick_ms); }));
        std::this_thread::sleep_until(next_tick);
    }
}

// Ticks at their pace until nothing waits for the disk.
void ticks_until_nothing_waits(player_with_many_configurations &settings, longest_holds &longest)
{
    while (settings_writes_backlogged() || TConfig::Instance()->records_held_for_the_disk() > 0 ||
           settings_only_copies_waiting() > 0) {
        const auto next_tick = std::chrono::steady_clock::now() + std::chrono::milliseconds(tick_ms);
        longest.tick =
            std::max(longest.tick, held_for([&settings] { run_requested_config_save(settings.now_ms += tick_ms); }));
        std::this_thread::sleep_until(next_tick);
    }
}

// The characters of those logins whose file does not say their setting.
int settings_lost(const std::string &prefix, int logins)
{
    int lost = 0;
    for (int login = 0; login < logins; ++login) {
        std::ifstream file(global_config_directory_path + "/" + prefix + std::to_string(login) + ".cfg");
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        lost += text.find("<status_bar>" + std::to_string(login % 2) + "</status_bar>") == std::string::npos;
    }
    return lost;
}

// The disk refuses every write (a file-size limit) while the argument's
// count of new characters log in, each changing a setting; then it takes
// writes again just as 1,500 more come. The figures: how many of the later
// characters' settings were lost (none may be), how many of those logged in
// while the disk refused, the longest a read of 150 logins and a tick held
// the GUI thread (the time is the longer), and the seconds from the disk's
// return until nothing waited for it.
void BM_FullDiskFreedThenChangedLogins(benchmark::State &state)
{
    constexpr int logins_after = 1500;
    const int logins_while_full = static_cast<int>(state.range(0));
    player_with_many_configurations &settings = player();
    static int round = 0;
    for (auto _ : state) {
        const std::string full = "F" + std::to_string(round) + "-";
        const std::string freed = "G" + std::to_string(round) + "-";
        longest_holds longest;
        {
            lowered_limit refusing(RLIMIT_FSIZE, 100);
            changed_logins_at_tick_pace(settings, full, logins_while_full, longest);
        }
        const auto freed_at = std::chrono::steady_clock::now();
        changed_logins_at_tick_pace(settings, freed, logins_after, longest);
        ticks_until_nothing_waits(settings, longest);
        state.counters["s_until_written"] =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - freed_at).count();
        state.counters["longest_read_ms"] = longest.read * 1000;
        state.counters["longest_tick_ms"] = longest.tick * 1000;
        state.SetIterationTime(std::max(longest.read, longest.tick));
        save_system_config();
        state.counters["lost_after_freed"] = settings_lost(freed, logins_after);
        state.counters["lost_while_full"] = settings_lost(full, logins_while_full);
        ++round;
    }
}
BENCHMARK(BM_FullDiskFreedThenChangedLogins)
    ->Arg(1300)
    ->Arg(3000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The places of the records unloaded are full of 1,024 writes a full disk
// refused when a changed character logs in and a record must leave memory:
// the login hands every refused write to the writer again. The time is the
// GUI thread's for that login; the disk still refuses meanwhile.
void BM_LoginTriesAgain1024RefusedWrites(benchmark::State &state)
{
    player();
    static int round = 0;
    const std::string prefix = "T" + std::to_string(round++) + "-";
    {
        lowered_limit refusing(RLIMIT_FSIZE, 100);
        int login = 0;
        for (; login < record_list_capacity + static_cast<int>(max_only_copies); ++login) {
            TConfig::Instance()->UseConfig(prefix + std::to_string(login));
            TConfig::Instance()->SetStatusBar(login % 2);
        }
        finish_config_saves();
        for (auto _ : state) {
            const std::string name = prefix + std::to_string(login);
            state.SetIterationTime(held_for([&name, login] {
                TConfig::Instance()->UseConfig(name);
                TConfig::Instance()->SetStatusBar(login % 2);
            }));
            ++login;
            finish_config_saves();
        }
        state.counters["refused_waiting"] = static_cast<double>(settings_only_copies_waiting());
    }
    // The refused writes reach the disk, for the benchmarks that follow.
    save_system_config();
}
BENCHMARK(BM_LoginTriesAgain1024RefusedWrites)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// One settings file written (and synced) in a directory of 20,000 files,
// after the first write of the run into it.
void BM_OneWriteAmong20000Files(benchmark::State &state)
{
    constexpr int files_beside = 20000;
    char pattern[] = "/tmp/vusk-bench-files-XXXXXX";
    const std::string directory = mkdtemp(pattern);
    for (int file = 0; file < files_beside; ++file)
        std::ofstream(directory + "/F" + std::to_string(file) + ".cfg") << "x";
    const std::string path = directory + "/Arden.cfg";
    put_in_place({path, "first", {}, 0, 0});
    int version = 0;
    for (auto _ : state)
        put_in_place({path, "version " + std::to_string(++version), {}, 0, 0});
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_OneWriteAmong20000Files)->Unit(benchmark::kMillisecond);

// One changed settings file saved by the settings writer while another
// program has 1 GB written to a file of the same file system that is not yet
// on the disk: the time from asking to the file being in place.
void BM_OneSaveWhileAnotherProgramHas1GBUnwritten(benchmark::State &state)
{
    constexpr size_t unwritten_bytes = size_t{1} << 30;
    constexpr size_t chunk_bytes = size_t{1} << 20;
    char pattern[] = "/tmp/vusk-bench-busy-XXXXXX";
    const std::string directory = mkdtemp(pattern);
    const std::string others = directory + "/another-programs-data";
    const std::string path = directory + "/Arden.cfg";
    const std::vector<char> chunk(chunk_bytes, 'x');
    settings_writer writer;
    int version = 0;
    for (auto _ : state) {
        {
            std::ofstream out(others, std::ios::binary | std::ios::trunc);
            for (size_t written = 0; written < unwritten_bytes; written += chunk_bytes)
                out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        }
        state.SetIterationTime(held_for([&] {
            writer.write({path, "version " + std::to_string(++version), {}, 0, 0});
            writer.wait_until_written();
        }));
        writer.take_outcomes();
        std::filesystem::remove(others);
    }
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_OneSaveWhileAnotherProgramHas1GBUnwritten)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// A login whose file holds its record and 2,000 small records of other
// names: the GUI thread's time for the login.
void BM_LoginReadsAFileOf2001Records(benchmark::State &state)
{
    constexpr int other_records = 2000;
    player();
    int round = 0;
    for (auto _ : state) {
        const std::string name = "Arden" + std::to_string(round++);
        std::string text = "<single_config><name>" + name + "</name><input_height>300</input_height></single_config>\n";
        for (int other = 0; other < other_records; ++other)
            text += "<single_config><name>O" + std::to_string(other) + "</name><font_size>12</font_size></single_config>\n";
        std::ofstream(global_config_directory_path + "/" + name + ".cfg") << text;
        state.SetIterationTime(held_for([&name] { TConfig::Instance()->UseConfig(name); }));
        finish_config_saves();
    }
}
BENCHMARK(BM_LoginReadsAFileOf2001Records)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
} // namespace

