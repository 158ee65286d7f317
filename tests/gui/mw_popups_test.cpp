// The real main frame with its popups and its channel window: tags through
// the stream path, the Windows menu, the text routing, the layout, and what
// disconnecting and saving leave behind.
#include "game_server.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "frame_windows.h"
#include "heap_bytes.h"
#include "menu_ids.h"
#include "popup_definition.h"
#include "popup_geometry.h"
#include "scrollback_limit.h"
#include "tqconfig.h"
#include "vusk_channel_button.h"
#include "vusk_channel_display.h"
#include "vusk_channel_paging_button.h"
#include "vusk_channel_window.h"
#include "vusk_fkey_button.h"
#include "vusk_fkey_manager.h"
#include "vusk_main_window.h"
#include "vusk_popup_button.h"
#include "vusk_popup_manager.h"
#include "vusk_popup_window.h"

#include <gtest/gtest.h>
#include <wx/menu.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

using gui::client_frame;

using gui::text_of;

namespace {

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// The lines a display's window draws: its scrollback, not the record of what
// it was sent.
std::vector<std::string> drawn_lines(const vusk_ansi_display &display)
{
    std::vector<std::string> lines;
    for (int i = 0; i <= display.textctrl().get_current_line(); ++i)
        lines.push_back(display.textctrl().line_text(i));
    return lines;
}

std::string create_tag(const std::string &name, const std::string &refresh = "look", const std::string &flags = "")
{
    return ";swindow_create;" + name + "\n" + name + " window\n20 5\n" + refresh + "\n" + flags + ";ewindow_create;";
}

class FramePopups : public testing::Test {
protected:
    void SetUp() override
    {
        TConfig &config = *TConfig::Instance();
        tqconfig record;
        record.name = "Tester";
        config.add(record);
        config.select("Tester");
        config.SetFkeyButton(1);
        config.SetPopupDisplay(1);
        // The first tick tries to connect, is refused and disconnects.
        client.tick();
    }

    vusk_popup_manager &popups() { return *client->popup_manager(); }
    vusk_channel_window &channels() { return *client->channel_window(); }
    vusk_popup_window &popup(const char *name) { return *popups().find_window(name); }

    wxMenu &windows_menu() { return *client->GetMenuBar()->GetMenu(client->GetMenuBar()->FindMenu(wxS("&Windows"))); }

    // The Windows menu's items from the top: labels, "-" for the separator.
    std::vector<std::string> windows_items()
    {
        std::vector<std::string> items;
        for (wxMenuItem *item : windows_menu().GetMenuItems())
            items.push_back(item->IsSeparator() ? "-" : std::string(item->GetItemLabel().To8BitData()));
        return items;
    }

    void choose(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        client->ProcessWindowEvent(event);
    }

    // A server naming the largest text size for every popup it may define:
    // the heap the popups take.
    size_t heap_growth_of_huge_popups()
    {
        std::string tags;
        for (int i = 0; i < popup_cap; ++i)
            tags += ";swindow_create;Huge" + std::to_string(i) + "\nHuge\n1000 1000\nlook\n\n;ewindow_create;";
        const size_t before = heap_bytes_in_use();
        client.receive(tags);
        client.tick();
        return heap_bytes_in_use() - before;
    }

    client_frame client;
};

// What the windows of heap_growth_of_huge_popups may take without their
// pictures: a little each.
constexpr size_t unopened_popups_heap = size_t(16) << 20;

// The screen the tests' popups are kept on.
constexpr int screen_width = 1280;
constexpr int screen_height = 1024;

wxSize character_size(vusk_popup_window &window)
{
    int width = 0;
    int height = 0;
    window.display.textctrl().get_character_pixel_sizes(&width, &height);
    return wxSize(width, height);
}

} // namespace

