// Bursts of tags through the real frame's stream path: the layouts, themes,
// fonts, title and vote menu they ask for are done once, by the next tick,
// and leave the frame as one such tag would have.
#include "global_fonts.h"
#include "gui_button_probe.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "tqconfig.h"
#include "vusk_automap_outer.h"
#include "vusk_button.h"
#include "vusk_channel_button.h"
#include "vusk_channel_window.h"
#include "vusk_direction_buttons.h"
#include "vusk_font.h"
#include "vusk_hint_buttons.h"
#include "vusk_main_window.h"
#include "vusk_popup_manager.h"
#include "vusk_popup_window.h"
#include "vusk_textctrl.h"

#include <gtest/gtest.h>
#include <wx/menu.h>

#include <array>
#include <string>
#include <vector>

using gui::client_frame;

namespace {

// "dirs" with the word AE.
constexpr int exit_mask_east = 4;

std::string with_data(const std::string &tag, const std::string &data)
{
    return ";s" + tag + ";" + data + ";e" + tag + ";";
}

std::string config(const std::string &command, const std::string &argument)
{
    return with_data("config", command + " " + argument);
}

std::string login(const std::string &name)
{
    return with_data("login", name);
}

std::string repeated(const std::string &tags, int times)
{
    std::string burst;
    for (int i = 0; i < times; ++i)
        burst += tags;
    return burst;
}

std::string popup(const std::string &name)
{
    return with_data("window_create", name + "\nPopup " + name + "\n20 5\nlook\n");
}

// The player drags the mouse over all the display shows.
void select_everything_shown(vusk_textctrl &text)
{
    const wxSize size = text.GetClientSize();
    text.handle_mouse({textctrl_mouse_event::left_press, 0, 0});
    text.handle_mouse({textctrl_mouse_event::motion, size.x - 1, size.y - 1, true});
    text.handle_mouse({textctrl_mouse_event::left_release, size.x - 1, size.y - 1});
}

std::array<int, 3> glyph_builds()
{
    return {global_font->glyph_builds(), global_button_small_font->glyph_builds(),
            global_button_large_font->glyph_builds()};
}

int text_line_height(client_frame &client)
{
    int height = 0;
    client->main_display()->textctrl().get_character_pixel_sizes(nullptr, &height);
    return height;
}

// Every window the player sees inside `parent`: where it is, and for a
// button its state, face and label; of its own frames (the automap's), only
// that they show. Hidden windows keep whatever place they had last; only the
// next layout that shows them counts.
void describe(wxWindow &parent, std::vector<std::string> &out)
{
    for (wxWindow *child : parent.GetChildren()) {
        if (!child->IsShown())
            continue;
        if (child->IsTopLevel()) {
            out.push_back(std::string(child->GetName().To8BitData()) + " open");
            continue;
        }
        const wxRect r = child->GetRect();
        std::string line = std::string(child->GetName().To8BitData()) + " " + std::to_string(r.x) + "," +
                           std::to_string(r.y) + " " + std::to_string(r.width) + "x" + std::to_string(r.height);
        if (auto *button = dynamic_cast<vusk_image_button *>(child)) {
            const vusk_color face = gui::face_of(*button);
            line += " state " + std::to_string(button->get_button_state()) + " face " + std::to_string(face.r) +
                    "," + std::to_string(face.g) + "," + std::to_string(face.b);
        }
        if (auto *button = dynamic_cast<vusk_button *>(child))
            line += std::string(" '") + button->get_name() + "'";
        out.push_back(line);
        describe(*child, out);
    }
}

std::vector<std::string> placements(client_frame &client)
{
    std::vector<std::string> out;
    describe(*client, out);
    return out;
}

std::vector<std::string> vote_menu_labels(client_frame &client)
{
    std::vector<std::string> labels;
    wxMenuBar &bar = *client->GetMenuBar();
    for (const wxMenuItem *item : bar.GetMenu(size_t(bar.FindMenu(wxS("Vote"))))->GetMenuItems())
        labels.push_back(item->IsSeparator() ? "-" : std::string(item->GetItemLabel().To8BitData()));
    return labels;
}

// A player logged in as Tester; the configuration Arden differs only in its
// text font.
class TagBursts : public testing::Test {
protected:
    void SetUp() override
    {
        TConfig &config = *TConfig::Instance();
        config.SetDirectionButton(1);
        config.SetFkeyButton(1);
        client.tick();
        client.receive(login("Tester"));
        client.tick();
        tqconfig arden = *config.current_record();
        arden.name = "Arden";
        arden.font_size = global_font->GetPointSize() + 4;
        config.add(arden);
    }

