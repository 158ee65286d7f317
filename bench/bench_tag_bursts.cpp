// What one read of a single tag, repeated, costs the GUI thread: a block of
// 10,000 bytes (all a tick takes in) of each tag the dispatcher knows goes
// through the real main frame's stream parser, followed by the tick that
// carries out what the tags marked. A server must not be able to stall the
// client with any of them.
#include "gui_client.h"
#include "gui_harness.h"
#include "tag_text.h"
#include "temp_home.h"
#include "tqconfig.h"
#include "vusk_automap.h"
#include "vusk_channel_window.h"
#include "vusk_popup_manager.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr size_t block_bytes = 10000;
constexpr int worst_case_runs = 5;
constexpr int different_font_points = 14;

// The tags, over and over in this order, as far as they fit in one block.
std::string block_of(const std::vector<std::string> &tags)
{
    std::string block;
    for (size_t i = 0;; ++i) {
        const std::string &tag = tags[i % tags.size()];
        if (block.size() + tag.size() > block_bytes)
            return block;
        block += tag;
    }
}

std::string config_toggle(const std::string &command)
{
    return block_of({with_data("config", command + " disable"), with_data("config", command + " enable")});
}

std::string group_of(int members)
{
    std::string rows;
    for (int i = 0; i < members; ++i)
        rows += std::to_string(10 * i) + " 100 50 80 70 90 Member" + std::to_string(i) + "\n";
    return rows;
}

// A map message of a small walled square with a road through it, after the
// move letter ('@' for none).
std::string map_message(char move)
{
    std::string text(1, move);
    for (int block = 0; block < 5; ++block)
        for (int row = 0; row < 11; ++row)
            text += std::string(block == 4 ? 44 : 11, block == 4 ? 'D' : 'A' + (row % 3)) + "\n";
    return text + "@";
}

std::string popup_definition(const std::string &name)
{
    return name + "\n" + name + " window\n40 10\nlook\n";
}

// Distinct names for things the server may create, up to their caps.
std::string block_of_new(const std::string &tag, const std::function<std::string(const std::string &)> &data)
{
    std::vector<std::string> tags;
    for (int i = 0; tags.size() < block_bytes; ++i)
        tags.push_back(with_data(tag, data("N" + std::to_string(i))));
    return block_of(tags);
}

struct tag_case {
    std::string name;
    std::string block;
    // Undoes what the last block created, untimed.
    std::function<void(vusk_mw &frame)> before = [](vusk_mw &) {};
};

// The automap's sizes: the default and the largest, whose every repaint
// covers a window of over a million pixels.
constexpr int automap_cells[] = {11, automap_size_max};

// The map at a size, at rest with nothing waiting, with the pointer over it
// (the compass shown) or not.
void prepare_automap(vusk_mw &frame, int cells, bool hovered)
{
    frame.automap_display()->full_clear();
    frame.set_automap_size(cells);
    frame.resize();
    wxMouseEvent crossing(hovered ? wxEVT_ENTER_WINDOW : wxEVT_LEAVE_WINDOW);
    frame.automap_display()->renderer().GetEventHandler()->ProcessEvent(crossing);
}

// A block of the automap's tags at each of its sizes.
void add_automap_cases(std::vector<tag_case> &cases, const std::string &name, const std::string &block,
                       bool hovered = false)
{
    for (int cells : automap_cells)
        cases.push_back({name + "_" + std::to_string(cells), block,
                         [cells, hovered](vusk_mw &frame) { prepare_automap(frame, cells, hovered); }});
}