TEST_F(FramePopups, TheWindowsMenuListsPopupsNewestFirstAndTogglesThem)
{
    EXPECT_EQ(windows_items(), std::vector<std::string>{"Not Connected"});
    client.receive(create_tag("A") + create_tag("B", "look", "menuonly") + create_tag("C&D"));
    EXPECT_EQ(windows_items(), (std::vector<std::string>{"C&&D", "B", "A", "-", "&Reset Window Positions"}));
    EXPECT_EQ(client->popup_menu_count(), 3);
    choose(id_menu_popup_first);
    EXPECT_TRUE(popup("A").IsShown());
    EXPECT_TRUE(windows_menu().IsChecked(id_menu_popup_first));
    // On the screen before it is closed again.
    EXPECT_TRUE(gui::refresh_and_wait(&popup("A").display));
    choose(id_menu_popup_first + 1);
    EXPECT_TRUE(popup("B").IsShown());
    choose(id_menu_popup_first);
    EXPECT_FALSE(popup("A").IsShown());
    EXPECT_FALSE(windows_menu().IsChecked(id_menu_popup_first));

    // The reset puts every popup top left at its text size and forgets where it was.
    popup("B").SetSize(300, 200, 500, 400);
    popups().save_positions();
    choose(id_menu_popup_reset);
    EXPECT_EQ(popup("B").GetPosition(), wxPoint(0, 0));
    const wxSize glyph = character_size(popup("B"));
    EXPECT_EQ(popup("B").GetClientSize(), wxSize(20 * glyph.x, 5 * glyph.y + glyph.y / 2));
    EXPECT_EQ(TConfig::Instance()->GetPopupData("B").width, 0);
    EXPECT_EQ(TConfig::Instance()->GetPopupData("B").cols, 20);
}

TEST_F(FramePopups, TheSeventeenthPopupHasNoItemAndTheSixteenStillToggleTheirs)
{
    std::string tags;
    for (int i = 1; i <= 17; ++i)
        tags += create_tag("P" + std::to_string(i));
    client.receive(tags);
    EXPECT_EQ(popups().count(), 17);
    EXPECT_EQ(client->popup_menu_count(), 16);
    EXPECT_EQ(windows_items().front(), "P16");
    choose(id_menu_popup_last);
    EXPECT_TRUE(popup("P16").IsShown());
    EXPECT_FALSE(popup("P17").IsShown());
}

TEST_F(FramePopups, ADisconnectLeavesNoPopupAndSavesWhereTheyWere)
{
    client->process_tagged_data("login", "", 0);
    client.receive(create_tag("Who") + create_tag("Q", "q", "menuonly"));
    client->toggle_popup_window(1);
    popup("Who").Move(10, 20);
    wxTimer timer;
    wxTimerEvent save(timer);
    client->SaveTimer(save);
    EXPECT_EQ(TConfig::Instance()->GetPopupData("Who").x, 10);
    popup("Who").Move(222, 111);
    client->socket_disconnect("Gone.");
    EXPECT_EQ(popups().count(), 0);
    EXPECT_EQ(windows_items(), std::vector<std::string>{"Not Connected"});
    EXPECT_EQ(client->GetMenuBar()->FindMenu(wxS("&Windows")), 3);
    EXPECT_FALSE(windows_menu().IsEnabled(id_menu_windows_not_connected));
    const popup_data stored = TConfig::Instance()->GetPopupData("Who");
    EXPECT_EQ(stored.x, 222);
    EXPECT_EQ(stored.y, 111);
    // Logged out, the keys toggle nothing.
    client.receive(create_tag("Later"));
    client->toggle_popup_window(1);
    EXPECT_FALSE(popup("Later").IsShown());
}

