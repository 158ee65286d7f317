#include "gui_fake_frame.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "native_window.h"
#include "text_bytes.h"
#include "tqconfig.h"
#include "vusk_input_window.h"

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include <string>
#include <vector>

using gui::test_frame;

namespace {
// A shown command line in its input window, with a current configuration
// and a recording main frame.
class CommandLine : public testing::Test {
protected:
    void SetUp() override
    {
        TConfig *config = TConfig::Instance();
        tqconfig record;
        record.name = "Tester";
        config->add(record);
        ASSERT_TRUE(config->select("Tester"));
        window_frame = new test_frame(wxSize(400, 100));
        input = new vusk_input_window(window_frame->area, wxID_ANY, wxS("command"));
        input->SetSize(0, 0, 300, 40);
        line = &input->line_edit;
        ASSERT_TRUE(gui::show_and_wait(window_frame));
    }

    void TearDown() override { EXPECT_TRUE(gui::destroy_and_wait(window_frame)); }

    bool key_down(int code, int modifiers = wxMOD_NONE)
    {
        return gui::send_key(line, wxEVT_KEY_DOWN, code, modifiers);
    }
    bool key_up(int code) { return gui::send_key(line, wxEVT_KEY_UP, code); }
    bool character(int code, int modifiers = wxMOD_NONE)
    {
        return gui::send_key(line, wxEVT_CHAR, code, modifiers);
    }
    // A key pressed and released, as the toolkit delivers it: key-down, the
    // character event when the key-down was not consumed, key-up.
    void press(int code, int modifiers = wxMOD_NONE)
    {
        if (!key_down(code, modifiers))
            character(code, modifiers);
        key_up(code);
    }
    void type_and_enter(const wxString &text)
    {
        line->ChangeValue(text);
        line->SetInsertionPointEnd();
        press(WXK_RETURN);
    }
    std::vector<std::string> sent_texts() const
    {
        std::vector<std::string> texts;
        for (const fake_frame::sent_line &sent : frame.sent)
            texts.push_back(sent.text);
        return texts;
    }

    fake_frame frame;
    test_frame *window_frame = nullptr;
    vusk_input_window *input = nullptr;
    vusk_line_edit *line = nullptr;
};

using texts = std::vector<std::string>;
}

TEST_F(CommandLine, UpAfterStartShowsConnectAndEnterSendsIt)
{
    press(WXK_UP);
    EXPECT_EQ(line->GetValue(), wxS("connect"));
    press(WXK_RETURN);
    ASSERT_EQ(frame.sent.size(), 1u);
    EXPECT_EQ(frame.sent[0].text, "connect");
    EXPECT_EQ(frame.sent[0].echo, 1);
    EXPECT_TRUE(line->GetValue().empty());
}

TEST_F(CommandLine, EnterSendsEmptyLinesAndStoresOnlyText)
{
    type_and_enter(wxS(""));
    type_and_enter(wxS("look"));
    type_and_enter(wxS("look"));
    EXPECT_EQ(sent_texts(), (texts{"", "look", "look"}));
    press(WXK_UP);
    EXPECT_EQ(line->GetValue(), wxS("look"));
    press(WXK_UP);
    EXPECT_EQ(line->GetValue(), wxS("connect"));
}

TEST_F(CommandLine, LongLineIsCutForSendingButKeptWhole)
{
    wxString typed(wxUniChar('x'), 5998);
    typed += wxString::FromUTF8("\xe2\x82\xac\xc3\xa9");
    type_and_enter(typed);
    ASSERT_EQ(frame.sent.size(), 1u);
    EXPECT_EQ(frame.sent[0].text, std::string(4999, 'x'));
    press(WXK_UP);
    EXPECT_EQ(line->GetValue(), typed);

    type_and_enter(wxString::FromUTF8("say \xe2\x82\xac caf\xc3\xa9"));
    EXPECT_EQ(frame.sent.back().text, "say ? caf\xe9");
}

