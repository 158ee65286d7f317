// Saving the settings of a player with 200 configurations, in a HOME of its
// own: what a burst of client ids from the server costs the main tick, and a
// periodic save with one configuration changed.
#include "tqconfig.h"
#include "tqconfig_files.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {
constexpr int configurations = record_list_capacity;
constexpr int ids_per_burst = 100;
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

// 100 "uuid" tags arrive in one read, then a second of ticks follows.
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
    }
}
BENCHMARK(BM_ClientIdBurst200Configurations)->Unit(benchmark::kMillisecond);

// The five-minute save after the player changed one setting.
void BM_Save200ConfigurationsOneChanged(benchmark::State &state)
{
    player();
    int height = 100;
    for (auto _ : state) {
        TConfig::Instance()->SetInputHeight(height = height == 100 ? 101 : 100);
        save_system_config();
    }
}
BENCHMARK(BM_Save200ConfigurationsOneChanged)->Unit(benchmark::kMillisecond);
} // namespace