// The refresh command "//disconnect" deletes every popup, the button whose
// press sent it included; it runs on the next tick, after the press.
TEST_F(FramePopups, ARefreshCommandThatDisconnectsRunsAfterThePress)
{
    client->process_tagged_data("login", "", 0);
    client.receive(create_tag("Bye", "//disconnect") + create_tag("Menu", "//disconnect", "menuonly"));
    EXPECT_TRUE(gui::send_mouse(popup("Bye").button, wxEVT_LEFT_DOWN, wxPoint(5, 5)));
    gui::pump_events();
    EXPECT_EQ(popups().count(), 2);
    client.tick();
    EXPECT_EQ(popups().count(), 0);
    EXPECT_TRUE(contains(client.shown_text(), "Disconnecting."));

    client->process_tagged_data("login", "", 0);
    client.receive(create_tag("Menu", "//disconnect", "menuonly"));
    choose(id_menu_popup_first);
    client.tick();
    EXPECT_EQ(popups().count(), 0);
    EXPECT_EQ(windows_items(), std::vector<std::string>{"Not Connected"});
}

TEST_F(FramePopups, TextDivertedOrAppendedGoesToThePopupUntilItEnds)
{
    client.receive(create_tag("Who") + "before;sdivert;Who;edivert;old;tundivert;");
    vusk_ansi_display &who = popup("Who").display;
    client.receive(";sdivert;Who;edivert;Mira\r\nPell\r\n;tundivert;after");
    EXPECT_EQ(text_of(who), "Mira\nPell\n");
    client.receive(";sappend;Who;eappend;Tobin\r\n;tunappend;");
    EXPECT_EQ(text_of(who), "Mira\nPell\nTobin\n");
    const std::string main = client.shown_text();
    EXPECT_TRUE(contains(main, "beforeafter"));
    EXPECT_FALSE(contains(main, "Mira"));
    EXPECT_FALSE(contains(main, "Sorry, no popup"));

    client.receive(";sdivert;Nobody;edivert;lost?");
    EXPECT_TRUE(contains(client.shown_text(), "Sorry, no popup window by that name has been defined.\n\nlost?"));

    // A second diversion without an undivert leaves the first popup showing
    // what it got, not frozen.
    client.receive(create_tag("Inv") + ";sdivert;Who;edivert;Ysolde\r\n;sdivert;Inv;edivert;a rope;tundivert;");
    EXPECT_EQ(text_of(who), "Ysolde\n");
    EXPECT_EQ(drawn_lines(who), (std::vector<std::string>{"Ysolde", ""}));
    EXPECT_EQ(text_of(popup("Inv").display), "a rope");

    // Popups cleared in the middle of a diversion: the rest stays in the main display.
    client.receive(";sdivert;Who;edivert;half");
    popups().clear();
    client.receive(" and the rest");
    EXPECT_TRUE(contains(client.shown_text(), " and the rest"));
}

TEST_F(FramePopups, ChannelTextFollowsTheTabbedWindowAndDuplicationSettings)
{
    TConfig &config = *TConfig::Instance();
    config.SetChannelWindow(1);
    config.SetChannelDupe(0);
    client->process_tagged_data("login", "", 0);
    client.receive(";schdiv;gossip;echdiv;one\r\n;tchudiv;plain\r\n");
    EXPECT_FALSE(contains(client.shown_text(), "one"));
    EXPECT_TRUE(contains(client.shown_text(), "plain"));
    EXPECT_TRUE(contains(text_of(*channels().find_channel("gossip")->display), "one"));
    config.SetChannelDupe(1);
    client.receive(";schdiv;gossip;echdiv;two\r\n;tchudiv;");
    EXPECT_TRUE(contains(client.shown_text(), "two"));
    config.SetChannelWindow(0);
    config.SetChannelDupe(0);
    client.receive(";schdiv;clan;echdiv;three\r\n;tchudiv;");
    EXPECT_TRUE(contains(client.shown_text(), "three"));
    EXPECT_TRUE(contains(text_of(*channels().find_channel("clan")->display), "three"));

    client.type("//chanclear");
    EXPECT_TRUE(channels().channels().empty());
    client.receive(";schdiv;auction;echdiv;four\r\n;tchudiv;");
    choose(id_menu_view_clear_scrollback);
    EXPECT_TRUE(channels().channels().empty());
}

