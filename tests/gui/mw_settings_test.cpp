// The golden configuration, every setting away from its default, as the real
// frame shows it in its menus and reports it to the server.
#include "alsa_file_sink.h"
#include "file_text.h"
#include "game_server.h"
#include "gui_client.h"
#include "held_disk.h"
#include "menu_ids.h"
#include "pending_writes.h"
#include "settings_table.h"
#include "stderr_capture.h"
#include "tqconfig.h"
#include "tqconfig_files.h"

#include <gtest/gtest.h>
#include <wx/menu.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using gui::client_frame;

namespace {

std::string fixture(const char *name)
{
    return read_file(std::string(VUSK_FIXTURES) + "/" + name);
}

// Arden's golden files in the fresh HOME's configuration directory, before
// the frame loads them.
void install_golden_configuration()
{
    const std::string directory = std::string(getenv("HOME")) + "/Library/Varn Ossic";
    write_file(directory + "/varn_ossic.cfg", fixture("system_config.golden"));
    write_file(directory + "/Arden.cfg", fixture("record_config.golden"));
}

// The check items the settings table describes.
struct table_check {
    int id; // 0: the setting has none
    const char *label;
    int (TConfig::*get)() const;
};

#define MENU_CHECK(setting, id, label) id, label
#define FRAME_CHECK(setting, id, label) id, label
#define MENU_RADIO(setting) 0, nullptr
#define NO_MENU 0, nullptr
#define TABLE_CHECK(Accessor, member, default_value, sanity, setter, effect, reset, status, menu, word, shortcut) \
    {menu, &TConfig::Get##Accessor},
#define INSTALLATION_CHECK(Accessor, status, menu) {menu, &TConfig::Get##Accessor},
const table_check table_checks[] = {
    VUSK_SETTINGS(VUSK_NO_ROW, VUSK_NO_ROW, VUSK_NO_ROW, TABLE_CHECK, INSTALLATION_CHECK)};

void choose(client_frame &client, int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    client->ProcessWindowEvent(event);
}

// A row whose item was never placed in a menu would show nowhere.
TEST(MainFrameSettings, EveryCheckItemOfTheTableIsInTheBarAndFlipsItsSetting)
{
    alsa_file_sink device; // sound can start, so its switch flips too
    client_frame client;
    TConfig &config = *TConfig::Instance();
    for (const table_check &check : table_checks) {
        if (check.id == 0)
            continue;
        SCOPED_TRACE(check.label);
        const wxMenuItem *item = client->GetMenuBar()->FindItem(check.id);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->IsCheckable());
        for (int flip = 0; flip < 2; ++flip) {
            const int before = (config.*check.get)();
            choose(client, check.id);
            EXPECT_EQ((config.*check.get)() != 0, before == 0);
            EXPECT_EQ(item->IsChecked(), (config.*check.get)() != 0);
        }
    }
}

struct expected_mark {
    int id;
    bool checked;
};

TEST(MainFrameSettings, EveryMenuMarkFollowsTheGoldenConfiguration)
{
    install_golden_configuration();
    client_frame client;
    ASSERT_EQ(TConfig::Instance()->GetName(), "Arden");
    const expected_mark marks[] = {
        {id_menu_view_layout_left, true},
        {id_menu_view_group_status_horizontal, true},
        {id_menu_pref_status_bar, false},
        {id_menu_pref_sky_bar, false},
        {id_menu_pref_hpbar, false},
        {id_menu_pref_enemy_hpbar, false},
        {id_menu_pref_exp_display, false},
        {id_menu_pref_colorflash, false},
        {id_menu_pref_channel_window, true},
        {id_menu_pref_channel_dupe, false},
        {id_menu_view_popup_display, false},
        {id_menu_view_fkey_buttons, true},
        {id_menu_view_direction_buttons, true},
        {id_menu_view_hint_buttons, false},
        {id_menu_view_command_pushthrough, true},
        {id_menu_view_local_echo, false},
        {id_menu_view_command_separator, false},
        {id_menu_view_keypad_walking, false},
        {id_menu_view_mw_scrollbar, false},
        {id_menu_view_locking_scrollback, true},
        {id_menu_view_url_hotlinking, false},
        {id_menu_view_audio_enable, false},
        {id_menu_theme_buttons_brown, true},
        {id_menu_theme_background_grey, true},
        {id_menu_theme_bg_bubbles, true},
        {id_menu_view_font_color_gmud, true},
        {id_menu_pref_compact_mode, true},
        {id_menu_view_automap_display, false},
        {id_menu_view_automap_docked, false},
    };
    for (const expected_mark &mark : marks)
        EXPECT_EQ(client->GetMenuBar()->IsChecked(mark.id), mark.checked) << mark.id;
}

TEST(MainFrameSettings, TheSettingsLineOfTheGoldenConfiguration)
{
    install_golden_configuration();
    scripted_game_server server("expect torvane .*\nsend ;slogin;Arden;elogin;\nhold\n");
    client_frame client(server.port());
    global_voting_reminder_enable = 0;
    const std::string expected = "\ntqlstatus 00101000000210010030 40 90  4\n";
    EXPECT_TRUE(client.tick_until([&] { return server.recorded().find(expected) != std::string::npos; }))
        << server.recorded();
}

// Characters that each change a setting, logged in by the server in reads
// of 150; the setting alternates so that each copy of the one before is a
// change.
std::string changed_logins_script(int logins, const std::string &after)
{
    std::string script = "expect torvane .*\n";
    constexpr int logins_per_send = 150;
    for (int login = 0; login < logins; ++login) {
        if (login % logins_per_send == 0)
            script += "\nsend ";
        char name[16];
        snprintf(name, sizeof name, "N%05d", login);
        script += std::string(";slogin;") + name + ";elogin;;sconfig;status_bar " +
                  (login % 2 == 0 ? "enable" : "disable") + ";econfig;";
    }
    return script + "\nsendln " + after + "\nhold\n";
}

// While the disk takes nothing, the server logs in more changed characters
// than the settings of records unloaded and the records held for the disk
// may hold together. The client stops reading until the disk catches up:
// no character's settings are lost, and the server's next line is shown.
TEST(MainFrameSettings, AFloodOfChangedLoginsWaitsForTheDiskAndLosesNoSettings)
{
    const int logins = static_cast<int>(max_only_copies) + records_waiting_for_the_disk + record_list_capacity + 300;
    const std::string after = "After the flood";
    held_disk disk;
    scripted_game_server server(changed_logins_script(logins, after), 300);
    stderr_capture said;
    {
        client_frame client(server.port());
        EXPECT_TRUE(client.tick_until(settings_writes_backlogged));
        disk.let_go();
        EXPECT_TRUE(client.tick_until([&] { return client.shown_text().find(after) != std::string::npos; }, 240000));
        save_system_config();
    }
    const std::string text = said.text();
    EXPECT_EQ(text.find("not saved"), std::string::npos) << text;
    for (int login = 0; login < logins; ++login) {
        char name[16];
        snprintf(name, sizeof name, "N%05d", login);
        // The server's word "status_bar" switches the health bars.
        const std::string shown = "<hpbar_enable>" + std::string(login % 2 == 0 ? "1" : "0") + "</hpbar_enable>";
        EXPECT_NE(read_file(config_file_path(name)).find(shown), std::string::npos) << name;
    }
}

} // namespace
