// The tabbed channel window on a plain frame, fed through the tag dispatcher
// as the server drives it and clicked as the player clicks it.
#include "global_fonts.h"
#include "gui_button_probe.h"
#include "gui_client.h"
#include "gui_fake_frame.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "tag_dispatch.h"
#include "vusk_channel_button.h"
#include "vusk_channel_display.h"
#include "vusk_channel_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using gui::face_of;
using gui::theme_slot;

using gui::text_of;

namespace {

int count_of(const std::string &text, const std::string &part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class ChannelWindow : public testing::Test {
protected:
    void SetUp() override
    {
        gui::prepare_client();
        current_button_theme = button_theme_green;
        frame = new gui::test_frame(wxSize(640, 300));
        window = std::make_unique<vusk_channel_window>(frame->area);
        window->SetSize(0, 0, 600, 200);
        dispatcher.owners.channels = window.get();
        ASSERT_TRUE(gui::show_and_wait(frame));
    }

    void TearDown() override
    {
        window.reset();
        EXPECT_TRUE(gui::destroy_and_wait(frame));
    }

    // One channel message as the server brackets it, and the frame's next
    // tick, which places new tabs.
    void send(const char *channel, const std::string &text)
    {
        dispatcher.process_tagged_data("chdiv", channel, 0);
        window->display_socket_data(text.data(), int(text.size()));
        dispatcher.process_tagged_data("chudiv", "", 0);
        window->place_new_channels();
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> listed;
        for (const auto &record : window->channels())
            listed.push_back(record->name);
        return listed;
    }

    channel_record &channel(const char *name) { return *window->find_channel(name); }

    // The tabs shown, as "name@x" from the left.
    std::string shown_tabs() const
    {
        std::string tabs;
        for (const auto &record : window->channels())
            if (record->button->IsShown())
                tabs += record->name + "@" + std::to_string(record->button->GetPosition().x) + " ";
        return tabs;
    }

    static void press(wxWindow *target)
    {
        EXPECT_TRUE(gui::send_mouse(target, wxEVT_LEFT_DOWN, wxPoint(3, 3)));
        gui::pump_events();
    }

    fake_frame calls;
    gui::test_frame *frame = nullptr;
    std::unique_ptr<vusk_channel_window> window;
    vusk_tag_dispatcher dispatcher;
};

} // namespace

TEST_F(ChannelWindow, TheFirstMessageMakesAllAndItsChannelEvenWhileHidden)
{
    EXPECT_EQ(window->shown_display(), window->placeholder());
    send("gossip", "Mira: plums?\r\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"(all)", "gossip"}));
    // "(all)" came first and is shown; gossip has unseen text.
    EXPECT_EQ(window->current(), &channel("(all)"));
    EXPECT_FALSE(channel("(all)").button->is_notify());
    EXPECT_TRUE(channel("gossip").button->is_notify());
    EXPECT_EQ(window->divert(), nullptr);
    EXPECT_EQ(count_of(text_of(*channel("gossip").display), "Mira: plums?"), 1);
    EXPECT_EQ(count_of(text_of(*channel("(all)").display), "Mira: plums?"), 1);
    EXPECT_FALSE(channel("gossip").button->IsShown());

    window->Show(1);
    EXPECT_TRUE(channel("(all)").display->IsShown());
    EXPECT_FALSE(channel("gossip").display->IsShown());
    // The command line's Escape and scrolling reach the shown display.
    window->set_current_channel_scrolling(0);
    EXPECT_EQ(channel("(all)").display->following, 0);
    EXPECT_EQ(window->current_channel_scrolling_enabled(), 0);
    // The looks: active on the theme's face, notify on slot 18 with red text.
    EXPECT_EQ(face_of(*channel("(all)").button), theme_slot(3));
    const vusk_bitmap notify = gui::shown_image(*channel("gossip").button);
    EXPECT_EQ(gui::pixel(notify, 4, notify.GetHeight() - 3), theme_slot(18));
    const std::string name = "gossip";
    const std::string shown = name.substr(0, size_t(vusk_image_button::get_max_char_count(
                                                 global_button_large_font, name.c_str(), notify.GetWidth(),
                                                 notify.GetHeight())));
    EXPECT_EQ(gui::label_colours(notify, theme_slot(18)),
              gui::text_colours(*global_button_large_font, shown.c_str(), theme_slot(18), vusk_RED));
}

TEST_F(ChannelWindow, TabsSortInByteOrderAndShareTheWidth)
{
    window->Show(1);
    send("newbie", "a\n");
    send("auction", "b\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"(all)", "auction", "newbie"}));
    const int width = channel("(all)").button->GetSize().GetWidth();
    EXPECT_EQ(shown_tabs(), "(all)@1 auction@" + std::to_string(1 + width + 2) + " newbie@" +
                                std::to_string(1 + 2 * (width + 2)) + " ");
    // The channel display starts under the tabs and its frame is open under its own tab.
    vusk_channel_display &all = *channel("(all)").display;
    const int tab_height = channel("(all)").button->GetSize().GetHeight();
    EXPECT_EQ(all.GetPosition().y, 1 + tab_height);
    vusk_bitmap bitmap(all.GetSize().GetWidth(), all.GetSize().GetHeight());
    all.repaint_dc(bitmap);
    EXPECT_EQ(gui::pixel(bitmap, width / 2, 0), vusk_BLACK);
    EXPECT_EQ(gui::pixel(bitmap, width + 20, 0), vusk_WHITE);
    EXPECT_EQ(gui::pixel(bitmap, 0, 40), vusk_WHITE);
}

TEST_F(ChannelWindow, PressingATabShowsItAndForgetsItsUnseenText)
{
    window->Show(1);
    send("gossip", "one\n");
    ASSERT_TRUE(channel("gossip").button->is_notify());
    press(channel("gossip").button);
    EXPECT_EQ(window->current(), &channel("gossip"));
    EXPECT_FALSE(channel("gossip").button->is_notify());
    EXPECT_TRUE(channel("gossip").display->IsShown());
    EXPECT_FALSE(channel("(all)").display->IsShown());
    EXPECT_EQ(face_of(*channel("(all)").button), theme_slot(18));
    // Text for the shown tab marks nothing; "(all)" now has unseen text.
    send("gossip", "two\n");
    EXPECT_FALSE(channel("gossip").button->is_notify());
    EXPECT_TRUE(channel("(all)").button->is_notify());
}

TEST_F(ChannelWindow, TabsMoveBetweenPagesAndEachPageKeepsItsShownTab)
{
    window->Show(1);
    send("auction", "a\n");
    send("newbie", "n\n");
    // The shown tab moves away: the first one left on this page is shown.
    press(&channel("(all)").button->paging_button);
    EXPECT_EQ(channel("(all)").page, 1);
    EXPECT_EQ(window->current(), &channel("auction"));
    EXPECT_EQ(shown_tabs(), "auction@1 newbie@" + std::to_string(1 + channel("auction").button->GetSize().x + 2) + " ");
    press(&channel("auction").button->paging_button);
    press(&channel("newbie").button->paging_button);
    EXPECT_EQ(shown_tabs(), "");
    EXPECT_TRUE(window->placeholder_tab()->IsShown());
    EXPECT_TRUE(window->placeholder()->IsShown());
    EXPECT_NE(text_of(*window->placeholder()).find("there are no channel sends to display yet"), std::string::npos);

    press(window->page_flipper());
    EXPECT_EQ(window->page(), 1);
    EXPECT_EQ(window->page_flipper()->get_button_state(), button_down);
    EXPECT_FALSE(window->placeholder_tab()->IsShown());
    EXPECT_EQ(shown_tabs().substr(0, 8), "(all)@1 ");
    press(channel("newbie").button);
    press(window->page_flipper());
    press(window->page_flipper());
    EXPECT_EQ(window->current(), &channel("newbie"));
}

TEST_F(ChannelWindow, ClearingRemovesEveryTabAndTheNextMessageMakesAllAgain)
{
    window->Show(1);
    send("gossip", "x\n");
    window->clear();
    EXPECT_TRUE(window->channels().empty());
    EXPECT_EQ(window->current(), nullptr);
    EXPECT_TRUE(window->placeholder_tab()->IsShown());
    // A clear in the middle of a message drops the rest of it.
    dispatcher.process_tagged_data("chdiv", "gossip", 0);
    window->clear();
    window->display_socket_data("lost\n", 5);
    EXPECT_TRUE(window->channels().empty());
    send("clan", "y\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"(all)", "clan"}));
}

TEST_F(ChannelWindow, LongNamesAreOneChannelTheCapHoldsAndAllGetsTextOnce)
{
    const std::string long_name(60, 'L');
    send(long_name.c_str(), "first\n");
    send((long_name + "different tail").c_str(), "second\n");
    EXPECT_EQ(names().size(), 2u);
    EXPECT_EQ(names()[1], long_name.substr(0, 39));

    send("(all)", "to all\n");
    EXPECT_EQ(count_of(text_of(*channel("(all)").display), "to all"), 1);

    for (int i = 0; i < 40; ++i)
        send(("c" + std::to_string(i)).c_str(), "chatter " + std::to_string(i) + "\n");
    EXPECT_EQ(window->channels().size(), size_t(channel_cap + 1));
    EXPECT_EQ(window->find_channel("c39"), nullptr);
    EXPECT_EQ(count_of(text_of(*channel("(all)").display), "chatter 39"), 1);
}