// Logged out there is no channel window, whatever the menu says, not even
// for a moment before the layout hides it again; the login brings it.
TEST_F(FramePopups, TheTabbedChannelWindowSwitchedOnLoggedOutWaitsForTheLogin)
{
    const auto times_shown = std::make_shared<int>(0);
    for (wxWindow *part : std::initializer_list<wxWindow *>{channels().placeholder(), channels().placeholder_tab(),
                                                            channels().page_flipper()}) {
        ASSERT_FALSE(part->IsShown());
        part->Bind(wxEVT_SHOW, [times_shown](wxShowEvent &event) {
            *times_shown += event.IsShown() ? 1 : 0;
            event.Skip();
        });
    }
    const int main_top = client->main_display()->GetPosition().y;
    choose(id_menu_pref_channel_window);
    ASSERT_EQ(TConfig::Instance()->GetChannelWindow(), 1);
    EXPECT_EQ(*times_shown, 0);
    EXPECT_EQ(client->main_display()->GetPosition().y, main_top);

    client->process_tagged_data("login", "", 0);
    EXPECT_TRUE(channels().placeholder()->IsShown());
    EXPECT_GT(*times_shown, 0);
    EXPECT_GT(client->main_display()->GetPosition().y, main_top);
}

TEST_F(FramePopups, TheChannelWindowSitsAboveTheTextAndThePopupBarBesideTheKeys)
{
    TConfig::Instance()->SetChannelWindow(1);
    TConfig::Instance()->SetChannelHeight(30);
    client.receive(create_tag("Who") + ";schdiv;gossip;echdiv;x\r\n;tchudiv;");
    EXPECT_FALSE(channels().find_channel("gossip")->button->IsShown());
    client->process_tagged_data("login", "", 0);
    const wxSize size = client->GetClientSize();
    vusk_channel_display &all = *channels().find_channel("(all)")->display;
    EXPECT_TRUE(all.IsShown());
    const int main_top = client->main_display()->GetPosition().y;
    EXPECT_EQ(channels().get_h(), main_top);
    EXPECT_EQ(all.GetPosition().y + all.GetSize().GetHeight(), main_top);
    client->incr_chan_window_size();
    EXPECT_EQ(TConfig::Instance()->GetChannelHeight(), 35);
    EXPECT_EQ(channels().get_h(), client->main_display()->GetPosition().y);
    EXPECT_GT(channels().get_h(), main_top);
    // The keys start 3 inside the column; the bar's first button 4 inside the bar.
    const int column = client->fkey_manager()->key(1)->GetPosition().x - 3;
    const int keys = client->fkey_manager()->calc_min_xsize(46);
    EXPECT_EQ(popup("Who").button->GetPosition(), wxPoint(column + keys + 4, size.y - 46 + 4));
    EXPECT_TRUE(popup("Who").button->IsShown());

    client->process_tagged_data("config", "popup_buttons flash", 0);
    EXPECT_TRUE(popup("Who").button->is_flashing());
    TConfig::Instance()->SetPopupDisplay(0);
    EXPECT_FALSE(popup("Who").button->IsShown());
}

