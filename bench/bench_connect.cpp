// How long the GUI thread goes without a tick while the client connects to
// a host that drops connect requests (down, or behind a firewall): the real
// main frame, its ticks run back to back as the main timer runs them, from
// the first tick, which starts the connect, to the one that shows that it
// timed out. And how long connects to a host whose name server never
// answers take to time out.
#include "command_line.h"
#include "connection.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "held_lookup.h"
#include "silent_host.h"
#include "temp_home.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
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

// The game connection's text goes nowhere: no server ever answers.
class unused_stream_sink : public vusk_stream_sink {
    void clear_all_displays_changed_flag() override {}
    void update_all_displays_changed_flag() override {}
    void display_socket_data(const char *, int) override {}
    void enable_local_echo() override {}
    void disable_local_echo() override {}
    void ring_bell() override {}
};

// Seconds from a connect to its failure, checked once a main tick.
double seconds_to_fail(vusk_connection &connection)
{
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    const auto give_up = start + 2 * std::chrono::milliseconds(connect_timeout_ms);
    bool going = connection.open(nullptr);
    while (going && connection.connecting() && clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::milliseconds(main_tick_ms));
        going = connection.continue_connecting();
    }
    return std::chrono::duration<double>(clock::now() - start).count();
}

// Two connects in a row, with the real limit, to a name whose lookup never
// answers; the second shares the first one's lookup, still running.
void BM_ConnectHangingLookupTimesOut(benchmark::State &state)
{
    for (auto _ : state) {
        held_lookup name_server(std::chrono::seconds(4 * connect_timeout_ms / 1000));
        unused_stream_sink sink;
        vusk_connection connection(sink, name_server.resolver());
        connect_address = "game.example";
        const double first = seconds_to_fail(connection);
        const double second = seconds_to_fail(connection);
        state.SetIterationTime(first);
        state.counters["first_s"] = first;
        state.counters["second_s"] = second;
        state.counters["lookups"] = name_server.lookups_started();
    }
}

BENCHMARK(BM_ConnectHangingLookupTimesOut)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