    // Arden's font and back to Tester's, then text on the main display,
    // selected by the player.
    vusk_textctrl &text_selected_after_a_font_and_back()
    {
        client.receive(login("Arden"));
        client.tick();
        client.receive(login("Tester"));
        client.tick();
        client.receive("Mira waves.\r\nMira smiles.\r\n");
        client.tick();
        vusk_textctrl &text = client->main_display()->textctrl();
        select_everything_shown(text);
        return text;
    }

    client_frame client;
};

} // namespace

TEST_F(TagBursts, LoginsThatKeepTheFontsRebuildNoGlyph)
{
    const std::array<int, 3> before = glyph_builds();
    client.receive(repeated(login("Tester"), 300));
    client.tick();
    EXPECT_EQ(glyph_builds(), before);
    EXPECT_EQ(client->GetTitle(), wxS("Varn Ossic - Player Tester"));
}

TEST_F(TagBursts, LoginsThatEndInAnotherFontRebuildItOnceAtTheTick)
{
    const std::array<int, 3> before = glyph_builds();
    const int points = global_font->GetPointSize();
    const int line_height = text_line_height(client);
    client.receive(repeated(login("Arden") + login("Tester"), 150) + login("Arden"));
    EXPECT_EQ(glyph_builds(), before);
    EXPECT_EQ(client->GetTitle(), wxS("Varn Ossic - Player Tester"));

    client.tick();
    EXPECT_EQ(glyph_builds(), (std::array<int, 3>{before[0] + 1, before[1], before[2]}));
    EXPECT_EQ(global_font->GetPointSize(), points + 4);
    EXPECT_GT(text_line_height(client), line_height);
    EXPECT_EQ(client->GetTitle(), wxS("Varn Ossic - Player Arden"));
    EXPECT_EQ(TConfig::Instance()->GetName(), "Arden");
}

// Logins of the character in use, each before a new popup, and one in a
// read of its own: no display lays its text out again, so the player's
// selection stays. So also after the font has changed and changed back.
TEST_F(TagBursts, LoginsThatKeepTheFontReWrapNoText)
{
    vusk_textctrl &text = text_selected_after_a_font_and_back();
    ASSERT_TRUE(text.has_mouse_selection());
    const int resyncs = client->text_font_resyncs();
    const std::array<int, 3> builds = glyph_builds();

    std::string read;
    for (int i = 0; i < 8; ++i)
        read += login("Tester") + popup("P" + std::to_string(i));
    client.receive(read);
    client.tick();
    client.receive(login("Tester"));
    client.tick();
    EXPECT_EQ(client->popup_manager()->count(), 8);
    EXPECT_EQ(client->text_font_resyncs(), resyncs);
    EXPECT_EQ(glyph_builds(), builds);
    EXPECT_TRUE(text.has_mouse_selection());
}

// Back to a font of a few logins ago: its glyphs are taken again, not drawn,
// and the displays lay their text out in it once, at the tick, as a popup of
// the read is sized in it.
TEST_F(TagBursts, ALoginBackToARecentFontReWrapsOnceAtTheTick)
{
    vusk_popup_manager &popups = *client->popup_manager();
    client.receive(login("Arden"));
    client.tick();
    const int arden_line_height = text_line_height(client);
    client.receive(popup("Alone"));
    client.tick();
    client.receive(login("Tester"));
    client.tick();
    const int tester_line_height = text_line_height(client);
    ASSERT_NE(arden_line_height, tester_line_height);
    const std::array<int, 3> builds = glyph_builds();
    const int resyncs = client->text_font_resyncs();

    client.receive(login("Arden") + popup("Again"));
    EXPECT_EQ(text_line_height(client), tester_line_height);
    client.tick();
    EXPECT_EQ(client->text_font_resyncs(), resyncs + 1);
    EXPECT_EQ(text_line_height(client), arden_line_height);
    EXPECT_EQ(popups.find_window("Again")->GetClientSize(), popups.find_window("Alone")->GetClientSize());
    EXPECT_EQ(glyph_builds(), builds);
}