TEST_F(CommandLine, PushThroughKeepsTheCommandSelected)
{
    frame.is_logged_in = 1;
    TConfig::Instance()->SetCommandPushthrough(1);
    type_and_enter(wxS("north"));
    type_and_enter(wxS("kill orc"));
    EXPECT_EQ(line->GetValue(), wxS("kill orc"));
    long from = 0, to = 0;
    line->GetSelection(&from, &to);
    EXPECT_EQ(from, 0);
    EXPECT_EQ(to, line->GetLastPosition());
    // Up on the selected newest command shows the one before it.
    key_down(WXK_UP);
    EXPECT_EQ(line->GetValue(), wxS("north"));

    type_and_enter(wxS("kill orc"));
    EXPECT_TRUE(key_down(WXK_LEFT));
    EXPECT_TRUE(line->GetStringSelection().empty());
    EXPECT_EQ(line->GetInsertionPoint(), 0);

    // Not logged in, the line is emptied.
    frame.is_logged_in = 0;
    type_and_enter(wxS("score"));
    EXPECT_TRUE(line->GetValue().empty());
}

TEST_F(CommandLine, NothingIsStoredWhileEchoIsOff)
{
    frame.is_logged_in = 1;
    line->swap_history(2);
    line->disable_echo();
    EXPECT_EQ(line->GetForegroundColour(), line->GetBackgroundColour());
    type_and_enter(wxS("secret"));
    EXPECT_EQ(sent_texts(), (texts{"secret"}));
    line->enable_echo();
    EXPECT_EQ(line->GetForegroundColour(), *wxWHITE);
    EXPECT_EQ(line->GetBackgroundColour(), wxColour(64, 64, 64));
    press(WXK_UP);
    EXPECT_TRUE(line->GetValue().empty());
    type_and_enter(wxS("look"));
    press(WXK_UP);
    EXPECT_EQ(line->GetValue(), wxS("look"));
}

TEST_F(CommandLine, UpAndDownMoveTheCaretInsideMultiLineText)
{
    line->ChangeValue(wxS("ab\ncd\nef"));
    line->SetInsertionPoint(4);
    press(WXK_UP);
    EXPECT_EQ(line->GetInsertionPoint(), 2);
    press(WXK_UP);
    EXPECT_EQ(line->GetInsertionPoint(), 0);
    press(WXK_DOWN);
    EXPECT_EQ(line->GetInsertionPoint(), 2);
    press(WXK_DOWN);
    EXPECT_EQ(line->GetInsertionPoint(), 5);
    press(WXK_DOWN);
    EXPECT_EQ(line->GetInsertionPoint(), 8);
    EXPECT_EQ(line->GetValue(), wxS("ab\ncd\nef"));
    // At the end the history takes over; the text waits in the scratch slot.
    press(WXK_UP);
    EXPECT_EQ(line->GetValue(), wxS("connect"));
    press(WXK_DOWN);
    EXPECT_EQ(line->GetValue(), wxS("ab\ncd\nef"));
}

TEST_F(CommandLine, KeypadWalksInBothNumLockStates)
{
    EXPECT_TRUE(key_down(WXK_NUMPAD8));
    key_up(WXK_NUMPAD8);
    EXPECT_TRUE(key_down(WXK_NUMPAD_UP));
    key_up(WXK_NUMPAD_UP);
    key_down(WXK_NUMPAD5);
    key_up(WXK_NUMPAD5);
    key_down(WXK_NUMPAD_BEGIN);
    key_up(WXK_NUMPAD_BEGIN);
    key_down(WXK_NUMPAD_ENTER);
    key_up(WXK_NUMPAD_ENTER);
    key_down(WXK_NUMPAD_ADD);
    key_up(WXK_NUMPAD_ADD);
    EXPECT_EQ(sent_texts(), (texts{"north", "north", "scan -tq", "scan -tq", "down", "up"}));
    for (const fake_frame::sent_line &sent : frame.sent)
        EXPECT_EQ(sent.echo, 1);
    EXPECT_TRUE(line->GetValue().empty());
}

TEST_F(CommandLine, HeldKeypadKeyWalksOnceAndOverlappingKeysAllWalk)
{
    key_down(WXK_NUMPAD8);
    key_down(WXK_NUMPAD8);
    key_down(WXK_NUMPAD8);
    // Quick walking: 6 goes down before 8 comes up.
    key_down(WXK_NUMPAD6);
    key_up(WXK_NUMPAD8);
    key_down(WXK_NUMPAD6);
    key_up(WXK_NUMPAD6);
    key_down(WXK_NUMPAD6);
    key_up(WXK_NUMPAD6);
    EXPECT_EQ(sent_texts(), (texts{"north", "east", "east"}));

    // The line losing the focus forgets the held key: its key-up may never come.
    frame.forget();
    key_down(WXK_NUMPAD_LEFT);
    wxFocusEvent lost(wxEVT_KILL_FOCUS, line->GetId());
    lost.SetEventObject(line);
    line->HandleWindowEvent(lost);
    key_down(WXK_NUMPAD_LEFT);
    EXPECT_EQ(sent_texts(), (texts{"west", "west"}));
}

