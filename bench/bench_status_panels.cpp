// What one paint of each status panel costs: the status display with every
// bar on, the status bar with its icons and sky, and a group of eight rows.
#include "builtin_images.h"
#include "global_fonts.h"
#include "vusk_font.h"
#include "vusk_group_display.h"
#include "vusk_status_bar.h"
#include "vusk_status_display.h"

#include <benchmark/benchmark.h>
#include <wx/frame.h>
#include <wx/imagpng.h>

#include <memory>
#include <string>

namespace {
constexpr int PANEL_WIDTH = 984;
constexpr int BUTTON_POINTS = 10;

// A hidden frame and the fonts and images the panels draw with.
struct panel_fixture {
    panel_fixture()
    {
        if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
            wxImage::AddHandler(new wxPNGHandler);
        construct_all_images();
        font = std::make_unique<vusk_font>(BUTTON_POINTS, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL,
                                           wxFONTWEIGHT_NORMAL);
        global_button_large_font = font.get();
        frame = new wxFrame(nullptr, wxID_ANY, wxS("bench"));
    }
    ~panel_fixture()
    {
        frame->Destroy();
        global_button_large_font = nullptr;
    }
    std::unique_ptr<vusk_font> font;
    wxFrame *frame;
};

template <class Panel> void paint_repeatedly(benchmark::State &state, Panel &panel)
{
    vusk_bitmap bitmap(panel.GetSize().x, panel.GetSize().y);
    for (auto _ : state) {
        panel.repaint_dc(bitmap);
        benchmark::ClobberMemory();
    }
}
}

static void BM_StatusDisplayPaint(benchmark::State &state)
{
    panel_fixture fixture;
    auto *display = new vusk_status_display(fixture.frame, wxID_ANY, wxS("status"));
    display->hpbar_enable = display->enemy_hpbar_enable = display->exp_display = 1;
    display->SetSize(0, 0, PANEL_WIDTH, 42);
    display->hp = 950, display->hpmax = 1200, display->enemy_percent = 40;
    display->enemy_name = "a sewer rat";
    for (int i = 0; i < 8; ++i)
        display->exp[i] = 900 - 100 * i;
    paint_repeatedly(state, *display);
}
BENCHMARK(BM_StatusDisplayPaint)->Unit(benchmark::kMicrosecond);

static void BM_StatusBarPaint(benchmark::State &state)
{
    panel_fixture fixture;
    auto *bar = new vusk_status_bar(fixture.frame, wxID_ANY, wxS("bar"));
    bar->SetSize(0, 0, PANEL_WIDTH, 21);
    bar->update_icon_display("11111");
    bar->update_sky_display("110 1 400 6:40 am");
    bar->record_ping_time(120);
    vusk_bitmap sky(bar->sky_bar.GetSize().x, bar->sky_bar.GetSize().y);
    vusk_bitmap bitmap(PANEL_WIDTH, 21);
    for (auto _ : state) {
        bar->repaint_dc(bitmap);
        bar->sky_bar.repaint_dc(sky);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StatusBarPaint)->Unit(benchmark::kMicrosecond);

static void BM_GroupDisplayPaint(benchmark::State &state)
{
    panel_fixture fixture;
    auto *group = new vusk_group_display(fixture.frame, wxID_ANY, wxS("group"));
    group->dock_state = dock_on_frame;
    group->SetSize(0, 0, 160, 1);
    std::string rows;
    for (int i = 0; i < 8; ++i)
        rows += std::to_string(10 * i) + " 100 50 80 70 90 Member" + std::to_string(i) + "\n";
    group->update(rows.c_str());
    group->SetSize(0, 0, 160, group->get_ysize());
    paint_repeatedly(state, *group);
}
BENCHMARK(BM_GroupDisplayPaint)->Unit(benchmark::kMicrosecond);