// Every tag of the dispatcher's table and its prefixed ones, with data as a
// server sends it; settings the server may switch go off and on.
std::vector<tag_case> tag_cases()
{
    std::vector<tag_case> cases = {
        {"login", block_of({with_data("login", "Tester")})},
        {"login_two_fonts", block_of({with_data("login", "Arden"), with_data("login", "Tester")})},
        {"uuid", block_of({with_data("uuid", "0123456789abcdef0123456789abcdef")})},
        {"enemyhp", block_of({with_data("enemyhp", "75 a goblin"), with_data("enemyhp", "40 an orc")})},
        {"group", block_of({with_data("group", group_of(8)), with_data("group", group_of(2))})},
        {"group_shown_hidden", block_of({with_data("group", group_of(1)), with_data("group", "")})},
        {"xpp", block_of({with_data("xpp", "10 20 30 40 50 60 70 80"), with_data("xpp", "1 2 3")})},
        {"event_colorflash", block_of({with_data("event", "colorflash 000000 402020 5")})},
        {"event_tqpong", block_of({with_data("event", "tqpong")})},
        {"hp", block_of({with_data("hp", "100 120 50 60 70 80"), with_data("hp", "90 120 40 60 70 80")})},
        {"sound", block_of({with_data("sound", "bump")})},
        {"bclear", block_of({without_data("bclear")})},
        {"window_create", block_of({with_data("window_create", popup_definition("Who")),
                                    with_data("window_create", popup_definition("Quests"))})},
        {"window_create_new", block_of_new("window_create", popup_definition),
         [](vusk_mw &frame) { frame.popup_manager()->clear(); }},
        {"divert", block_of({with_data("divert", "Who"), "who is here\n", without_data("undivert")})},
        {"append", block_of({with_data("append", "Who"), "one more\n", without_data("unappend")})},
        {"chdiv", block_of({with_data("chdiv", "gossip"), "[gossip] hi\n", without_data("chudiv")})},
        {"chdiv_new", block_of_new("chdiv", [](const std::string &name) { return name; }),
         [](vusk_mw &frame) { frame.channel_window()->clear(); }},
        {"config_status_bar", config_toggle("status_bar")},
        {"config_automap", config_toggle("automap")},
        {"config_hint_buttons", config_toggle("hint_buttons")},
        {"config_fkey_buttons", config_toggle("fkey_buttons")},
        {"config_popup_buttons", config_toggle("popup_buttons")},
        {"config_direction_buttons", config_toggle("direction_buttons")},
        {"config_exp_bar", config_toggle("exp_bar")},
        {"config_flash", block_of({with_data("config", "automap flash"), with_data("config", "hint_buttons flash"),
                                   with_data("config", "status_bar flash"),
                                   with_data("config", "popup_buttons flash"),
                                   with_data("config", "main_window flash"),
                                   with_data("config", "input_window flash")})},
        {"skystate", block_of({with_data("skystate", "110 1 400 6:40 am"), with_data("skystate", "20 2 90 dusk")})},
        {"icons", block_of({with_data("icons", "10101"), with_data("icons", "01010")})},
        {"votemenu", block_of({with_data("votemenu3", "Vote here\nhttp://127.0.0.1/vote")})},
        {"b", block_of({with_data("b3", "Look\nlook around"), with_data("b5", "North\nnorth")})},
        {"bf", block_of({with_data("bf2", "Go\ngo"), with_data("bf5", "Stop\nstop")})},
    };
    // The map's own: maps that move wait for the slide, maps without a move
    // (a letter of none, or no text at all) replace each other at once.
    add_automap_cases(cases, "map", block_of({with_data("map", map_message('A'))}));
    add_automap_cases(cases, "map_no_move", block_of({with_data("map", map_message('@'))}));
    add_automap_cases(cases, "map_empty", block_of({with_data("map", "@"), with_data("map", "")}));
    add_automap_cases(cases, "map_mixed", block_of({with_data("map", map_message('@')), with_data("map", ""),
                                                    with_data("map", map_message('C'))}));
    add_automap_cases(cases, "walkfail", block_of({with_data("walkfail", "2")}));
    add_automap_cases(cases, "dirs", block_of({with_data("dirs", "on AE"), with_data("dirs", "off BC")}));
    add_automap_cases(cases, "areaname",
                      block_of({with_data("areaname", "The Hollow Wood"), with_data("areaname", "A Town")}));
    add_automap_cases(cases, "dirs_hovered", block_of({with_data("dirs", "on AE"), with_data("dirs", "off BC")}),
                      true);
    add_automap_cases(cases, "combat", block_of({without_data("combat"), without_data("ncombat")}));
    // Last: each name adds a configuration, up to the cap.
    cases.push_back({"login_new_names", block_of_new("login", [](const std::string &name) { return name; })});
    return cases;
}

// A logged-in player's frame in a HOME of its own, every panel on and the
// channel window full, its main timer stopped: the benchmark runs the ticks.
// Two configurations differ in their text font.
class burst_client {
public:
    burst_client()
    {
        TConfig &config = *TConfig::Instance();
        client_ = std::make_unique<gui::client_frame>();
        // As the program's start-up notes it, for the popups placed in it.
        const wxRect area = wxGetClientDisplayRect();
        global_display_xsize = area.GetWidth();
        global_display_ysize = area.GetHeight();
        config.SetDirectionButton(1);
        config.SetFkeyButton(1);
        config.SetChannelWindow(1);
        client_->tick();
        client_->receive(with_data("login", "Arden"));
        client_->tick();
        config.get("Arden")->font_size = different_font_points;
        client_->receive(with_data("login", "Tester") + with_data("window_create", popup_definition("Who")) +
                         block_of_new("chdiv", [](const std::string &name) { return name; }) +
                         without_data("chudiv"));
        client_->tick();
    }

    // Other benchmarks of this program change the globals the frame uses.
    void take_over()
    {
        main_window = &**client_;
        create_global_fonts();
    }

    double seconds_for(const tag_case &burst)
    {
        burst.before(**client_);
        client_->tick();
        const std::string &block = burst.block;
        const auto start = std::chrono::steady_clock::now();
        client_->receive(block);
        client_->tick();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

private:
    TempHome home_;
    std::unique_ptr<gui::client_frame> client_;
};

// Lives until the program exits: the toolkit ends before static objects do.
burst_client &client()
{
    static burst_client *const instance = new burst_client;
    instance->take_over();
    return *instance;
}

void BM_TagBurst(benchmark::State &state, const tag_case &burst)
{
    burst_client &frame = client();
    for (auto _ : state)
        state.SetIterationTime(frame.seconds_for(burst));
    state.SetBytesProcessed(state.iterations() * int64_t(burst.block.size()));
}

// The slowest tag, each taken at the median of a few blocks.
void BM_TagBurstWorst(benchmark::State &state)
{
    burst_client &frame = client();
    double worst = 0;
    std::string worst_name;
    for (auto _ : state) {
        for (const tag_case &burst : tag_cases()) {
            std::vector<double> runs;
            for (int run = 0; run < worst_case_runs; ++run)
                runs.push_back(frame.seconds_for(burst));
            std::nth_element(runs.begin(), runs.begin() + worst_case_runs / 2, runs.end());
            if (runs[worst_case_runs / 2] > worst) {
                worst = runs[worst_case_runs / 2];
                worst_name = burst.name;
            }
        }
    }
    state.counters["worst_ms"] = worst * 1000;
    state.SetLabel(worst_name);
}

const bool registered = [] {
    for (const tag_case &burst : tag_cases())
        benchmark::RegisterBenchmark((std::string("BM_TagBurst/") + burst.name).c_str(), BM_TagBurst, burst)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_TagBurstWorst", BM_TagBurstWorst)->Iterations(1)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
