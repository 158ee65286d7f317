// The real frame's menu bar: its menus, the check marks that mirror the
// configuration, and items driven through the toolkit's menu events.
#include "game_server.h"
#include "global_fonts.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "menu_ids.h"
#include "temp_home.h"
#include "tqconfig.h"
#include "vusk_font.h"
#include "vusk_main_window.h"

#include <gtest/gtest.h>
#include <wx/menu.h>

#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

using gui::client_frame;

namespace {

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

void choose(client_frame &client, int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    client->ProcessWindowEvent(event);
}

bool checked(client_frame &client, int id)
{
    return client->GetMenuBar()->IsChecked(id);
}

std::string file_text(const std::string &path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

TEST(MainFrameMenus, TheBarHasItsMenusInOrder)
{
    client_frame client;
    const wxMenuBar &bar = *client->GetMenuBar();
    std::vector<std::string> titles;
    for (size_t i = 0; i < bar.GetMenuCount(); ++i)
        titles.push_back(std::string(bar.GetMenuLabel(i).To8BitData()));
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Preferences", "&Themes", "&Windows", "&Maps",
                                                "Online &Info", "&Help", "&Vote"}));
    EXPECT_FALSE(bar.IsEnabled(id_menu_windows_not_connected));
}

// A record with every switch the other way round from the defaults and theme
// codes that no menu item has.
TEST(MainFrameMenus, CheckMarksMirrorAnInvertedConfigurationAndUnknownCodes)
{
    gui::prepare_client();
    TConfig &config = *TConfig::Instance();
    tqconfig record;
    record.name = "inverted";
    for (const tqconfig_field &field : tqconfig_fields)
        if (field.number != nullptr && field.rule == sanity_rule::bit)
            record.*field.number ^= 1;
    record.current_theme = 3;
    record.current_background_theme = 77;
    record.current_layout = 0;
    config.add(record);
    config.select("inverted");
    const tqconfig defaults;

    client_frame client;
    EXPECT_EQ(checked(client, id_menu_view_hint_buttons), defaults.hint_button_enable == 0);
    EXPECT_EQ(checked(client, id_menu_pref_status_bar), defaults.status_bar == 0);
    EXPECT_EQ(checked(client, id_menu_view_url_hotlinking), defaults.url_hotlinking == 0);
    EXPECT_EQ(checked(client, id_menu_view_automap_docked), defaults.automap_docked == 0);
    EXPECT_TRUE(checked(client, id_menu_theme_buttons_blue));
    EXPECT_TRUE(checked(client, id_menu_theme_background_blue));
    EXPECT_TRUE(checked(client, id_menu_view_layout_embedded));
    EXPECT_EQ(client->GetMenuBar()->IsEnabled(id_menu_view_map_big), record.automap_display != 0);
}

TEST(MainFrameMenus, ItemsChangeTheirSettingAndCheckMark)
{
    client_frame client;
    TConfig &config = *TConfig::Instance();
    const std::pair<int, int (TConfig::*)() const> toggles[] = {
        {id_menu_pref_status_bar, &TConfig::GetStatusBar},
        {id_menu_pref_sky_bar, &TConfig::GetSkyBar},
        {id_menu_pref_hpbar, &TConfig::GetHpbarEnable},
        {id_menu_pref_enemy_hpbar, &TConfig::GetEnemyHpbarEnable},
        {id_menu_pref_exp_display, &TConfig::GetExpDisplay},
        {id_menu_pref_colorflash, &TConfig::GetColorFlash},
        {id_menu_pref_channel_window, &TConfig::GetChannelWindow},
        {id_menu_pref_channel_dupe, &TConfig::GetChannelDupe},
        {id_menu_view_popup_display, &TConfig::GetPopupDisplay},
        {id_menu_view_fkey_buttons, &TConfig::GetFkeyButton},
        {id_menu_view_direction_buttons, &TConfig::GetDirectionButton},
        {id_menu_view_hint_buttons, &TConfig::GetHintButton},
        {id_menu_view_command_pushthrough, &TConfig::GetCommandPushthrough},
        {id_menu_view_local_echo, &TConfig::GetLocalEcho},
        {id_menu_view_command_separator, &TConfig::GetCommandSeparator},
        {id_menu_view_keypad_walking, &TConfig::GetKeypadWalking},
        {id_menu_view_mw_scrollbar, &TConfig::GetMwScrollbar},
        {id_menu_view_locking_scrollback, &TConfig::GetLockingScrollback},
        {id_menu_view_url_hotlinking, &TConfig::GetUrlHotlinking},
        {id_menu_pref_compact_mode, &TConfig::GetCompactMode},
        {id_menu_view_automap_display, &TConfig::GetAutomapEnable},
        {id_menu_view_automap_docked, &TConfig::GetAutomapDocked},
    };
    for (const auto &[id, get] : toggles) {
        const int before = (config.*get)();
        choose(client, id);
        EXPECT_EQ((config.*get)() != 0, before == 0) << id;
        EXPECT_EQ(checked(client, id), (config.*get)() != 0) << id;
    }
    config.config_update_pending = 0;
    choose(client, id_menu_view_hint_buttons);
    EXPECT_EQ(config.config_update_pending, 1);

    choose(client, id_menu_view_layout_left);
    EXPECT_EQ(config.GetLayout(), 1);
    EXPECT_TRUE(checked(client, id_menu_view_layout_left));
    choose(client, id_menu_theme_buttons_purple);
    EXPECT_EQ(config.GetButtonTheme(), 80);
    choose(client, id_menu_theme_default);
    EXPECT_EQ(config.GetButtonTheme(), 0);
    EXPECT_EQ(config.GetBackgroundColor(), 70);
    EXPECT_EQ(config.GetBackgroundStyle(), 3);
    EXPECT_TRUE(checked(client, id_menu_theme_bg_maze2));

    client->main_display()->clear_scrollback();
    choose(client, id_menu_view_font_color_zmud);
    EXPECT_EQ(config.GetFontColors(), 2);
    EXPECT_TRUE(contains(client.shown_text(), "\n\nFuture text will now use ZMud-style ansi colors.\n\n"));
}