TEST_F(CommandLine, KeypadWalkingFollowsAndStepsAside)
{
    frame.main_following = 0;
    key_down(WXK_NUMPAD2);
    EXPECT_EQ(frame.calls, (texts{"tty_start", "command south 1"}));

    frame.forget();
    EXPECT_FALSE(key_down(WXK_NUMPAD2, wxMOD_SHIFT));
    EXPECT_TRUE(frame.sent.empty());

    TConfig::Instance()->SetKeypadWalking(0);
    EXPECT_FALSE(key_down(WXK_NUMPAD9));
    line->ChangeValue(wxS("look"));
    line->SetInsertionPointEnd();
    EXPECT_FALSE(key_down(WXK_NUMPAD_ENTER));
    character(WXK_NUMPAD_ENTER);
    EXPECT_EQ(sent_texts(), (texts{"look"}));
}

TEST_F(CommandLine, FunctionKeysSendAliasesWhileLoggedIn)
{
    EXPECT_FALSE(key_down(WXK_F3));
    EXPECT_TRUE(frame.sent.empty());

    frame.is_logged_in = 1;
    frame.main_following = 0;
    EXPECT_TRUE(key_down(WXK_F3));
    EXPECT_TRUE(key_down(WXK_F3, wxMOD_SHIFT));
    EXPECT_TRUE(key_down(WXK_F3, wxMOD_CONTROL));
    EXPECT_TRUE(key_down(WXK_F12, wxMOD_CONTROL | wxMOD_SHIFT));
    EXPECT_FALSE(key_down(WXK_F3, wxMOD_ALT));
    // Consumed, so the toolkit does not open the menu bar.
    EXPECT_TRUE(key_down(WXK_F10));
    EXPECT_EQ(sent_texts(), (texts{"f03", "sf03", "cf03", "cf12", "f10"}));
    for (const fake_frame::sent_line &sent : frame.sent)
        EXPECT_EQ(sent.echo, 0);
    EXPECT_EQ(frame.main_following, 1);
}

TEST_F(CommandLine, ControlCCopiesErasesOrBreaks)
{
    line->ChangeValue(wxS("kill orc"));
    line->SetSelection(0, 4);
    EXPECT_TRUE(key_down('C', wxMOD_CONTROL));
    EXPECT_EQ(line->GetValue(), wxS("kill orc"));
    EXPECT_TRUE(line->GetStringSelection().empty());
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTextDataObject copied;
    EXPECT_TRUE(wxTheClipboard->GetData(copied));
    wxTheClipboard->Close();
    EXPECT_EQ(copied.GetText(), wxS("kill"));
    EXPECT_TRUE(frame.calls.empty());
    key_up('C');

    // Text selected in the scrollback: the line is erased, only the selection goes.
    frame.main_selection = 1;
    key_down('C', wxMOD_CONTROL);
    key_up('C');
    EXPECT_TRUE(line->GetValue().empty());
    EXPECT_EQ(frame.calls, (texts{"clear_mouse_selection"}));

    frame.forget();
    line->ChangeValue(wxS("partial"));
    key_down('C', wxMOD_CONTROL);
    EXPECT_TRUE(line->GetValue().empty());
    EXPECT_EQ(frame.calls, (texts{"break"}));
}

