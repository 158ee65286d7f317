// The scrollback window on typical game output: 80-column lines of words in
// three colour runs each, appended run by run as the terminal window writes
// them, with the 10-point fixed-pitch glyph font of the main display.
// Appending speed, re-wrapping and painting 100,000 lines, and their memory.
#include "heap_bytes.h"
#include "vusk_font.h"
#include "vusk_textctrl.h"

#include <benchmark/benchmark.h>
#include <wx/frame.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr int scrollback_lines = 100000;
constexpr int line_columns = 80;
constexpr int runs_per_line = 3;
constexpr int text_points = 10;
// The main display's text area in the default 984 x 728 frame, and half of it.
constexpr int wide_window = 800;
constexpr int narrow_window = 400;
constexpr int window_height = 600;

struct coloured_run {
    vusk_color colour;
    std::string text;
};

// Lines of random lower-case words, cut into runs of different colours; the
// last run of a line carries its newline.
std::vector<coloured_run> game_output(int lines)
{
    std::mt19937 random(7);
    const vusk_color palette[] = {{170, 0, 0}, {0, 170, 0}, {170, 136, 0}, {160, 160, 160}, {0, 128, 170}};
    std::vector<coloured_run> runs;
    for (int line = 0; line < lines; ++line) {
        std::string text;
        while (int(text.size()) < line_columns) {
            const int word = 2 + int(random() % 8);
            for (int i = 0; i < word; ++i)
                text += char('a' + random() % 26);
            text += ' ';
        }
        text.resize(line_columns);
        const size_t cut = line_columns / runs_per_line;
        for (int run = 0; run < runs_per_line; ++run) {
            const size_t from = run * cut;
            const size_t length = run + 1 < runs_per_line ? cut : std::string::npos;
            runs.push_back({palette[random() % std::size(palette)], text.substr(from, length)});
        }
        runs.back().text += '\n';
    }
    return runs;
}

const std::vector<coloured_run> &corpus()
{
    static const std::vector<coloured_run> runs = game_output(scrollback_lines);
    return runs;
}

size_t corpus_bytes()
{
    size_t bytes = 0;
    for (const coloured_run &run : corpus())
        bytes += run.text.size();
    return bytes;
}

// A scrollback window in a frame that is never shown.
class bench_window {
public:
    bench_window()
        : font(text_points, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL),
          frame(new wxFrame(nullptr, wxID_ANY, wxS("bench"))),
          text(new vusk_textctrl(frame, wxID_ANY, wxS("text"), wxPoint(0, 0), wxSize(wide_window, window_height), 0))
    {
        text->set_display_font(&font);
    }
    ~bench_window() { delete frame; }
    bench_window(const bench_window &) = delete;
    bench_window &operator=(const bench_window &) = delete;

    void append_corpus()
    {
        for (const coloured_run &run : corpus()) {
            text->SetTextColor(run.colour, vusk_BLACK);
            text->AppendRawText(run.text.c_str());
        }
    }

    vusk_font font;
    wxFrame *frame;
    vusk_textctrl *text;
};
}

// The heap a window's scrollback holds for 100,000 lines; best run alone, so
// that nothing freed before it is reused.
static void BM_ScrollbackMemory(benchmark::State &state)
{
    corpus();
    for (auto _ : state) {
        auto window = std::make_unique<bench_window>();
        const size_t before = heap_bytes_in_use();
        window->append_corpus();
        state.counters["MB"] = double(heap_bytes_in_use() - before) / (1024.0 * 1024.0);
    }
}
BENCHMARK(BM_ScrollbackMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

static void BM_AppendGameOutput(benchmark::State &state)
{
    bench_window window;
    for (auto _ : state) {
        state.PauseTiming();
        window.text->Clear();
        state.ResumeTiming();
        window.append_corpus();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(corpus_bytes()));
}
BENCHMARK(BM_AppendGameOutput)->Unit(benchmark::kMillisecond);

// Alternately half and full width: the narrow width breaks every line in two.
static void BM_RewrapScrollback(benchmark::State &state)
{
    bench_window window;
    window.append_corpus();
    bool narrow = false;
    for (auto _ : state) {
        narrow = !narrow;
        window.text->SetSize(narrow ? narrow_window : wide_window, window_height);
    }
}
BENCHMARK(BM_RewrapScrollback)->Unit(benchmark::kMillisecond);

// One full repaint of the window's bitmap at the end of the scrollback.
static void BM_PaintFullWindow(benchmark::State &state)
{
    bench_window window;
    window.append_corpus();
    vusk_bitmap bitmap(wide_window, window_height);
    for (auto _ : state)
        window.text->repaint_dc(bitmap);
}
BENCHMARK(BM_PaintFullWindow)->Unit(benchmark::kMillisecond);