// A font switched away and back within one read leaves the text laid out as
// it was (the player's selection stays); a popup made in the other font
// takes the font the read ends in.
TEST_F(TagBursts, AFontSwitchedAwayAndBackInOneReadReWrapsOnlyWhatTookTheOther)
{
    vusk_textctrl &text = text_selected_after_a_font_and_back();
    ASSERT_TRUE(text.has_mouse_selection());
    const int line_height = text_line_height(client);

    client.receive(login("Arden") + popup("P") + login("Tester"));
    client.tick();
    EXPECT_TRUE(text.has_mouse_selection());
    EXPECT_EQ(text_line_height(client), line_height);
    int popup_line_height = 0;
    client->popup_manager()->find_window("P")->display.textctrl().get_character_pixel_sizes(nullptr,
                                                                                          &popup_line_height);
    EXPECT_EQ(popup_line_height, line_height);
}

// Compact mode draws the text a pixel lower: a login into a record that
// switches it lays the text out anew, the font being the same.
TEST_F(TagBursts, ALoginThatSwitchesCompactModeLaysTheTextOutAnew)
{
    tqconfig compact = *TConfig::Instance()->current_record();
    compact.name = "Compact";
    compact.compact_mode = 1 - compact.compact_mode;
    TConfig::Instance()->add(compact);
    const int line_height = text_line_height(client);
    client.receive(login("Compact"));
    client.tick();
    EXPECT_EQ(text_line_height(client), line_height + (compact.compact_mode ? -1 : 1));
    client.receive(login("Tester"));
    client.tick();
    EXPECT_EQ(text_line_height(client), line_height);
}

// Popups between logins of two fonts in one read: each is as big as in
// reads of their own, and the displays take the font of the last login once.
TEST_F(TagBursts, PopupsBetweenLoginsOfTwoFontsTakeEachFontAndTheDisplaysReWrapOnce)
{
    vusk_popup_manager &popups = *client->popup_manager();
    client.receive(login("Arden"));
    client.tick();
    const int arden_line_height = text_line_height(client);
    client.receive(popup("Alone_Arden"));
    client.tick();
    client.receive(login("Tester"));
    client.tick();
    client.receive(popup("Alone_Tester"));
    client.tick();
    const wxSize arden = popups.find_window("Alone_Arden")->GetClientSize();
    const wxSize tester = popups.find_window("Alone_Tester")->GetClientSize();
    ASSERT_NE(arden, tester);

    const int resyncs = client->text_font_resyncs();
    client.receive(login("Arden") + popup("A1") + login("Tester") + popup("T1") + login("Arden") + popup("A2") +
                   popup("A3") + login("Tester") + popup("T2") + login("Arden"));
    EXPECT_EQ(client->text_font_resyncs(), resyncs);
    client.tick();
    EXPECT_EQ(client->text_font_resyncs(), resyncs + 1);
    for (const char *name : {"A1", "A2", "A3"})
        EXPECT_EQ(popups.find_window(name)->GetClientSize(), arden) << name;
    for (const char *name : {"T1", "T2"})
        EXPECT_EQ(popups.find_window(name)->GetClientSize(), tester) << name;
    // Every display, the new popups' too, ends in the last login's font.
    int char_h = 0;
    popups.find_window("T2")->display.textctrl().get_character_pixel_sizes(nullptr, &char_h);
    EXPECT_EQ(char_h, arden_line_height);
    EXPECT_EQ(text_line_height(client), arden_line_height);
}

// A popup defined after a login that changes the text font, in one read,
// is as big as in reads of their own, and that size is what is stored.
TEST_F(TagBursts, APopupAfterALoginThatChangesTheFontHasTheSizeOfSeparateReads)
{
    const std::string who = with_data("window_create", "Who\nWho is on\n20 5\nwho\n");
    const std::string inventory = with_data("window_create", "Inv\nInventory\n20 5\ni\n");
    vusk_popup_manager &popups = *client->popup_manager();
    client.receive(login("Arden"));
    client.tick();
    client.receive(who);
    client.tick();
    const wxSize separate = popups.find_window("Who")->GetClientSize();
    int char_w = 0;
    int char_h = 0;
    popups.find_window("Who")->display.textctrl().get_character_pixel_sizes(&char_w, &char_h);
    EXPECT_EQ(separate, wxSize(20 * char_w, 5 * char_h + char_h / 2));

    client.receive(login("Tester"));
    client.tick();
    const std::array<int, 3> before = glyph_builds();
    client.receive(repeated(login("Arden") + login("Tester"), 150) + login("Arden") + inventory);
    client.tick();
    EXPECT_EQ(popups.find_window("Inv")->GetClientSize(), separate);
    EXPECT_EQ(glyph_builds(), before); // both fonts' glyphs were drawn before

    const wxSize outer = popups.find_window("Who")->GetSize();
    client->socket_disconnect("Gone.");
    const popup_data stored = TConfig::Instance()->GetPopupData("Inv");
    EXPECT_EQ(wxSize(stored.width, stored.height), outer);
}

