// What the popups and channels a server fills can cost: the memory and the
// GUI thread's stall of 32 popups of the largest text size, of game text
// diverted into 32 popups and 32 channels (30 MB, and 120 MB: more than
// every display keeps), and of logins between new popups while the channels
// are full, through the real main frame's stream parser.
#include "game_output.h"
#include "gui_client.h"
#include "heap_bytes.h"
#include "resident_memory.h"
#include "tag_text.h"
#include "temp_home.h"
#include "tqconfig.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace {

constexpr int popups = 32;
constexpr int channels = 32;
// What one tick reads from the server at most.
constexpr size_t tick_bytes = 10000;
constexpr size_t channel_text_bytes = 300 * 1024;
constexpr int other_font_points = 14;

std::string popup_tag(int index, const std::string &size)
{
    return with_data("window_create", "P" + std::to_string(index) + "\nPopup\n" + size + "\nlook\n");
}

std::string popup_tags(const std::string &size)
{
    std::string tags;
    for (int i = 0; i < popups; ++i)
        tags += popup_tag(i, size);
    return tags;
}

double megabytes(size_t bytes)
{
    return double(bytes) / double(1 << 20);
}

// A logged-in frame with the tabbed channel window on.
class memory_client {
public:
    memory_client()
    {
        TConfig::Instance()->SetChannelWindow(1);
        const wxRect area = wxGetClientDisplayRect();
        global_display_xsize = area.GetWidth();
        global_display_ysize = area.GetHeight();
        client.tick();
        client.receive(with_data("login", "Tester"));
        client.tick();
    }

    // The read and the tick after it, in milliseconds.
    double read_and_tick(const std::string &bytes)
    {
        const auto start = std::chrono::steady_clock::now();
        client.receive(bytes);
        client.tick();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }

    TempHome home;
    gui::client_frame client;
};

struct growth {
    size_t heap = heap_bytes_in_use();
    double resident = resident_megabytes();

    void report(benchmark::State &state) const
    {
        state.counters["heap_growth_MB"] = megabytes(heap_bytes_in_use() - heap);
        state.counters["resident_growth_MB"] = resident_megabytes() - resident;
        state.counters["resident_MB"] = resident_megabytes();
    }
};

void BM_LargePopupsMemory(benchmark::State &state)
{
    for (auto _ : state) {
        memory_client frame;
        const std::string tags = popup_tags("1000 1000");
        const growth before;
        state.counters["stall_ms"] = frame.read_and_tick(tags);
        before.report(state);
    }
}
BENCHMARK(BM_LargePopupsMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// The text goes to each popup and channel in turn, a tick's read at a time.
void BM_DivertedTextMemory(benchmark::State &state)
{
    const std::string text = game_output(SESSION_LINES);
    const size_t diverted_bytes = size_t(state.range(0)) << 20;
    for (auto _ : state) {
        memory_client frame;
        std::string create = popup_tags("40 10");
        for (int i = 0; i < channels; ++i)
            create += with_data("chdiv", "C" + std::to_string(i)) + "hi\r\n;tchudiv;";
        frame.read_and_tick(create);
        const growth before;
        double worst_ms = 0;
        size_t at = 0;
        for (int target = 0; at < diverted_bytes; ++target) {
            const int index = target % (popups + channels);
            const size_t offset = at % text.size();
            const std::string piece = text.substr(offset, std::min(tick_bytes, text.size() - offset));
            const std::string read =
                index < popups ? with_data("append", "P" + std::to_string(index)) + piece + ";tunappend;"
                               : with_data("chdiv", "C" + std::to_string(index - popups)) + piece + ";tchudiv;";
            worst_ms = std::max(worst_ms, frame.read_and_tick(read));
            at += piece.size();
        }
        state.counters["worst_tick_ms"] = worst_ms;
        before.report(state);
    }
}
BENCHMARK(BM_DivertedTextMemory)->Arg(30)->Arg(120)->Iterations(1)->Unit(benchmark::kMillisecond);

// Which logins come before each of the 32 new popups of one read.
enum popup_logins { no_logins, same_character, two_fonts };

std::string login_before_popup(popup_logins logins, int index)
{
    if (logins == no_logins)
        return "";
    return with_data("login", logins == two_fonts && index % 2 == 0 ? "Arden" : "Tester");
}

// The read of 32 new popups, 80 by 20 characters, each after a login of the
// character in use (or alternately of one in another font, or none), while
// 32 channels hold 300 KB of text each: the GUI thread's hold for the read
// and its tick.
void BM_LoginsAndPopups(benchmark::State &state)
{
    const auto logins = popup_logins(state.range(0));
    const std::string text = game_output(SESSION_LINES);
    for (auto _ : state) {
        memory_client frame;
        tqconfig arden = *TConfig::Instance()->current_record();
        arden.name = "Arden";
        arden.font_size = other_font_points;
        TConfig::Instance()->add(arden);
        for (int i = 0; i < channels; ++i) {
            const std::string divert = with_data("chdiv", "C" + std::to_string(i));
            for (size_t at = 0; at < channel_text_bytes; at += tick_bytes)
                frame.read_and_tick(divert + text.substr(at, tick_bytes) + ";tchudiv;");
        }
        std::string read;
        for (int i = 0; i < popups; ++i)
            read += login_before_popup(logins, i) + popup_tag(i, "80 20");
        state.SetIterationTime(frame.read_and_tick(read) / 1000);
    }
}
BENCHMARK(BM_LoginsAndPopups)
    ->Arg(no_logins)
    ->Arg(same_character)
    ->Arg(two_fonts)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMillisecond);

} // namespace
