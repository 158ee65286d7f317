// Painting the five images of a hint button (97 x 26, a short label), as a
// label, highlight, size or theme change does.
#include "main.h"
#include "vusk_button.h"

#include <benchmark/benchmark.h>
#include <wx/frame.h>

namespace {

void BM_TextButtonFiveImages(benchmark::State &state)
{
    create_global_fonts();
    wxFrame *frame = new wxFrame(nullptr, wxID_ANY, wxS("bench"));
    vusk_button *button = new vusk_button(frame, wxID_ANY);
    button->SetSize(0, 0, 97, 26);
    button->set_name("Go north");
    for (auto _ : state)
        button->redraw_bitmaps();
    frame->Destroy();
}
BENCHMARK(BM_TextButtonFiveImages)->Unit(benchmark::kMicrosecond);

} // namespace