TEST(MainFrameMenus, SmallerFontStopsAtThreePoints)
{
    client_frame client;
    const int start = global_font_size;
    global_font_size = 4;
    choose(client, id_menu_view_font_decr);
    EXPECT_EQ(global_font_size, 3);
    EXPECT_EQ(global_font->GetPointSize(), 3);
    choose(client, id_menu_view_font_decr);
    EXPECT_EQ(global_font_size, 3);
    EXPECT_EQ(global_font->GetPointSize(), 3);
    choose(client, id_menu_view_font_incr);
    EXPECT_EQ(global_font->GetPointSize(), 4);
    global_font_size = start - 1;
    choose(client, id_menu_view_font_incr);
}

// A frame connected to a server that records every line.
class ConnectedMenus : public testing::Test {
protected:
    ConnectedMenus() : server("expect torvane .*\nhold\n", 60), client(server.port()) {}
    void SetUp() override { ASSERT_TRUE(client.tick_until([&] { return !server.recorded().empty(); })); }

    // Waits for the line to reach the server; false when it never came.
    bool sent(const std::string &line)
    {
        return client.tick_until([&] { return contains(server.recorded(), "\n" + line + "\n"); }, 2000);
    }

    scripted_game_server server;
    client_frame client;
};

TEST_F(ConnectedMenus, HelpAboutAndUpdatesGoToTheServerOnlyAfterLogin)
{
    client->main_display()->clear_scrollback();
    choose(client, id_menu_help_mud_basic_help);
    choose(client, id_menu_help_update);
    choose(client, id_menu_help_about);
    EXPECT_TRUE(contains(client.shown_text(),
                         "\nSorry, but in-game help isn't available until after you have logged in."));
    EXPECT_TRUE(contains(client.shown_text(), "\nSorry, you must be logged in to check for updates."));
    EXPECT_TRUE(contains(client.shown_text(), "\nVarn Ossic MUD Client Version 1.089-mac\n\nConfig directory: "));
    EXPECT_TRUE(contains(client.shown_text(), "\nUnable to retrieve server version."));
    EXPECT_FALSE(sent("help") || sent("update") || sent("version"));

    client.receive(";tlogin;");
    client->main_display()->clear_scrollback();
    for (int id : {id_menu_help_mud_more_help, id_menu_help_update, id_menu_help_about})
        choose(client, id);
    EXPECT_TRUE(sent("help me"));
    EXPECT_TRUE(sent("update"));
    EXPECT_TRUE(sent("version"));
    EXPECT_FALSE(contains(client.shown_text(), "Unable to retrieve"));
}

TEST_F(ConnectedMenus, AStatusLineSettingChangedFromTheMenuReachesTheServer)
{
    auto status_lines = [&] {
        const std::string recorded = server.recorded();
        size_t count = 0;
        for (size_t at = recorded.find("\ntqlstatus "); at != std::string::npos;
             at = recorded.find("\ntqlstatus ", at + 1))
            ++count;
        return count;
    };
    client.receive(";tlogin;");
    ASSERT_TRUE(client.tick_until([&] { return status_lines() == 1; }));
    choose(client, id_menu_view_hint_buttons);
    EXPECT_TRUE(client.tick_until([&] { return status_lines() == 2; }));
}

TEST(MainFrameMenusOffline, BasicCommandsWhileDisconnectedApologise)
{
    client_frame client;
    client.tick();
    client->main_display()->clear_scrollback();
    choose(client, id_menu_help_mud_basic_help);
    EXPECT_TRUE(contains(client.shown_text(), "\n-----------------------------------------------------"
                                              "\nYou must be connected to the server to view the in-game help."
                                              "\n(The on-line help is the same, you could try there instead.)"));
    choose(client, id_menu_file_disconnect);
    EXPECT_TRUE(contains(client.shown_text(), "\nYou are not connected to the server.\n"));
}

TEST(MainFrameLogfile, SavesAsTheFilterSaysAndReportsFailures)
{
    TempDir directory;
    client_frame client;
    client.tick();
    client->main_display()->clear_scrollback();
    client.receive("\x1b[1;31mred words\x1b[0m\r\n");

    const std::string html_name = directory.path() + "/log.html";
    client->save_logfile(wxString::FromUTF8(html_name), true);
    EXPECT_TRUE(contains(file_text(html_name), "red words"));
    EXPECT_FALSE(contains(file_text(html_name), "<"));
    EXPECT_TRUE(contains(client.shown_text(), "\n\nPlain text log saved to file '" + html_name + "'.\n\n"));

    const std::string other = directory.path() + "/caf\xc3\xa9.htm";
    client->save_logfile(wxString::FromUTF8(other), false);
    EXPECT_TRUE(contains(file_text(other), "red words"));
    EXPECT_TRUE(contains(file_text(other), "<"));

    const std::string missing = directory.path() + "/no/such/dir/log.txt";
    client->save_logfile(wxString::FromUTF8(missing), true);
    EXPECT_TRUE(contains(client.shown_text(), "\n\nError - unable to open file '" + missing +
                                                  "'.\nLogfile was not saved!\n\n"));
    client->save_logfile(wxS("/dev/full"), true);
    EXPECT_TRUE(contains(client.shown_text(), "\n\nError - writing file '/dev/full' failed."));
}

} // namespace
