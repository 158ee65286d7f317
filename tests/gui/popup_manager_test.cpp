// The popup manager and its popup windows on a plain frame, with a fake main
// frame that records every line, menu call and queued command.
#include "gui_client.h"
#include "gui_fake_frame.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "popup_definition.h"
#include "tqconfig.h"
#include "vusk_popup_button.h"
#include "vusk_popup_manager.h"
#include "vusk_popup_window.h"

#include <gtest/gtest.h>
#include <wx/toplevel.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const char who_message[] = "Who\nWho is on\n40 20\nwho\nnoscroll nowrap";

class PopupManager : public testing::Test {
protected:
    void SetUp() override
    {
        gui::prepare_client();
        tqconfig record;
        record.name = "Tester";
        TConfig::Instance()->add(record);
        TConfig::Instance()->select("Tester");
        frame = new gui::test_frame(wxSize(640, 300));
        manager = std::make_unique<vusk_popup_manager>(frame->area, wxID_ANY);
        manager->SetSize(100, 200, 300, 46);
        ASSERT_TRUE(gui::show_and_wait(frame));
    }

    void TearDown() override
    {
        manager.reset();
        gui::pump_events();
        EXPECT_TRUE(gui::destroy_and_wait(frame));
    }

    vusk_popup_window &window(const char *name)
    {
        vusk_popup_window *found = manager->find_window(name);
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }

    static void press(wxWindow *button)
    {
        EXPECT_TRUE(gui::send_mouse(button, wxEVT_LEFT_DOWN, wxPoint(5, 5)));
        gui::pump_events();
    }

    // The calls since the last look, then forgotten.
    std::vector<std::string> calls_since()
    {
        std::vector<std::string> seen = calls.calls;
        calls.forget();
        return seen;
    }

    static wxSize text_size(vusk_popup_window &popup, int cols, int rows)
    {
        int w = 0;
        int h = 0;
        popup.display.textctrl().get_character_pixel_sizes(&w, &h);
        return wxSize(cols * w, rows * h + h / 2);
    }

    fake_frame calls;
    gui::test_frame *frame = nullptr;
    std::unique_ptr<vusk_popup_manager> manager;
};

} // namespace

TEST_F(PopupManager, TheWhoWindowOpensFromItsButtonAndTellsTheServer)
{
    manager->create_window(who_message);
    vusk_popup_window &who = window("Who");
    EXPECT_FALSE(who.IsShown());
    EXPECT_EQ(std::string(who.GetTitle().To8BitData()), "Who is on");
    EXPECT_EQ(who.GetClientSize(), text_size(who, 40, 20));
    EXPECT_FALSE(who.display.scrollbar_enabled());
    EXPECT_EQ(who.display.textctrl().wrap_enabled, 0);
    EXPECT_EQ(who.display.never_freeze, 1);
    EXPECT_EQ(who.display.textctrl().top_anchored, 1);
    ASSERT_EQ(manager->bar_buttons(), who.button);
    EXPECT_STREQ(who.button->get_name(), "Who");
    EXPECT_TRUE(who.button->IsShown());
    EXPECT_EQ(calls_since(), std::vector<std::string>{"menu add Who"});

    press(who.button);
    EXPECT_TRUE(who.IsShown());
    // On the screen before it is closed (the toolkit marks a window shown
    // again when a late map event finds it hidden).
    EXPECT_TRUE(gui::refresh_and_wait(&who.display));
    EXPECT_EQ(who.button->get_button_state(), button_down);
    // The refresh command comes last and is carried out by the next tick.
    EXPECT_EQ(calls_since(), (std::vector<std::string>{"menu check Who 1", "command tqlwindow open Who 0", "queue who"}));
    EXPECT_EQ(calls.focus_transfers_from(who.button), 1);

    // The close box only hides it.
    who.Close();
    gui::pump_events();
    EXPECT_FALSE(who.IsShown());
    EXPECT_EQ(manager->find_window("Who"), &who);
    EXPECT_EQ(who.button->get_button_state(), button_up);
    EXPECT_EQ(calls_since(), (std::vector<std::string>{"command tqlwindow close Who 0", "menu check Who 0"}));
}

