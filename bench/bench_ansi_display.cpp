// The text display's path for server text: colour codes parsed, runs recorded,
// lines wrapped into the scrollback; and a full redraw of a recorded session.
#include "ansi_parser.h"
#include "game_output.h"
#include "global_fonts.h"
#include "render_list.h"
#include "vusk_ansi_display.h"
#include "vusk_font.h"

#include <benchmark/benchmark.h>
#include <wx/frame.h>

#include <memory>
#include <string>

namespace {
constexpr int DISPLAY_WIDTH = 800;
constexpr int DISPLAY_HEIGHT = 600;
constexpr int TEXT_POINTS = 10;

// A hidden frame holding one display with a real glyph font.
struct display_fixture {
    display_fixture()
    {
        font = std::make_unique<vusk_font>(TEXT_POINTS, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL,
                                           wxFONTWEIGHT_NORMAL);
        global_font = font.get();
        frame = new wxFrame(nullptr, wxID_ANY, wxS("bench"));
        display = new vusk_ansi_display(frame, wxID_ANY, wxS("main"));
        display->set_initial_font(font.get());
        display->SetSize(0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT);
    }
    ~display_fixture()
    {
        frame->Destroy();
        global_font = nullptr;
    }

    std::unique_ptr<vusk_font> font;
    wxFrame *frame;
    vusk_ansi_display *display;
};

void feed_in_reads(vusk_ansi_display &display, const std::string &text)
{
    ::feed_in_reads(text, [&display](const char *data, int length) { display.display_socket_data(data, length); });
}

void BM_DisplaySocketData(benchmark::State &state)
{
    display_fixture fixture;
    const std::string text = game_output(SESSION_LINES);
    for (auto _ : state) {
        feed_in_reads(*fixture.display, text);
        state.PauseTiming();
        fixture.display->clear_scrollback();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_DisplaySocketData)->Unit(benchmark::kMillisecond);

void BM_ResumeUpdates10000Lines(benchmark::State &state)
{
    display_fixture fixture;
    feed_in_reads(*fixture.display, game_output(SESSION_LINES));
    for (auto _ : state) {
        fixture.display->suspend_updates();
        fixture.display->resume_updates();
    }
}
BENCHMARK(BM_ResumeUpdates10000Lines)->Unit(benchmark::kMillisecond);

// The parser and the render list alone, without the scrollback.
struct recording_only : ansi_parser_sink {
    render_list_recorder recorder;
    void ansi_write(const char *text) override { recorder.rerender_save_string(text); }
    void ansi_set_color(int rgb, int code, int attribute) override
    {
        recorder.rerender_save_color(rgb, code, attribute);
    }
    int ansi_visible_lines() override { return 40; }
};

void BM_ParseAndRecord(benchmark::State &state)
{
    const std::string text = game_output(SESSION_LINES);
    for (auto _ : state) {
        recording_only sink;
        ansi_parser parser(sink);
        parser.parse(text.data(), static_cast<int>(text.size()));
        benchmark::DoNotOptimize(sink.recorder.records().size());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseAndRecord)->Unit(benchmark::kMillisecond);
}