TEST_F(CommandLine, ControlKeyTable)
{
    struct shortcut {
        int key;
        int modifiers;
        const char *call;
    };
    const shortcut shortcuts[] = {
        {'D', wxMOD_CONTROL, "break"},
        {'\\', wxMOD_CONTROL, "abort"},
        {'M', wxMOD_CONTROL, "toggle_automap_display"},
        {'S', wxMOD_CONTROL, "tty_stop"},
        {'Z', wxMOD_CONTROL | wxMOD_SHIFT, "tty_stop"},
        {'0', wxMOD_CONTROL, "toggle_popup_window 10"},
        {'7', wxMOD_CONTROL, "toggle_popup_window 7"},
        {'1', wxMOD_CONTROL | wxMOD_SHIFT, "toggle_automap_display"},
        {'=', wxMOD_CONTROL, "zoom_in"},
        {WXK_NUMPAD_ADD, wxMOD_CONTROL | wxMOD_SHIFT, "incr_chan_window_size"},
        {'_', wxMOD_CONTROL, "zoom_out"},
        {'-', wxMOD_CONTROL | wxMOD_SHIFT, "decr_chan_window_size"},
        {'[', wxMOD_CONTROL, "decr_automap_size"},
        {'[', wxMOD_CONTROL | wxMOD_SHIFT, "decr_input_window_size"},
        {']', wxMOD_CONTROL, "incr_automap_size"},
        {']', wxMOD_CONTROL | wxMOD_SHIFT, "incr_input_window_size"},
    };
    for (const shortcut &s : shortcuts) {
        frame.forget();
        line->ChangeValue(wxS("typed"));
        EXPECT_TRUE(key_down(s.key, s.modifiers)) << s.call;
        key_up(s.key);
        EXPECT_EQ(frame.calls, (texts{s.call})) << s.key;
    }
    frame.forget();
    line->ChangeValue(wxS("typed"));
    key_down('K', wxMOD_CONTROL);
    EXPECT_TRUE(line->GetValue().empty());
    EXPECT_TRUE(frame.calls.empty());
    // Control with a key outside the table takes its default effect.
    EXPECT_FALSE(key_down('A', wxMOD_CONTROL));
    EXPECT_TRUE(key_down('6', wxMOD_CONTROL | wxMOD_SHIFT));
    EXPECT_TRUE(frame.calls.empty());
}

TEST_F(CommandLine, ControlKeysToggleSettings)
{
    TConfig *config = TConfig::Instance();
    struct toggle {
        int key;
        int modifiers;
        int (TConfig::*get)() const;
    };
    const toggle toggles[] = {
        {'P', wxMOD_CONTROL, &TConfig::GetHpbarEnable},
        {'3', wxMOD_CONTROL | wxMOD_SHIFT, &TConfig::GetHpbarEnable},
        {'2', wxMOD_CONTROL | wxMOD_SHIFT, &TConfig::GetGroupStatus},
        {'4', wxMOD_CONTROL | wxMOD_SHIFT, &TConfig::GetEnemyHpbarEnable},
        {'5', wxMOD_CONTROL | wxMOD_SHIFT, &TConfig::GetExpDisplay},
        {'7', wxMOD_CONTROL | wxMOD_SHIFT, &TConfig::GetFkeyButton},
        {'8', wxMOD_CONTROL | wxMOD_SHIFT, &TConfig::GetPopupDisplay},
        {'9', wxMOD_CONTROL | wxMOD_SHIFT, &TConfig::GetMwScrollbar},
    };
    for (const toggle &t : toggles) {
        int before = (config->*t.get)();
        key_down(t.key, t.modifiers);
        key_up(t.key);
        EXPECT_EQ((config->*t.get)(), before ? 0 : 1) << t.key;
        key_down(t.key, t.modifiers);
        key_up(t.key);
        EXPECT_EQ((config->*t.get)() != 0, before != 0) << t.key;
    }
}

TEST_F(CommandLine, HeldControlShortcutActsOnce)
{
    key_down('S', wxMOD_CONTROL);
    key_down('S', wxMOD_CONTROL);
    key_down('S', wxMOD_CONTROL);
    EXPECT_EQ(frame.calls, (texts{"tty_stop"}));
    key_up('S');
    key_down('S', wxMOD_CONTROL);
    EXPECT_EQ(frame.calls, (texts{"tty_stop", "tty_stop"}));
}

TEST_F(CommandLine, ControlQAndEscapeFollowAgain)
{
    frame.main_following = 0;
    press('Q', wxMOD_CONTROL);
    EXPECT_EQ(frame.calls, (texts{"tty_start"}));
    frame.forget();
    frame.channel_following = 0;
    press('Q', wxMOD_CONTROL);
    EXPECT_EQ(frame.calls, (texts{"set_channel_window_scrolling 1"}));

    frame.forget();
    frame.main_following = 0;
    frame.channel_following = 0;
    line->ChangeValue(wxS("typed"));
    press(WXK_ESCAPE);
    press(WXK_ESCAPE);
    EXPECT_EQ(line->GetValue(), wxS("typed"));
    press(WXK_ESCAPE);
    EXPECT_TRUE(line->GetValue().empty());
    EXPECT_EQ(frame.calls, (texts{"tty_start", "set_channel_window_scrolling 1",
                                  "clear_mouse_selection", "clear_channel_window_selection"}));
}