TEST_F(PopupManager, BadRepeatedAndSurplusDefinitionsAreIgnored)
{
    manager->create_window(who_message);
    manager->create_window("Who\nAnother title\n10 10\nx\n");
    EXPECT_EQ(std::string(window("Who").GetTitle().To8BitData()), "Who is on");
    for (const char *bad : {"Who2\nT\n40\nwho\n", "Who3\nT\n\nwho\n", "Who4\nT\n4 4\nwho"})
        manager->create_window(bad);
    EXPECT_EQ(manager->count(), 1);

    const std::string long_name(150, 'p');
    manager->create_window((long_name + "\nT\n5 5\n\n").c_str());
    EXPECT_EQ(manager->find_window(long_name.c_str()), manager->find_window(long_name.substr(0, 99).c_str()));
    EXPECT_NE(manager->find_window(long_name.c_str()), nullptr);

    for (int i = 0; i < 40; ++i)
        manager->create_window(("P" + std::to_string(i) + "\nT\n5 5\n\n").c_str());
    EXPECT_EQ(manager->count(), popup_cap);
    EXPECT_EQ(manager->find_display("P39"), nullptr);
}

TEST_F(PopupManager, StoredSizesWinAndHugeOnesStayOnTheDisplay)
{
    popup_data stored;
    snprintf(stored.name, sizeof stored.name, "Map");
    stored.x = 30;
    stored.y = 40;
    stored.width = 300;
    stored.height = 200;
    TConfig::Instance()->SavePopupData(stored);
    manager->create_window("Map\nMap\n10 5\nmap\n");
    EXPECT_EQ(window("Map").GetSize().GetWidth(), 300);
    EXPECT_EQ(window("Map").GetPosition(), wxPoint(30, 40));
    const popup_data record = TConfig::Instance()->GetPopupData("Map");
    EXPECT_EQ(record.cols, 10);
    EXPECT_EQ(record.rows, 5);
    EXPECT_EQ(record.width, 300);

    manager->create_window("Huge\nT\n1000 1000\n\n");
    EXPECT_EQ(window("Huge").GetClientSize(), popup_display_area());
}

TEST_F(PopupManager, AWindowMostlyOffTheDisplayOpensAtFifty)
{
    manager->create_window("Wide\nT\n10 5\n\n");
    manager->create_window("Narrow\nT\n10 5\n\n");
    window("Wide").SetSize(-400, 10, 900, 200);
    window("Narrow").SetSize(-400, 10, 600, 200);
    manager->toggle_window(1);
    manager->toggle_window(2);
    EXPECT_EQ(window("Narrow").GetPosition(), wxPoint(50, 10));
    EXPECT_EQ(window("Wide").GetPosition(), wxPoint(-400, 10));
}

TEST_F(PopupManager, PositionsCountAlongTheBarThenTheMenuOnlyOnes)
{
    manager->create_window("A\nA\n5 5\na\n");
    manager->create_window("B\nB\n5 5\nb\nmenuonly");
    manager->create_window("C\nC\n5 5\nc\n");
    vusk_popup_button *c = window("C").button;
    vusk_popup_button *a = window("A").button;
    EXPECT_EQ(c->GetPosition(), wxPoint(104, 204));
    EXPECT_EQ(a->GetPosition(), wxPoint(104 + 39 + 4, 204));
    EXPECT_EQ(c->GetSize(), wxSize(39, 39));
    EXPECT_FALSE(window("B").button->IsShown());
    calls.forget();
    for (int position = 0; position <= 4; ++position)
        manager->toggle_window(position);
    EXPECT_EQ(calls.sent.size(), 3u);
    EXPECT_EQ(calls.sent[0].text, "tqlwindow open C");
    EXPECT_EQ(calls.sent[1].text, "tqlwindow open A");
    EXPECT_EQ(calls.sent[2].text, "tqlwindow open B");
}

TEST_F(PopupManager, ClearingSavesPositionsAndLeavesNothingToReach)
{
    manager->create_window(who_message);
    manager->create_window("Q\nQ\n5 5\nq\nmenuonly");
    vusk_popup_window &who = window("Who");
    vusk_ansi_display *display = &who.display;
    manager->toggle_window(1);
    who.Move(120, 130);
    calls.forget();
    wxWindow *const who_window = &who;
    manager->clear();
    EXPECT_EQ(manager->count(), 0);
    EXPECT_EQ(manager->find_window("Who"), nullptr);
    EXPECT_TRUE(calls.sent.empty());
    EXPECT_EQ(calls.forgotten_displays.size(), 2u);
    EXPECT_EQ(calls.forgotten_displays[0], display);
    EXPECT_TRUE(calls.called("menu clear"));
    const popup_data record = TConfig::Instance()->GetPopupData("Who");
    EXPECT_EQ(record.x, 120);
    EXPECT_EQ(record.y, 130);
    EXPECT_GT(record.width, 0);
    EXPECT_TRUE(gui::wait_until([&] { return wxTopLevelWindows.Find(who_window) == nullptr; }));
}
