#include "gui_client.h"

#include "command_line.h"
#include "gui_harness.h"
#include "loopback_port.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "vusk_main_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>

namespace gui {

void prepare_client()
{
    create_global_fonts();
    // Once per test: every test starts without a configuration.
    if (TConfig::Instance()->current_record() != nullptr)
        return;
    load_system_config();
    reset_theme();
}

std::string text_of(vusk_ansi_display &display)
{
    std::string text;
    for (const vusk_render_list &run : display.render_list())
        text += run.text();
    return text;
}

int refused_port()
{
    int port = 0;
    close(bound_loopback_socket(port)); // never listened on: a connect is refused
    return port;
}

client_frame::client_frame(int port)
{
    prepare_client();
    connect_address = "127.0.0.1";
    connect_port = port;
    vusk_mw *frame = new vusk_mw(wxS("Varn Ossic"), wxPoint(0, 0), wxSize(main_frame_width, main_frame_height));
    frame->stop_main_tick();
    frame_ = frame;
    EXPECT_TRUE(show_and_wait(frame)) << "the main frame did not reach the screen";
}

client_frame::~client_frame()
{
    if (alive()) {
        EXPECT_TRUE(destroy_and_wait(frame_.get()));
    }
}

void client_frame::tick(int count)
{
    for (int i = 0; i < count && alive(); ++i) {
        frame_->main_tick();
        pump_events();
    }
}

bool client_frame::tick_until(const std::function<bool()> &condition, int timeout_ms)
{
    using clock = std::chrono::steady_clock;
    const auto end = clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!condition()) {
        if (clock::now() >= end || !alive())
            return false;
        tick();
        pump_events(main_tick_ms);
    }
    return true;
}

void client_frame::receive(const std::string &bytes)
{
    frame_->stream_parser().process_socket_data(bytes.data(), static_cast<int>(bytes.size()));
}

void client_frame::type(const std::string &line)
{
    frame_->handle_async_control_command(line.c_str(), 1);
}

std::vector<client_frame::shown_run> client_frame::shown_runs() const
{
    std::vector<shown_run> runs;
    for (const vusk_render_list &record : frame_->main_display()->render_list()) {
        const bool same_colour = !runs.empty() && runs.back().r == record.r && runs.back().g == record.g &&
                                 runs.back().b == record.b && runs.back().attr == record.attr;
        if (same_colour)
            runs.back().text += record.text();
        else
            runs.push_back({std::string(record.text()), record.r, record.g, record.b, record.attr, record.code});
    }
    return runs;
}

std::string client_frame::shown_text() const
{
    std::string text;
    for (const shown_run &run : shown_runs())
        text += run.text;
    return text;
}

}
