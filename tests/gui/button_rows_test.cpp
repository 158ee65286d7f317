// The direction pad, the hint buttons and the function-key row fed through
// the tag dispatcher, as the server drives them, and pressed as the player
// presses them.
#include "gui_button_probe.h"
#include "gui_client.h"
#include "gui_fake_frame.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "tag_dispatch.h"
#include "vusk_command_button.h"
#include "vusk_direction_buttons.h"
#include "vusk_fkey_button.h"
#include "vusk_fkey_manager.h"
#include "vusk_hint_buttons.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using gui::face_of;
using gui::theme_slot;

namespace {

constexpr int HIGHLIGHTED_FACE = 3;
constexpr int PLAIN_FACE = 9;
constexpr int DISABLED_FACE = 24;
constexpr int HINT_X = 300;
constexpr int HINT_Y = 10;

class ButtonRows : public testing::Test {
protected:
    void SetUp() override
    {
        gui::prepare_client();
        current_button_theme = button_theme_green;
        frame = new gui::test_frame(wxSize(500, 500));
        pad = std::make_unique<vusk_direction_buttons>(frame->area, wxID_ANY);
        pad->initial_setup();
        hints = std::make_unique<vusk_hint_buttons>(frame->area, wxID_ANY);
        keys = std::make_unique<vusk_fkey_manager>(frame->area, wxID_ANY);
        pad->SetSize(10, 20, 97, 130);
        hints->SetSize(HINT_X, HINT_Y, 97, 400);
        keys->SetSize(0, 400, 358, 46);
        dispatcher.owners.direction_pad = pad.get();
        dispatcher.owners.hint_buttons = hints.get();
        dispatcher.owners.fkey_row = keys.get();
        ASSERT_TRUE(gui::show_and_wait(frame));
    }

    void TearDown() override { EXPECT_TRUE(gui::destroy_and_wait(frame)); }

    void tag(const char *name, const std::string &data = "") { dispatcher.process_tagged_data(name, data.c_str(), 0); }

    static void press(wxWindow *button)
    {
        EXPECT_TRUE(gui::send_mouse(button, wxEVT_LEFT_DOWN, wxPoint(5, 5)));
        EXPECT_TRUE(gui::send_mouse(button, wxEVT_LEFT_UP, wxPoint(5, 5)));
        gui::pump_events();
    }

    // The faces of the pad, in the order NW N NE W Out E SW S SE Up Dn, as
    // H (highlighted), p (plain) or d (disabled).
    std::string pad_faces() const
    {
        std::string faces;
        for (int b = pad_nw; b <= pad_dn; ++b) {
            const vusk_color face = face_of(*pad->button(direction_pad_button(b)));
            faces += face == theme_slot(HIGHLIGHTED_FACE) ? 'H'
                     : face == theme_slot(PLAIN_FACE)     ? 'p'
                     : face == theme_slot(DISABLED_FACE)  ? 'd'
                                                          : '?';
        }
        return faces;
    }

    // The hint buttons shown, as "number@y" from the top.
    std::string shown_hints() const
    {
        std::string shown;
        for (int n = 1; n <= hint_button_count; ++n) {
            vusk_command_button *b = hints->button(n);
            if (b->IsShown()) {
                EXPECT_EQ(b->GetPosition().x, HINT_X);
                EXPECT_EQ(b->GetSize(), wxSize(97, 26));
                shown += std::to_string(n) + "@" + std::to_string(b->GetPosition().y - HINT_Y) + " ";
            }
        }
        return shown;
    }

    gui::test_frame *frame = nullptr;
    std::unique_ptr<vusk_direction_buttons> pad;
    std::unique_ptr<vusk_hint_buttons> hints;
    std::unique_ptr<vusk_fkey_manager> keys;
    vusk_tag_dispatcher dispatcher;
    fake_frame calls;
};

} // namespace

TEST_F(ButtonRows, DirsLightsTheExitsOfItsMaskAndSwitchesThePad)
{
    EXPECT_EQ(pad_faces(), "ddddddddddd");
    // B and F: (1 x 32) | 5 = 37 = N, E and SW.
    tag("dirs", "on BF");
    EXPECT_EQ(pad_faces(), "pHppHHHpppp");
    tag("dirs", "on");
    EXPECT_EQ(pad_faces(), "pHppHHHpppp");
    tag("dirs", "off AA");
    EXPECT_EQ(pad_faces(), "ddddddddddd");
    tag("dirs", "on");
    EXPECT_EQ(pad_faces(), "ppppHpppppp");
    // Any two characters make a mask: '@' is one below 'A', so "@A" is -32,
    // whose low bits light NW, W, SW, Up and Dn.
    tag("dirs", "on @A");
    EXPECT_EQ(pad_faces(), "HppHHpHppHH");
    tag("dirs", "on AR");
    press(pad->button(pad_n));
    press(pad->button(pad_dn));
    ASSERT_EQ(calls.sent.size(), 2u);
    EXPECT_EQ(calls.sent[0].text, "north");
    EXPECT_EQ(calls.sent[1].text, "down");
}

// The layout may place a row again with the rectangle it already has; the
// row then lays its buttons out anew all the same.
TEST_F(ButtonRows, PlacingARowWhereItIsLaysItsButtonsOutAgain)
{
    vusk_command_button *north = pad->button(pad_n);
    vusk_fkey_button *f2 = keys->key(2);
    const wxRect north_place = north->GetRect(), f2_place = f2->GetRect();
    north->SetSize(200, 200, 10, 10);
    f2->SetSize(200, 200, 10, 10);
    pad->SetSize(10, 20, 97, 130);
    keys->SetSize(0, 400, 358, 46);
    EXPECT_EQ(north->GetRect(), north_place);
    EXPECT_EQ(f2->GetRect(), f2_place);
}

