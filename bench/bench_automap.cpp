// The automap's costs: parsing one map message, drawing one map into its
// picture at three cell sizes, and one animation step of the map window on
// the screen (the picture at a new offset, the player marker, the blit).
#include "automap_drawing.h"
#include "automap_model.h"
#include "vusk_automap.h"
#include "vusk_mw_calls.h"

#include "../tests/support/automap_map_text.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>

#include <string>

namespace {

// Fields and woods with a walled town, roads through it, a trail, doors,
// stairs and a diagonal road: every kind of thing the map draws.
automap_grid busy_map()
{
    automap_grid grid;
    for (int y = 1; y < automap_grid_cells; y += 2)
        for (int x = 1; x < automap_grid_cells; x += 2) {
            const bool town = x >= 7 && x <= 15 && y >= 7 && y <= 15;
            int flags = (y == 11 || (town && x == 11)) ? room_flag_road : (x == 3 ? room_flag_trail : 0);
            if (x == 9 && y == 9)
                flags |= room_flag_up;
            if (x == 13 && y == 13)
                flags |= room_flag_marker;
            automap_test::put_room(grid, x, y, town ? 10 : (x * y) % 5 ? 4 : 5, flags, 1 + (x * 7 + y * 3) % 150);
        }
    for (int i = 7; i <= 15; i += 2) {
        grid.at(i, 6).passage = passage_wall;
        grid.at(i, 16).passage = passage_wall;
        grid.at(6, i).passage = i == 11 ? passage_green_door : passage_wall;
        grid.at(16, i).passage = i == 11 ? passage_red_door : passage_wall;
    }
    for (int y = 0; y < automap_grid_cells; y += 2)
        for (int x = 0; x < automap_grid_cells; x += 2)
            automap_test::put_corner(grid, x, y, passage_wall, x + y == 22 ? passage_open : passage_wall);
    return grid;
}

class logged_in_frame : public vusk_mw_calls {
public:
    logged_in_frame() { main_window = this; }
    ~logged_in_frame() override { main_window = nullptr; }
    bool logged_in() const override { return true; }
};

void BM_AutomapParse(benchmark::State &state)
{
    const std::string text = automap_test::map_text(busy_map(), 'B');
    automap_grid grid;
    for (auto _ : state)
        benchmark::DoNotOptimize(parse_map_text(text.c_str(), int(text.size()), grid));
    state.SetBytesProcessed(state.iterations() * int64_t(text.size()));
}
BENCHMARK(BM_AutomapParse);

// What the renderer's redraw does: clear the picture, draw the map.
void BM_AutomapDraw(benchmark::State &state)
{
    const int cell = int(state.range(0));
    const automap_grid grid = busy_map();
    automap_canvas picture(automap_bitmap_size(cell) + 1, automap_bitmap_size(cell) + 1);
    for (auto _ : state) {
        picture.view().Clear(vusk_BLACK);
        draw_automap(picture.view(), grid, cell);
    }
}
BENCHMARK(BM_AutomapDraw)->Arg(7)->Arg(11)->Arg(21)->Unit(benchmark::kMicrosecond);

// One step of a slide on the screen, at the default size: the window
// repainted from the picture at a new offset and put on the display.
void BM_AutomapAnimationStep(benchmark::State &state)
{
    logged_in_frame frame;
    wxFrame *top = new wxFrame(nullptr, wxID_ANY, wxS("bench"), wxPoint(0, 0), wxSize(300, 300));
    auto *panel = new vusk_automap_display(top, wxID_ANY, wxS("main automap"));
    panel->set_size(11);
    top->Show();
    for (int i = 0; i < 50; ++i)
        wxTheApp->Yield(true);
    const std::string text = automap_test::map_text(busy_map(), 'F');
    vusk_automap_renderer &renderer = panel->renderer();
    for (auto _ : state) {
        if (!renderer.model().map_in_transition()) {
            // A new slide, its picture drawn untimed: only the steps count.
            state.PauseTiming();
            renderer.display_socket_data(text.c_str(), int(text.size()));
            renderer.redraw();
            state.ResumeTiming();
        }
        renderer.periodic_update();
    }
    top->Destroy();
    wxTheApp->Yield(true);
}
BENCHMARK(BM_AutomapAnimationStep)->Unit(benchmark::kMicrosecond);

} // namespace
