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
#include <vector>

namespace {

const char connect_failure[] = "Unable to connect to server.";

// The longest tick of all; the counters tell apart the first tick (it
// starts the connect and shows "Connecting..."), the longest of those that
// wait for the answer, and the last (it shows the failure, a disconnect's
// whole relayout).
void BM_ConnectSilentHostLongestTick(benchmark::State &state)
{
    using clock = std::chrono::steady_clock;
    for (auto _ : state) {
        TempHome home;
        silent_host host;
        gui::client_frame client(host.port());
        std::vector<double> ticks;
        const auto give_up = clock::now() + 2 * std::chrono::milliseconds(connect_timeout_ms);
        do {
            const auto start = clock::now();
            client.tick();
            ticks.push_back(std::chrono::duration<double, std::milli>(clock::now() - start).count());
            gui::pump_events(main_tick_ms);
        } while (client.shown_text().find(connect_failure) == std::string::npos && clock::now() < give_up);
        state.SetIterationTime(*std::max_element(ticks.begin(), ticks.end()) / 1000);
        state.counters["first_tick_ms"] = ticks.front();
        state.counters["waiting_tick_ms"] =
            ticks.size() > 2 ? *std::max_element(ticks.begin() + 1, ticks.end() - 1) : 0;
        state.counters["last_tick_ms"] = ticks.back();
        state.counters["ticks"] = double(ticks.size());
    }
}

BENCHMARK(BM_ConnectSilentHostLongestTick)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