TEST_F(ButtonRows, AHintTagWithACommandShowsAHighlightedButtonThatSendsIt)
{
    tag("b3", "Look\nlook around\nand listen");
    EXPECT_EQ(shown_hints(), "3@16 ");
    EXPECT_STREQ(hints->button(3)->get_name(), "Look");
    EXPECT_EQ(face_of(*hints->button(3)), theme_slot(HIGHLIGHTED_FACE));
    press(hints->button(3));
    ASSERT_EQ(calls.sent.size(), 1u);
    EXPECT_EQ(calls.sent[0].text, "look around\nand listen");
    EXPECT_EQ(calls.sent[0].echo, 1);
    EXPECT_EQ(calls.focus_transfers_from(hints->button(3)), 1);
}

TEST_F(ButtonRows, AHintTagWithoutACommandBlanksItsButtonAndOthersAreNotForTheColumn)
{
    for (const char *data : {"Look", "Look\n"}) {
        tag("b3", "Look\nlook");
        tag("b3", data);
        EXPECT_EQ(shown_hints(), "") << data;
    }
    for (const char *name : {"b0", "b13", "b3t", "b-1", "b99999999999999999999", "bf0", "bf9"})
        tag(name, "Look\nlook");
    EXPECT_EQ(shown_hints(), "");
    for (int n = 1; n <= fkey_button_count; ++n)
        EXPECT_STREQ(keys->key(n)->get_name(), "");
}

TEST_F(ButtonRows, EachRunOfHintButtonsStartsLowerAndBclearEmptiesThem)
{
    tag("b1", "One\none");
    tag("b2", "Two\ntwo");
    tag("b5", "Five\nfive");
    EXPECT_EQ(shown_hints(), "1@16 2@49 5@98 ");
    tag("bclear");
    EXPECT_EQ(shown_hints(), "");
}

TEST_F(ButtonRows, AHiddenHintColumnKeepsItsButtonsAndPlacesThemWhenShown)
{
    hints->Show(0);
    tag("b2", "Two\ntwo");
    EXPECT_EQ(shown_hints(), "");
    hints->SetSize(HINT_X, HINT_Y, 97, 400);
    hints->Show(1);
    EXPECT_EQ(shown_hints(), "2@16 ");
}

TEST_F(ButtonRows, AFiveThousandByteButtonTagIsCutToFourHundredCharacters)
{
    const std::string label(5000, 'L'), command(5000, 'c');
    tag("b1", label + "\n" + command);
    EXPECT_EQ(std::string(hints->button(1)->get_name()), label.substr(0, 400));
    EXPECT_EQ(std::string(hints->button(1)->get_command()), command.substr(0, 400));
    tag("bf1", label);
    EXPECT_EQ(std::string(keys->key(1)->get_name()), label.substr(0, 400));
}

TEST_F(ButtonRows, AFunctionKeyTagLabelsItsKeyAndNewlinesAloneClearIt)
{
    keys->SetSize(0, 0, 2000, 200);
    tag("bf3", "\n\ncast heal\nignored");
    const vusk_fkey_button &f3 = *keys->key(3);
    EXPECT_STREQ(f3.get_name(), "cast heal");
    EXPECT_TRUE(f3.is_enabled());
    EXPECT_EQ(f3.label_lines().line1, "cast heal");
    // Narrow keys wrap the same label anew.
    keys->SetSize(0, 0, 358, 46);
    EXPECT_FALSE(f3.label_lines().line1.empty());
    EXPECT_FALSE(f3.label_lines().line2.empty());
    tag("bf3", "\n\n");
    EXPECT_STREQ(f3.get_name(), "");
    EXPECT_FALSE(f3.is_enabled());
}

TEST_F(ButtonRows, TheLabelShowsOnlyWhileTheKeysAreEnabled)
{
    tag("bf2", "cast heal");
    vusk_fkey_button &f2 = *keys->key(2);
    // Under the key name, which is white too.
    const int label_top = 18;
    const auto label_shown = [&] {
        return gui::label_pixels(gui::shown_image(f2), face_of(f2), theme_slot(4), label_top) > 20;
    };
    EXPECT_TRUE(label_shown());
    EXPECT_EQ(face_of(f2), theme_slot(HIGHLIGHTED_FACE));
    keys->enable_buttons(false);
    EXPECT_EQ(face_of(f2), theme_slot(DISABLED_FACE));
    EXPECT_FALSE(label_shown());
}

TEST_F(ButtonRows, KeysAreSquaresOfTheRowHeightLessFiveAndAPixelAtTheLeast)
{
    EXPECT_EQ(keys->calc_min_xsize(46), 358);
    for (int height : {5, 2}) {
        keys->SetSize(0, 0, 100, height);
        for (int n = 1; n <= fkey_button_count; ++n) {
            EXPECT_EQ(keys->key(n)->GetPosition(), wxPoint(3 + (n - 1) * 4, 3)) << height;
            EXPECT_EQ(keys->key(n)->GetSize(), wxSize(1, 1)) << height;
        }
    }
}

TEST_F(ButtonRows, AKeySendsItsAliasOnlyWhileLoggedInButAlwaysHandsTheFocusBack)
{
    press(keys->key(3));
    EXPECT_TRUE(calls.sent.empty());
    EXPECT_EQ(calls.focus_transfers_from(keys->key(3)), 1);
    calls.is_logged_in = true;
    press(keys->key(3));
    press(keys->key(8));
    ASSERT_EQ(calls.sent.size(), 2u);
    EXPECT_EQ(calls.sent[0].text, "f03");
    EXPECT_EQ(calls.sent[0].echo, 0);
    EXPECT_EQ(calls.sent[1].text, "f08");
}

