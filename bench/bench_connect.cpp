// How long the GUI thread goes without a tick while the client connects to
// a host that drops connect requests (down, or behind a firewall): the real
// main frame, its ticks run back to back as the main timer runs them, from
// the first tick, which starts the connect, to the one that shows that it
// timed out.
#include "connection.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "silent_host.h"
#include "temp_home.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace {

const char connect_failure[] = "Unable to connect to server.";

void BM_ConnectSilentHostLongestTick(benchmark::State &state)
{
    using clock = std::chrono::steady_clock;
    for (auto _ : state) {
        TempHome home;
        silent_host host;
        gui::client_frame client(host.port());
        double longest = 0;
        int ticks = 0;
        const auto give_up = clock::now() + 2 * std::chrono::milliseconds(connect_timeout_ms);
        do {
            const auto start = clock::now();
            client.tick();
            longest = std::max(longest, std::chrono::duration<double>(clock::now() - start).count());
            ++ticks;
            gui::pump_events(main_tick_ms);
        } while (client.shown_text().find(connect_failure) == std::string::npos && clock::now() < give_up);
        state.SetIterationTime(longest);
        state.counters["longest_tick_ms"] = longest * 1000;
        state.counters["ticks"] = ticks;
    }
}

BENCHMARK(BM_ConnectSilentHostLongestTick)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
