// Painting the five images of a hint button (97 x 26, a short label), as a
// label, highlight, size or theme change does; and a relayout that moves 80
// buttons, each of which then learns whether the pointer is over it.
#include "main.h"
#include "native_window.h"
#include "vusk_button.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>

#include <vector>

namespace {

constexpr int button_width = 97;
constexpr int button_height = 26;

void BM_TextButtonFiveImages(benchmark::State &state)
{
    create_global_fonts();
    wxFrame *frame = new wxFrame(nullptr, wxID_ANY, wxS("bench"));
    vusk_button *button = new vusk_button(frame, wxID_ANY);
    button->SetSize(0, 0, button_width, button_height);
    button->set_name("Go north");
    // The images are painted when the button next shows one.
    vusk_bitmap shown(button_width, button_height);
    for (auto _ : state) {
        button->redraw_bitmaps();
        button->repaint_dc(shown);
    }
    frame->Destroy();
}
BENCHMARK(BM_TextButtonFiveImages)->Unit(benchmark::kMicrosecond);

constexpr int relaid_buttons = 80;
constexpr int button_columns = 8;
constexpr int relayout_shift = 40;

// Eight columns of ten rows, all moved sideways at each relayout; the pointer
// rests over the rows, so one of the buttons lies under it each time.
void place_buttons(const std::vector<vusk_button *> &buttons, int shift)
{
    for (int i = 0; i < int(buttons.size()); ++i)
        buttons[i]->SetSize(shift + (i % button_columns) * (button_width + 2),
                            10 + (i / button_columns) * (button_height + 2), button_width, button_height);
}

void BM_RelayoutOfEightyButtons(benchmark::State &state)
{
    create_global_fonts();
    wxFrame *frame = new wxFrame(nullptr, wxID_ANY, wxS("bench"), wxPoint(0, 0), wxSize(900, 400));
    std::vector<vusk_button *> buttons;
    for (int i = 0; i < relaid_buttons; ++i) {
        buttons.push_back(new vusk_button(frame, wxID_ANY));
        buttons.back()->set_name("Go north");
    }
    place_buttons(buttons, 0);
    frame->Show();
    for (int i = 0; i < 50; ++i)
        wxTheApp->Yield(true);
    frame->WarpPointer(400, 150);
    wxTheApp->Yield(true);
    const int queries_before = pointer_spot::queries_made();
    int shift = 0;
    for (auto _ : state) {
        shift = relayout_shift - shift;
        place_buttons(buttons, shift);
        wxTheApp->ProcessPendingEvents();
    }
    state.counters["pointer queries"] =
        benchmark::Counter(pointer_spot::queries_made() - queries_before, benchmark::Counter::kAvgIterations);
    frame->Destroy();
    wxTheApp->Yield(true);
}
BENCHMARK(BM_RelayoutOfEightyButtons)->Unit(benchmark::kMicrosecond);

} // namespace
