// Text diverted into a channel or a popup takes the display path of the main
// display: a channel's display fed directly, the channel window writing each
// read to the channel and to "(all)", and a popup window's display.
#include "game_output.h"
#include "global_fonts.h"
#include "vusk_channel_display.h"
#include "vusk_channel_window.h"
#include "vusk_font.h"
#include "vusk_popup_manager.h"

#include <benchmark/benchmark.h>
#include <wx/frame.h>

#include <memory>
#include <string>

namespace {
constexpr int WINDOW_WIDTH = 800;
constexpr int WINDOW_HEIGHT = 600;
constexpr int TEXT_POINTS = 10;
constexpr int BUTTON_POINTS = 10;
// About 800 by 600 pixels of 10-point text.
const char popup_definition_text[] = "Bench\nBench\n100 37\n\n";

// A hidden frame holding a channel window that diverts to "gossip", and a
// popup manager with one popup.
struct channel_fixture {
    channel_fixture()
    {
        text_font = std::make_unique<vusk_font>(TEXT_POINTS, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL,
                                                wxFONTWEIGHT_NORMAL);
        button_font = std::make_unique<vusk_font>(BUTTON_POINTS, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL,
                                                  wxFONTWEIGHT_NORMAL);
        global_font = text_font.get();
        global_button_large_font = button_font.get();
        frame = new wxFrame(nullptr, wxID_ANY, wxS("bench"));
        window = std::make_unique<vusk_channel_window>(frame);
        window->SetSize(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
        window->set_divert_channel("gossip");
        popups = std::make_unique<vusk_popup_manager>(frame, wxID_ANY);
        popups->create_window(popup_definition_text);
    }
    ~channel_fixture()
    {
        popups.reset();
        window.reset();
        frame->Destroy();
        global_font = nullptr;
        global_button_large_font = nullptr;
    }

    vusk_ansi_display &channel(const char *name) { return *window->find_channel(name)->display; }
    vusk_ansi_display &popup() { return *popups->find_display("Bench"); }

    std::unique_ptr<vusk_font> text_font;
    std::unique_ptr<vusk_font> button_font;
    wxFrame *frame;
    std::unique_ptr<vusk_channel_window> window;
    std::unique_ptr<vusk_popup_manager> popups;
};

// Feeds the session to `read` on every iteration and empties `cleared`
// between iterations.
template <class Read>
void run_session(benchmark::State &state, std::initializer_list<vusk_ansi_display *> cleared, Read read)
{
    const std::string text = game_output(SESSION_LINES);
    for (auto _ : state) {
        feed_in_reads(text, read);
        state.PauseTiming();
        for (vusk_ansi_display *display : cleared)
            display->clear_scrollback();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_ChannelDisplaySocketData(benchmark::State &state)
{
    channel_fixture fixture;
    vusk_ansi_display &gossip = fixture.channel("gossip");
    run_session(state, {&gossip}, [&](const char *data, int length) { gossip.display_socket_data(data, length); });
}
BENCHMARK(BM_ChannelDisplaySocketData)->Unit(benchmark::kMillisecond);

void BM_ChannelWindowSocketData(benchmark::State &state)
{
    channel_fixture fixture;
    run_session(state, {&fixture.channel("gossip"), &fixture.channel("(all)")},
                [&](const char *data, int length) { fixture.window->display_socket_data(data, length); });
}
BENCHMARK(BM_ChannelWindowSocketData)->Unit(benchmark::kMillisecond);

void BM_PopupDisplaySocketData(benchmark::State &state)
{
    channel_fixture fixture;
    vusk_ansi_display &popup = fixture.popup();
    run_session(state, {&popup}, [&](const char *data, int length) { popup.display_socket_data(data, length); });
}
BENCHMARK(BM_PopupDisplaySocketData)->Unit(benchmark::kMillisecond);

} // namespace