// Random names in create, divert, append and channel tags, in random chunks
// through the stream parser: the popups and channels stay within their caps.
TEST_F(FramePopups, AFloodOfRandomTagsStaysWithinTheCaps)
{
    std::mt19937 random(11);
    // Mostly a few hundred distinct names; now and then any bytes but the
    // tag delimiter, or a name far longer than any limit.
    auto name = [&] {
        std::string text(1 + random() % 3, char('a' + random() % 26));
        text += std::to_string(random() % 50);
        if (random() % 8 == 0)
            for (char &byte : text) {
                const char any = char(1 + random() % 255);
                byte = any == ';' ? '!' : any;
            }
        if (random() % 50 == 0)
            text += std::string(200, 'x');
        return text;
    };
    std::string stream;
    for (int i = 0; i < 10000; ++i) {
        switch (random() % 5) {
        case 0: stream += create_tag(name(), "", random() % 4 ? "" : "menuonly"); break;
        case 1: stream += ";sdivert;" + name() + ";edivert;text\r\n;tundivert;"; break;
        case 2: stream += ";sappend;" + name() + ";eappend;more\r\n;tunappend;"; break;
        default: stream += ";schdiv;" + name() + ";echdiv;chat\r\n;tchudiv;"; break;
        }
    }
    for (size_t at = 0; at < stream.size();) {
        const size_t length = std::min<size_t>(1 + random() % 10000, stream.size() - at);
        client.receive(stream.substr(at, length));
        at += length;
    }
    EXPECT_EQ(popups().count(), popup_cap);
    EXPECT_EQ(channels().channels().size(), size_t(channel_cap + 1));
    EXPECT_EQ(client->popup_menu_count(), 16);
    EXPECT_EQ(client->current_display(), client->main_display());
}

// A player with a 14-point font keeps every column and row that fits the
// screen: a side longer than the screen is cut to it, the other keeps all
// its text. The sizes asked for come from the font the popups got.
TEST_F(FramePopups, APopupKeepsTheSizeOfItsFontOnEachSideUpToTheScreen)
{
    global_display_xsize = screen_width;
    global_display_ysize = screen_height;
    tqconfig arden = *TConfig::Instance()->current_record();
    arden.name = "Arden";
    arden.font_size = 14;
    TConfig::Instance()->add(arden);
    client.receive(";slogin;Arden;elogin;");
    client.tick();
    client.receive(create_tag("Probe"));
    const wxSize glyph = character_size(popup("Probe"));
    ASSERT_GT(glyph.x, 0);
    ASSERT_GT(glyph.y, 0);
    const int cols = screen_width / glyph.x;
    const int rows = (screen_height - glyph.y / 2) / glyph.y;
    const wxSize full(cols * glyph.x, rows * glyph.y + glyph.y / 2);
    auto create = [this](const std::string &name, int c, int r) {
        client.receive(";swindow_create;" + name + "\n" + name + "\n" + std::to_string(c) + " " +
                       std::to_string(r) + "\nlook\n;ewindow_create;");
        return popup(name.c_str()).GetClientSize();
    };
    EXPECT_EQ(create("Fits", cols, rows), full);
    EXPECT_EQ(create("Wide", cols + 1, rows), wxSize(screen_width, full.y));
    EXPECT_EQ(create("Tall", cols, rows + 1), wxSize(full.x, screen_height));
    EXPECT_EQ(create("Huge", 1000, 1000), wxSize(screen_width, screen_height));
}

// Popups the player has not opened hold no pictures, however large their
// text; one opened later paints the text it was sent while closed.
TEST_F(FramePopups, UnopenedHugePopupsHoldNoPicturesAndPaintTheirTextWhenOpened)
{
    const size_t grown = heap_growth_of_huge_popups();
    ASSERT_EQ(popups().count(), popup_cap);
    EXPECT_LT(grown, unopened_popups_heap);

    client.receive(";sappend;Huge0;eappend;Mira waves.\r\n;tunappend;");
    choose(id_menu_popup_first);
    ASSERT_TRUE(popup("Huge0").IsShown());
    vusk_textctrl &text = popup("Huge0").display.textctrl();
    ASSERT_TRUE(gui::refresh_and_wait(&text));
    const wxImage drawn = text.backing_bitmap().ConvertToImage();
    EXPECT_EQ(drawn.GetSize(), text.GetSize());
    // The text is all that is drawn on the black ground.
    bool lit = false;
    for (int y = 0; y < drawn.GetHeight() && !lit; ++y) {
        for (int x = 0; x < drawn.GetWidth() && !lit; ++x)
            lit = gui::pixel_of(drawn, x, y) != vusk_BLACK;
    }
    EXPECT_TRUE(lit);
}

