// The real frame's menu bar: its menus, the check marks that mirror the
// configuration, and items driven through the toolkit's menu events.
#include "alsa_file_sink.h"
#include "fake_browser.h"
#include "game_server.h"
#include "global_fonts.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "menu_ids.h"
#include "temp_home.h"
#include "tqconfig.h"
#include "vote_menu.h"
#include "vusk_font.h"
#include "vusk_main_window.h"

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/fontdlg.h>
#include <wx/menu.h>
#include <wx/modalhook.h>

#include <dlfcn.h>
#include <fstream>
#include <functional>
#include <map>
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

// A menu's items as the player reads them, mnemonics marked: "-" for a
// separator, a submenu's items after its own label as "Label: item".
std::vector<std::string> item_labels(const wxMenu &menu, const std::string &prefix = "")
{
    std::vector<std::string> labels;
    for (const wxMenuItem *item : menu.GetMenuItems()) {
        const std::string label = prefix + std::string(item->GetItemLabel().To8BitData());
        labels.push_back(item->IsSeparator() ? "-" : label);
        if (item->IsSubMenu()) {
            const std::vector<std::string> inner = item_labels(*item->GetSubMenu(), label + ": ");
            labels.insert(labels.end(), inner.begin(), inner.end());
        }
    }
    return labels;
}

