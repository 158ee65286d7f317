// What a busy panel draws each frame, on a bitmap of the main frame's size.
#include "vusk_bitmap.h"
#include "vusk_font.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {
constexpr int FRAME_WIDTH = 984;
constexpr int FRAME_HEIGHT = 728;
constexpr int TEXT_POINTS = 10;
constexpr int LINE_LENGTH = 80;

void BM_Clear(benchmark::State &state)
{
    vusk_bitmap bitmap(FRAME_WIDTH, FRAME_HEIGHT);
    for (auto _ : state)
        bitmap.Clear(vusk_DARK_GREY);
    state.SetItemsProcessed(state.iterations() * FRAME_WIDTH * FRAME_HEIGHT);
}
BENCHMARK(BM_Clear);

void BM_FilledRectangle(benchmark::State &state)
{
    vusk_bitmap bitmap(FRAME_WIDTH, FRAME_HEIGHT);
    for (auto _ : state)
        bitmap.DrawFilledRectangle(0, 0, FRAME_WIDTH - 1, FRAME_HEIGHT - 1, vusk_BLUE);
    state.SetItemsProcessed(state.iterations() * FRAME_WIDTH * FRAME_HEIGHT);
}
BENCHMARK(BM_FilledRectangle);

void BM_YGradientRectangle(benchmark::State &state)
{
    vusk_bitmap bitmap(FRAME_WIDTH, FRAME_HEIGHT);
    for (auto _ : state)
        bitmap.DrawYGradientRectangle(0, 0, FRAME_WIDTH - 1, FRAME_HEIGHT - 1, vusk_BLACK, vusk_CYAN);
    state.SetItemsProcessed(state.iterations() * FRAME_WIDTH * FRAME_HEIGHT);
}
BENCHMARK(BM_YGradientRectangle);

// One line of text drawn over and over by `render(bitmap, font, text)`.
template <class Render>
void render_line(benchmark::State &state, Render render)
{
    vusk_font font(TEXT_POINTS, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL);
    vusk_bitmap bitmap(FRAME_WIDTH, FRAME_HEIGHT);
    std::string line;
    for (int i = 0; i < LINE_LENGTH; ++i)
        line += char('!' + i % 90);
    for (auto _ : state)
        render(bitmap, font, line.c_str());
    state.SetItemsProcessed(state.iterations() * LINE_LENGTH);
}

void BM_RenderText80(benchmark::State &state)
{
    render_line(state, [](vusk_bitmap &bitmap, const vusk_font &font, const char *text) {
        bitmap.RenderText(font, text, 4, 100, vusk_WHITE, vusk_BLACK);
    });
}
BENCHMARK(BM_RenderText80);

// How the scrollback draws: coloured text straight onto its background.
void BM_RenderTextTransparent80(benchmark::State &state)
{
    render_line(state, [](vusk_bitmap &bitmap, const vusk_font &font, const char *text) {
        bitmap.RenderTextTransparent(font, text, 4, 100, vusk_GREEN);
    });
}
BENCHMARK(BM_RenderTextTransparent80);
}
