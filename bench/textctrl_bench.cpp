// The scrollback store on typical game output: 80-column lines of words in
// three colour runs each, appended run by run as the terminal window writes
// them. Appending speed, re-wrapping 100,000 lines and their memory.
#include "textctrl_store.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <random>
#include <string>
#include <vector>

namespace {
constexpr int scrollback_lines = 100000;
constexpr int line_columns = 80;
constexpr int runs_per_line = 3;
constexpr int glyph_width = 8;
constexpr int text_line_height = 14;
constexpr int wide_window = 100 * glyph_width;
constexpr int narrow_window = 50 * glyph_width;

class bench_store : public textctrl_store {
public:
    explicit bench_store(int width)
    {
        int widths[256];
        for (int i = 0; i < 256; ++i)
            widths[i] = (i >= 32 && i <= 126) ? glyph_width : 0;
        set_glyph_metrics(widths, text_line_height);
        set_view_size(width, 700);
    }

protected:
    void refresh_view() override {}
    void repaint_view() override {}
    void begin_animation() override {}
    void put_on_clipboard(const std::string &) override {}
    int url_hotlinking() const override { return 0; }
};

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

size_t bytes_of(const std::vector<coloured_run> &runs)
{
    size_t bytes = 0;
    for (const coloured_run &run : runs)
        bytes += run.text.size();
    return bytes;
}

void append_all(bench_store &store, const std::vector<coloured_run> &runs)
{
    for (const coloured_run &run : runs) {
        store.SetTextColor(run.colour, vusk_BLACK);
        store.AppendRawText(run.text.c_str());
    }
}

size_t heap_in_use()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

const std::vector<coloured_run> &corpus()
{
    static const std::vector<coloured_run> runs = game_output(scrollback_lines);
    return runs;
}
}

// The heap the store holds for 100,000 lines, its pooled chunks included;
// runs first, while the chunk pool is still empty.
static void BM_ScrollbackMemory(benchmark::State &state)
{
    const std::vector<coloured_run> &runs = corpus();
    for (auto _ : state) {
        const size_t before = heap_in_use();
        auto store = std::make_unique<bench_store>(wide_window);
        append_all(*store, runs);
        state.counters["MB"] = double(heap_in_use() - before) / (1024.0 * 1024.0);
        state.counters["slabs"] = double(chunk_allocator::slabs_in_use());
    }
}
BENCHMARK(BM_ScrollbackMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

static void BM_AppendGameOutput(benchmark::State &state)
{
    const std::vector<coloured_run> &runs = corpus();
    bench_store store(wide_window);
    for (auto _ : state) {
        state.PauseTiming();
        store.Clear();
        state.ResumeTiming();
        append_all(store, runs);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes_of(runs)));
}
BENCHMARK(BM_AppendGameOutput)->Unit(benchmark::kMillisecond);

static void BM_RewrapScrollback(benchmark::State &state)
{
    bench_store store(wide_window);
    append_all(store, corpus());
    bool narrow = false;
    for (auto _ : state) {
        narrow = !narrow;
        store.set_view_size(narrow ? narrow_window : wide_window, 700);
    }
    state.counters["lines"] = store.get_current_line();
}
BENCHMARK(BM_RewrapScrollback)->Unit(benchmark::kMillisecond);