TEST(MainFrameMenus, EveryItemHasItsLabelAndMnemonic)
{
    client_frame client;
    const wxMenuBar &bar = *client->GetMenuBar();
    const std::vector<std::string> colours = {"Red", "Brown", "Yellow", "YGreen", "Green",
                                              "Cyan", "Blue", "Purple", "Grey"};
    const auto submenu = [](const std::string &label, const std::vector<std::string> &items) {
        std::vector<std::string> labels{label};
        for (const std::string &item : items)
            labels.push_back(label + ": " + item);
        return labels;
    };
    const auto joined = [](std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (const std::vector<std::string> &part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const std::map<std::string, std::vector<std::string>> menus = {
        {"&File", {"&Connect", "&Disconnect", "-", "&Save Logfile", "-", "C&lear Scrollback", "-", "E&xit"}},
        {"&Preferences",
         joined({submenu("Layout", {"Embedded", "Left Top", "Left Bottom"}),
                 submenu("Group Display", {"Off", "Vertical", "Horizontal"}),
                 {"&Status Bar", "S&ky Bar", "HP Bar", "Enemy HP Bar", "E&xp Bar", "Show &Color Flash Events", "-",
                  "Tabbed &Channel Window", "D&uplicate Channel Sends in Main Window", "-", "&Popup Buttons",
                  "&Function Key Buttons", "&Direction Buttons", "&Hint Buttons", "-", "Select &Last Command",
                  "&Enable Local Echo", "Command Separator", "Move Using &Number Pad", "-", "Main Scrollbar",
                  "Locking Scrollback", "Enable URL Linking", "-", "Enable Sounds", "-",
                  "Use Default Preferences"}})},
        {"&Themes",
         joined({submenu("Button Colors", colours), submenu("Background Colors", colours),
                 submenu("Background Styles", {"None", "Solid", "Maze1", "Maze2", "Bubbles"}),
                 {"Default Color/Background", "-"},
                 submenu("Font Colors", {"Default", "ZMud Font Colors", "GMud Font Colors", "Bright Font Colors"}),
                 {"Bigger Font", "Smaller Font", "Compact Font", "-", "Change &Font", "Change &Button Font"}})},
        {"&Windows", {"Not Connected"}},
        {"&Maps",
         {"&Online Maps", "-", "&Automap", "Docked Map", "-", "Big Map", "Medium Map", "Small Map", "-",
          "Increase Map Size", "Decrease Map Size"}},
        {"Online &Info",
         {"Varn Ossic &Web Site", "Player &Forums", "&Help Search", "-", "&Maps", "&Quests", "S&pells and Skills",
          "&Shops and Stores", "-", "Game &Rules", "All &Commands", "S&ocials", "F.A.&Q.", "-",
          "Recent &Changes"}},
        {"&Help",
         {"&Keyboard Shortcuts", "&Basic Commands", "&More Commands", "-", "&Check for Updates", "-", "&About"}},
    };
    for (const auto &[title, labels] : menus) {
        const int index = bar.FindMenu(wxString::From8BitData(title.c_str()));
        ASSERT_NE(index, wxNOT_FOUND) << title;
        EXPECT_EQ(item_labels(*bar.GetMenu(size_t(index))), labels) << title;
    }
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

// What GTK does when the player picks a menu item.
void activate_as_gtk_does(client_frame &client, int id)
{
    using activate_function = void (*)(GtkWidget *);
    static const auto activate = reinterpret_cast<activate_function>(dlsym(RTLD_DEFAULT, "gtk_menu_item_activate"));
    ASSERT_NE(activate, nullptr);
    activate(client->GetMenuBar()->FindItem(id)->GetMenuItem());
    wxTheApp->ProcessPendingEvents();
}

// GTK sends no event when the player picks the radio item already checked,
// and the setters take an unchanged value as nothing: either way the item
// stays checked, and neither the layout nor the server hears of it.
TEST(MainFrameMenus, TheCheckedRadioItemChosenAgainChangesNothing)
{
    client_frame client;
    TConfig &config = *TConfig::Instance();
    ASSERT_NE(config.GetLayout(), 1);
    activate_as_gtk_does(client, id_menu_view_layout_left);
    ASSERT_EQ(config.GetLayout(), 1);

    config.config_update_pending = 0;
    activate_as_gtk_does(client, id_menu_view_layout_left);
    choose(client, id_menu_view_layout_left);
    EXPECT_EQ(config.GetLayout(), 1);
    EXPECT_EQ(config.config_update_pending, 0);
    EXPECT_TRUE(checked(client, id_menu_view_layout_left));
    EXPECT_FALSE(checked(client, id_menu_view_layout_embedded));
    EXPECT_FALSE(checked(client, id_menu_view_layout_left_bottom));
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

// Answers the modal dialogs the menus open, as a player would, and notes
// each one: a font dialog with a font of its own size, any other by
// cancelling.
class dialog_answerer : public wxModalDialogHook {
public:
    static constexpr int chosen_points = 13;

    dialog_answerer() { Register(); }
    ~dialog_answerer() override { Unregister(); }

    std::vector<std::string> shown;

protected:
    int Enter(wxDialog *dialog) override
    {
        if (auto *fonts = dynamic_cast<wxFontDialog *>(dialog)) {
            fonts->GetFontData().SetChosenFont(
                wxFont(chosen_points, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL));
            shown.push_back("font dialog");
            return wxID_OK;
        }
        if (auto *files = dynamic_cast<wxFileDialog *>(dialog))
            shown.push_back(std::string(files->GetMessage().To8BitData()));
        return wxID_CANCEL;
    }
    void Exit(wxDialog *) override {}
};

wxDialog *shown_warning(const char *title)
{
    auto *dialog = dynamic_cast<wxDialog *>(wxWindow::FindWindowByLabel(wxString::FromAscii(title)));
    return dialog != nullptr && dialog->IsShown() ? dialog : nullptr;
}

// Logged in over a connection, with a popup window in the Windows menu, the
// built-in vote entries and sound that can start: every item of the bar can
// be chosen.
class EveryMenuItem : public testing::Test {
protected:
    EveryMenuItem() : server("expect torvane .*\nhold\n", 60), client(server.port()) {}

    void SetUp() override
    {
        ASSERT_TRUE(client.tick_until([&] { return !server.recorded().empty(); }));
        client.receive(";tlogin;;swindow_create;Who\nWho is on\n20 5\nwho\n;ewindow_create;");
        ASSERT_TRUE(TConfig::Instance()->GetSystemAudio());
    }

    bool server_got(const std::string &line)
    {
        return contains(server.recorded(), "\n" + line + "\n");
    }

    bool shows(const std::string &text) { return contains(client.shown_text(), text); }

    // What each plain item's handler does that can be seen; `prepare` puts
    // the client where the handler must change something.
    struct effect {
        std::function<bool()> reached;
        std::function<void()> prepare = [] {};
    };

    std::map<int, effect> plain_item_effects();

    void choose(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        client->ProcessWindowEvent(event);
    }

    // A radio item already checked shows nothing new when chosen; another
    // of its group is chosen first.
    void uncheck_radio(const wxMenuItem &item)
    {
        if (!item.IsChecked())
            return;
        for (const wxMenuItem *other : item.GetMenu()->GetMenuItems())
            if (other->IsRadio() && other != &item) {
                choose(other->GetId());
                return;
            }
    }

    void walk(wxMenu &menu, const std::string &path);

    alsa_file_sink sound_card;
    fake_browser browser;
    dialog_answerer dialogs;
    scripted_game_server server;
    client_frame client;
    std::map<int, effect> effects = plain_item_effects();
    int chosen = 0;
};

std::map<int, EveryMenuItem::effect> EveryMenuItem::plain_item_effects()
{
    TConfig &config = *TConfig::Instance();
    auto opens_pages = [this](size_t count) {
        auto before = std::make_shared<size_t>(0);
        return effect{[this, before, count] { return browser.opened().size() == *before + count; },
                      [this, before] { *before = browser.opened().size(); }};
    };
    auto map_size = [&config](int expected) {
        return effect{[&config, expected] { return config.GetAutomapSize() == expected; },
                      [&config] { config.SetAutomapSize(9); }};
    };
    auto closes_warning = [](const char *title) {
        wxDialog *dialog = shown_warning(title);
        if (dialog != nullptr)
            dialog->Show(false);
        return dialog != nullptr;
    };
    std::map<int, effect> table = {
        {id_menu_file_connect, {[this] { return shows("\nYou are already connected to the server.\n"); }}},
        {id_menu_file_disconnect, {[closes_warning] { return closes_warning("Disconnect Warning"); }}},
        {id_menu_file_logfile_save,
         {[this] { return !dialogs.shown.empty() && dialogs.shown.back() == "Save Logfile"; }}},
        {id_menu_view_clear_scrollback,
         {[this] { return shows("\n\nScrollback cleared.\n\n") && !shows("old text"); },
          [this] { client->display_write("old text"); }}},
        {id_menu_file_quit,
         {[this, closes_warning] {
             return server_got("quit -check") && closes_warning("Logoff Warning") && global_shutdown_flag == 0;
         }}},
        {id_menu_pref_default,
         {[&config] { return config.GetHintButton() == tqconfig().hint_button_enable; },
          [&config] { config.SetHintButton(config.GetHintButton() == 0 ? 1 : 0); }}},
        {id_menu_theme_default,
         {[&config] { return config.GetButtonTheme() == theme_code_yellow; },
          [&config] { config.SetButtonTheme(theme_code_red); }}},
        {id_menu_view_font_incr, {[] { return global_font->GetPointSize() == 11; }, [] { global_font_size = 10; }}},
        {id_menu_view_font_decr, {[] { return global_font->GetPointSize() == 9; }, [] { global_font_size = 10; }}},
        {id_menu_view_change_font, {[] { return global_font_size == dialog_answerer::chosen_points; }}},
        {id_menu_view_change_button_font,
         {[] { return global_button_small_font->GetPointSize() == dialog_answerer::chosen_points; }}},
        {id_menu_view_map_big, map_size(15)},
        {id_menu_view_map_med, map_size(11)},
        {id_menu_view_map_small, map_size(7)},
        {id_menu_view_map_incr, map_size(11)},
        {id_menu_view_map_decr, map_size(7)},
        {id_menu_help_kb_shortcuts, {[this] { return shows("\nF1-F12            - trigger aliases"); }}},
        {id_menu_help_mud_basic_help, {[this] { return server_got("help"); }}},
        {id_menu_help_mud_more_help, {[this] { return server_got("help me"); }}},
        {id_menu_help_update, {[this] { return server_got("update"); }}},
        {id_menu_help_about, {[this] { return server_got("version") && shows("\nVarn Ossic MUD Client Version "); }}},
        {id_menu_vote_all, opens_pages(3)},
        {id_menu_popup_reset,
         {[&config] { return config.GetPopupData("Who").x == 0; },
          [&config] {
              popup_data moved = config.GetPopupData("Who");
              moved.x = 50;
              config.SavePopupData(moved);
          }}},
    };
    // GTK checks a radio item the player picks; these handlers do not.
    for (int id : {id_menu_view_font_color_default, id_menu_view_font_color_zmud, id_menu_view_font_color_gmud,
                   id_menu_view_font_color_bright})
        table[id] = {[this] { return shows("\n\nFuture text will now use "); },
                     [this] { client->main_display()->clear_scrollback(); }};
    for (int id : {id_menu_help_web_main, id_menu_help_web_forum, id_menu_help_web_help, id_menu_help_web_maps,
                   id_menu_help_web_shops, id_menu_help_web_skills, id_menu_help_web_quests, id_menu_help_web_rules,
                   id_menu_help_web_commands, id_menu_help_web_socials, id_menu_help_web_faq,
                   id_menu_help_web_changes, id_menu_vote_1, id_menu_vote_2, id_menu_vote_3})
        table[id] = opens_pages(1);
    return table;
}

// Check and radio items show their handler's work in their own mark (a menu
// event sent by hand leaves the mark alone); every other item has its effect
// above, and an item without one fails.
void EveryMenuItem::walk(wxMenu &menu, const std::string &path)
{
    for (wxMenuItem *item : menu.GetMenuItems()) {
        const std::string label = path + " > " + std::string(item->GetItemLabelText().To8BitData());
        if (item->IsSeparator())
            continue;
        if (item->IsSubMenu()) {
            walk(*item->GetSubMenu(), label);
            continue;
        }
        SCOPED_TRACE(label);
        EXPECT_TRUE(item->IsEnabled());
        ++chosen;
        if (effects.count(item->GetId()) != 0) {
            const effect &expected = effects[item->GetId()];
            expected.prepare();
            choose(item->GetId());
            EXPECT_TRUE(client.tick_until(expected.reached, 5000));
        } else if (item->IsCheck()) {
            const bool before = item->IsChecked();
            choose(item->GetId());
            EXPECT_NE(item->IsChecked(), before);
        } else if (item->IsRadio()) {
            uncheck_radio(*item);
            EXPECT_FALSE(item->IsChecked());
            choose(item->GetId());
            EXPECT_TRUE(item->IsChecked());
        } else {
            ADD_FAILURE() << "no effect known for this item";
        }
    }
}

TEST_F(EveryMenuItem, ChosenAsAPlayerChoosesItReachesItsHandler)
{
    wxMenuBar &bar = *client->GetMenuBar();
    for (size_t i = 0; i < bar.GetMenuCount(); ++i)
        walk(*bar.GetMenu(i), std::string(bar.GetMenuLabelText(i).To8BitData()));
    // File 5, Preferences 27, Themes 33, Windows 2 (the popup and the
    // reset), Maps 8, Online Info 12, Help 5, Vote 5 (three entries).
    EXPECT_EQ(chosen, 97);
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
