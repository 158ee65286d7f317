// The real main frame with its button rows: where the layout puts them, how
// connecting, logging in and disconnecting set them, the theme reaching them,
// and their tags arriving through the stream path a byte at a time.
#include "gui_button_probe.h"
#include "game_server.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "tqconfig.h"
#include "vusk_command_button.h"
#include "vusk_direction_buttons.h"
#include "vusk_fkey_button.h"
#include "vusk_fkey_manager.h"
#include "vusk_hint_buttons.h"
#include "vusk_input_window.h"

#include <gtest/gtest.h>

#include <string>

using gui::client_frame;
using gui::face_of;
using gui::theme_slot;

namespace {

wxRect rect_of(wxWindow *window)
{
    return wxRect(window->GetPosition(), window->GetSize());
}

class FrameButtons : public testing::Test {
protected:
    void SetUp() override
    {
        TConfig &config = *TConfig::Instance();
        config.SetLayout(0);
        config.SetDirectionButton(1);
        config.SetHintButton(1);
        config.SetFkeyButton(1);
        config.SetButtonTheme(60);
        // The first tick tries to connect, is refused and disconnects.
        client.tick();
        size = client->GetClientSize();
    }

    vusk_direction_buttons &pad() { return *client->direction_buttons(); }
    vusk_hint_buttons &hints() { return *client->hint_buttons(); }
    vusk_fkey_manager &keys() { return *client->fkey_manager(); }

    client_frame client;
    wxSize size;
};

} // namespace

TEST_F(FrameButtons, ThePadAndTheHintsFillTheRightColumnAndTheKeysTheBottomRow)
{
    const int column = size.x - 97 - 2;
    EXPECT_EQ(rect_of(pad().button(pad_dn)), wxRect(column, 2, 48, 31));
    EXPECT_EQ(rect_of(pad().button(pad_se)), wxRect(column + 66, 2 + 99, 31, 31));
    EXPECT_TRUE(pad().button(pad_out)->IsShownOnScreen());
    // Below the pad and its gap, the first run starts 16 lower.
    EXPECT_EQ(rect_of(hints().button(1)), wxRect(column, 130 + 4 + 16, 97, 26));
    EXPECT_EQ(rect_of(keys().key(1)), wxRect(3, size.y - 46 + 3, 41, 41));
    EXPECT_EQ(rect_of(keys().key(8)), wxRect(3 + 7 * 44, size.y - 46 + 3, 41, 41));

    TConfig::Instance()->SetDirectionButton(0);
    EXPECT_FALSE(pad().button(pad_out)->IsShown());
    EXPECT_EQ(hints().button(1)->GetPosition(), wxPoint(column, 2 + 16));
    TConfig::Instance()->SetFkeyButton(0);
    EXPECT_FALSE(keys().key(1)->IsShown());
}

TEST_F(FrameButtons, DisconnectedThePadIsOffAndTheHintsOfferConnectAndQuit)
{
    EXPECT_EQ(face_of(*pad().button(pad_n)), theme_slot(24));
    EXPECT_STREQ(hints().button(1)->get_name(), "Connect");
    EXPECT_STREQ(hints().button(12)->get_name(), "Quit");
    // Each starts a run of its own: 16 below the column's top, then 33 + 16.
    EXPECT_EQ(hints().button(12)->GetPosition().y, 130 + 4 + 16 + 33 + 16);
    EXPECT_FALSE(hints().button(2)->IsShown());
}

TEST_F(FrameButtons, KeysShowTheirLabelsFromLoginToDisconnectAndKeepThem)
{
    client->process_tagged_data("bf1", "cast heal", 9);
    keys().enable_buttons(false);
    client->process_tagged_data("login", "", 0);
    EXPECT_TRUE(keys().key(1)->is_enabled());
    EXPECT_TRUE(keys().key(5)->is_enabled());
    client->socket_disconnect("Gone.");
    EXPECT_FALSE(keys().key(1)->is_enabled());
    EXPECT_STREQ(keys().key(1)->get_name(), "cast heal");
}

TEST_F(FrameButtons, TheServersConfigTagSwitchesThePadAndFlashesTheHints)
{
    client->process_tagged_data("config", "direction_buttons disable", 0);
    EXPECT_FALSE(pad().button(pad_n)->IsShown());
    client->process_tagged_data("config", "hint_buttons flash", 0);
    EXPECT_TRUE(hints().button(1)->is_flashing());
}

TEST_F(FrameButtons, AThemeChangeRepaintsTheRows)
{
    TConfig::Instance()->SetButtonTheme(2);
    EXPECT_EQ(face_of(*pad().button(pad_n)), button_theme_red[24]);
    EXPECT_EQ(face_of(*hints().button(1)), button_theme_red[3]);
    EXPECT_EQ(face_of(*keys().key(1)), button_theme_red[24]);
}

TEST(FrameButtonsConnected, ConnectingBlanksTheHintsAndPressesReachTheServerOnce)
{
    scripted_game_server server("expect torvane .*\n"
                                "send ;slogin;Tester;elogin;;sb2;Look\\nlook around;eb2;;sbf1;go;ebf1;\n"
                                "expect look around\n"
                                "expect f01\n"
                                "hold\n");
    TConfig::Instance()->SetHintButton(1);
    client_frame client(server.port());
    client->hint_buttons()->setup_button(3, "b3", "Old\nold");
    ASSERT_TRUE(client.tick_until([&] { return client->logged_in(); }));
    vusk_hint_buttons &hints = *client->hint_buttons();
    EXPECT_FALSE(hints.button(3)->IsShown());
    EXPECT_FALSE(hints.button(12)->IsShown());
    EXPECT_STREQ(hints.button(2)->get_name(), "Look");
    EXPECT_TRUE(client->fkey_manager()->key(1)->is_enabled());
    for (wxWindow *button : {static_cast<wxWindow *>(hints.button(2)), static_cast<wxWindow *>(client->fkey_manager()->key(1))}) {
        EXPECT_TRUE(gui::send_mouse(button, wxEVT_LEFT_DOWN, wxPoint(5, 5)));
        EXPECT_TRUE(gui::send_mouse(button, wxEVT_LEFT_UP, wxPoint(5, 5)));
    }
    EXPECT_TRUE(client.tick_until([&] { return server.recorded().find("f01\n") != std::string::npos; }));
    const std::string sent = server.recorded();
    EXPECT_EQ(sent.find("look around\n"), sent.rfind("look around\n"));
}

TEST_F(FrameButtons, ButtonTagsSplitAtEveryByteReachTheRows)
{
    const std::string stream = "room;sdirs;on BF;edirs;;sb3;Look\nlook around;eb3;;sbf2;\n\ncast heal;ebf2;"
                               ";tbclear;;sb5;Say\r\nsay hi;eb5;;sb3t;x\ny;eb3t;;sbf9;nine;ebf9;text";
    for (char byte : stream)
        client.receive(std::string(1, byte));
    EXPECT_EQ(face_of(*pad().button(pad_n)), theme_slot(3));
    EXPECT_EQ(face_of(*pad().button(pad_s)), theme_slot(9));
    EXPECT_FALSE(hints().button(3)->IsShown());
    EXPECT_TRUE(hints().button(5)->IsShown());
    EXPECT_STREQ(hints().button(5)->get_name(), "Say");
    EXPECT_STREQ(hints().button(5)->get_command(), "say hi");
    EXPECT_STREQ(keys().key(2)->get_name(), "cast heal");
    EXPECT_NE(client.shown_text().find("roomtext"), std::string::npos);
}