TEST_F(CommandLine, PagingScrollsTheMainDisplay)
{
    press(WXK_PAGEUP);
    press(WXK_PAGEDOWN);
    press(WXK_UP, wxMOD_CONTROL);
    press(WXK_DOWN, wxMOD_CONTROL);
    gui::send_wheel(line, wxPoint(5, 5), 120);
    gui::send_wheel(line, wxPoint(5, 5), -120);
    gui::send_wheel(line, wxPoint(5, 5), 120, wxMOUSE_WHEEL_HORIZONTAL);
    EXPECT_EQ(frame.calls, (texts{"scroll_up", "scroll_down", "scroll_up", "scroll_down",
                                  "disable_scrolling", "scroll_up 3", "disable_scrolling",
                                  "scroll_down 3"}));
    EXPECT_TRUE(line->GetValue().empty());
}

TEST_F(CommandLine, TypingFollowsUnlessTheScrollbackLocks)
{
    frame.main_following = 0;
    EXPECT_FALSE(character('a', wxMOD_NONE));
    EXPECT_EQ(frame.calls, (texts{"tty_start"}));
    frame.forget();
    frame.main_following = 0;
    TConfig::Instance()->SetLockingScrollback(1);
    EXPECT_FALSE(character('a', wxMOD_NONE));
    EXPECT_TRUE(frame.calls.empty());
}

TEST_F(CommandLine, PasteTakesPlainTextOnly)
{
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject(wxString(L"look\0hidden", 11)));
    wxTheClipboard->Close();
    line->ChangeValue(wxS("say "));
    line->SetInsertionPointEnd();
    EXPECT_TRUE(key_down('V', wxMOD_CONTROL));
    EXPECT_TRUE(gui::wait_until([&] { return line->GetValue() == wxS("say look"); }));
}

TEST_F(CommandLine, HistoryListingGoesToTheMainDisplay)
{
    line->swap_history(1);
    type_and_enter(wxS("north"));
    type_and_enter(wxS("look"));
    frame.forget();
    line->history_display();
    EXPECT_EQ(frame.calls, (texts{"display_set_default_colors"}));
    EXPECT_EQ(frame.main_display_text, "\nRecent Command History:\n 2 - north\n 1 - look\n");
}

TEST_F(CommandLine, InputWindowFramesTheLine)
{
    EXPECT_EQ(line->GetPosition(), wxPoint(2, 1));
    EXPECT_EQ(line->GetSize(), wxSize(296, 38));
    EXPECT_EQ(line->GetName(), wxS("command input window"));
    // A window narrower than GTK lets the line be cuts the line off.
    input->SetSize(0, 0, 3, 2);
    EXPECT_EQ(line->GetSize(), wxSize(native_minimum_size(*line).GetWidth(), 1));
    EXPECT_LT(native_minimum_size(*line).GetWidth(), 296);
    input->SetSize(0, 0, 300, 40);

    input->repaint();
    const vusk_bitmap &drawn = input->backing_bitmap();
    wxImage shot = drawn.ConvertToImage();
    EXPECT_EQ(gui::pixel_of(shot, 0, 20), vusk_WHITE);
    EXPECT_EQ(gui::pixel_of(shot, 1, 20), vusk_GREY);
    EXPECT_EQ(gui::pixel_of(shot, 299, 20), vusk_WHITE);
    EXPECT_EQ(gui::pixel_of(shot, 150, 0), vusk_WHITE);
    EXPECT_EQ(gui::pixel_of(shot, 150, 39), vusk_WHITE);

    input->start_newbie_demo_mode_flashing();
    EXPECT_TRUE(input->is_animating());
    vusk_embedded_window::animation_update(20);
    shot = input->backing_bitmap().ConvertToImage();
    EXPECT_EQ(gui::pixel_of(shot, 1, 20), vusk_BLACK);
    for (int tick = 0; tick < 10; ++tick)
        vusk_embedded_window::animation_update(20);
    shot = input->backing_bitmap().ConvertToImage();
    EXPECT_EQ(gui::pixel_of(shot, 1, 20), vusk_WHITE);
    for (int tick = 0; tick < 200; ++tick)
        vusk_embedded_window::animation_update(20);
    EXPECT_FALSE(input->is_animating());
    shot = input->backing_bitmap().ConvertToImage();
    EXPECT_EQ(gui::pixel_of(shot, 1, 20), vusk_GREY);

    input->SetFocus();
    EXPECT_TRUE(gui::wait_until([&] { return wxWindow::FindFocus() == line; }));
}