TEST_F(TagBursts, AfterABurstAndOneTickThePanelsSitAsTheLastTagsPutThem)
{
    // The automap in a frame of its own, on the screen before the burst.
    TConfig::Instance()->SetAutomapDocked(0);
    client->menu_view_change_layout_helper();
    ASSERT_TRUE(gui::wait_until([] { return global_automap_frame->IsShownOnScreen(); }));
    // Painted, so its late map event under a window manager has come too.
    ASSERT_TRUE(gui::refresh_and_wait(global_automap_frame));
    const std::vector<std::string> before = placements(client);
    std::string switches;
    for (const char *command :
         {"status_bar", "automap", "hint_buttons", "fkey_buttons", "popup_buttons", "direction_buttons", "exp_bar"})
        switches += config(command, "disable") + config(command, "enable");
    const std::string buttons = with_data("b3", "Look\nlook") + with_data("b5", "Say\nsay hi") +
                                ";tbclear;" + with_data("dirs", "off BC") + with_data("dirs", "on AE");
    client.receive(repeated(switches + buttons, 40) + config("status_bar", "disable") +
                   config("fkey_buttons", "disable") + config("automap", "disable") + with_data("b3", "Look\nlook") +
                   with_data("b5", "Say\nsay hi"));
    client.tick();
    const std::vector<std::string> after_burst = placements(client);
    EXPECT_NE(after_burst, before);
    // Switched off and on in one read, then off: hidden (a frame shown and
    // hidden again before the toolkit handled the showing would stay open).
    EXPECT_FALSE(global_automap_frame->IsShown());

    // The same end reached again with the work done at once, as the menus do.
    TConfig &config = *TConfig::Instance();
    config.SetHpbarEnable(1);
    config.SetHpbarEnable(0);
    config.SetFkeyButton(1);
    config.SetFkeyButton(0);
    client->hint_buttons()->clear();
    client->hint_buttons()->setup_button(3, "b3", "Look\nlook");
    client->hint_buttons()->setup_button(5, "b5", "Say\nsay hi");
    client->direction_buttons()->disable();
    client->direction_buttons()->enable();
    client->direction_buttons()->enable(exit_mask_east);
    client.tick();
    EXPECT_EQ(placements(client), after_burst);
}

TEST_F(TagBursts, NewChannelsOfABurstGetTheirTabsAtTheTick)
{
    TConfig::Instance()->SetChannelWindow(1);
    client.tick();
    std::string burst;
    for (const char *channel : {"gossip", "clan", "auction", "newbie", "trade"})
        burst += with_data("chdiv", channel) + "chatter\n;tchudiv;";
    client.receive(repeated(burst, 20));
    client.tick();
    const std::vector<std::string> after_burst = placements(client);
    int shown_tabs = 0;
    for (const auto &record : client->channel_window()->channels())
        shown_tabs += record->button->IsShown();
    EXPECT_EQ(shown_tabs, 6); // with "(all)"

    // A full layout now would change nothing.
    client->resize();
    client.tick();
    EXPECT_EQ(placements(client), after_burst);
}

TEST_F(TagBursts, ADisconnectInTheSameTickComesAfterTheLogin)
{
    client.receive(login("Arden"));
    client->socket_disconnect("Gone.");
    client.tick();
    EXPECT_EQ(client->GetTitle(), wxS("Varn Ossic"));
    EXPECT_FALSE(client->logged_in());
    EXPECT_EQ(TConfig::Instance()->GetName(), "Arden");
}

TEST_F(TagBursts, TheVoteMenuShowsTheLastEntriesOfABurst)
{
    client.receive(repeated(with_data("votemenu1", "First\nhttp://one.example/v") +
                                with_data("votemenu2", "Second\nhttp://two.example/v") +
                                with_data("votemenu1", "Again\nhttp://again.example/v"),
                            200));
    client.tick();
    EXPECT_EQ(vote_menu_labels(client),
              (std::vector<std::string>{"Vote For All", "-", "Again", "-", "Enable Voting Reminders"}));
}