// Megabytes diverted into a popup and a channel again and again: each keeps
// its newest text up to its limit, and the memory stays with the limits.
TEST_F(FramePopups, TextFloodedIntoAPopupAndAChannelIsKeptWithinTheirLimit)
{
    TConfig &config = *TConfig::Instance();
    config.SetChannelWindow(1);
    config.SetChannelDupe(0);
    client->process_tagged_data("login", "", 0);
    client.receive(create_tag("Who") + ";schdiv;clan;echdiv;hi\r\n;tchudiv;");
    std::string block;
    int line = 0;
    for (; block.size() < (size_t(1) << 20); ++line)
        block += "\x1b[1;32mMira\x1b[0m says, 'line " + std::to_string(line) +
                 " of the flood, in words of colour' \x1b[33mand more\x1b[0m\r\n";
    constexpr size_t read_size = 10000;
    auto feed = [&](const std::string &start, const std::string &end) {
        for (size_t at = 0; at < block.size(); at += read_size)
            client.receive(start + block.substr(at, read_size) + end);
    };
    const size_t before = heap_bytes_in_use();
    constexpr int rounds = 2;
    for (int round = 0; round < rounds; ++round) {
        feed(";sappend;Who;eappend;", ";tunappend;");
        feed(";schdiv;clan;echdiv;", ";tchudiv;");
    }
    const size_t grown = heap_bytes_in_use() - before;
    const std::string newest = "'line " + std::to_string(line - 1) + " of the flood";
    const std::vector<vusk_ansi_display *> displays{&popup("Who").display, channels().find_channel("clan")->display};
    for (vusk_ansi_display *display : displays) {
        const std::string kept = text_of(*display);
        EXPECT_LE(int64_t(kept.size()), side_display_scrollback_limit.bytes);
        EXPECT_NE(kept.find(newest, kept.size() - 200), std::string::npos);
    }
    // A popup, a channel and "(all)", each within a few times its limit;
    // 4 MB went in, and "(all)" got 2 of them again.
    EXPECT_LT(int64_t(grown), 3 * 3 * side_display_scrollback_limit.bytes);
}

// A popup and a channel keep exactly their newest 8,192 lines; the next line
// drops the oldest, down to seven eighths of that.
TEST_F(FramePopups, APopupAndAChannelKeepExactly8192Lines)
{
    constexpr int kept = 8192;
    constexpr int after_trim = 7168;
    TConfig &config = *TConfig::Instance();
    config.SetChannelWindow(1);
    config.SetChannelDupe(0);
    client->process_tagged_data("login", "", 0);
    client.receive(create_tag("Who") + ";schdiv;clan;echdiv;hi\r\n;tchudiv;");
    client.tick();
    std::string lines;
    for (int i = 0; i < kept; ++i)
        lines += "line " + std::to_string(i) + "\n";
    const std::string next = "line " + std::to_string(kept) + "\n";
    const std::vector<vusk_ansi_display *> displays{&popup("Who").display, channels().find_channel("clan")->display};
    for (vusk_ansi_display *display : displays) {
        SCOPED_TRACE(std::string(display->GetName().To8BitData()));
        display->clear_scrollback();
        display->display_socket_data(lines.data(), int(lines.size()));
        const vusk_textctrl &text = display->textctrl();
        EXPECT_EQ(text.kept_lines(), kept);
        EXPECT_EQ(text.line_text(0), "line 0");
        EXPECT_EQ(text_of(*display), lines);

        display->display_socket_data(next.data(), int(next.size()));
        const int first_kept = kept + 1 - after_trim;
        EXPECT_EQ(text.kept_lines(), after_trim);
        EXPECT_EQ(text.line_text(0), "line " + std::to_string(first_kept));
        const std::string all = lines + next;
        EXPECT_EQ(text_of(*display), all.substr(all.find("line " + std::to_string(first_kept) + "\n")));
    }
}
