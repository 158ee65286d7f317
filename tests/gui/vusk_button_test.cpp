// Drawn buttons as the player meets them: the five images of a text button
// in every button theme, the mouse sequences that click (or do not), the
// command sent through the frame, and the newcomer's flashing border.
#include "global_fonts.h"
#include "gui_button_probe.h"
#include "gui_client.h"
#include "gui_fake_frame.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "native_window.h"
#include "vusk_audio_base.h"
#include "vusk_command_button.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using gui::face_of;
using gui::pixel;
using gui::shown_image;
using gui::theme_slot;

namespace {

const wxPoint INSIDE(40, 12);
const wxPoint OUTSIDE(-30, 60);
const char LABEL[] = "Look";

// An image button with images of plain colours, as a subclass paints them.
class plain_image_button : public vusk_image_button {
public:
    explicit plain_image_button(wxWindow *parent) : vusk_image_button(parent, wxID_ANY) {}
    void resize(int) override {}
};

vusk_bitmap filled(const vusk_color &colour)
{
    vusk_bitmap image(20, 20);
    image.Clear(colour);
    return image;
}

// A button that stands for something open or closed.
class toggle_button : public vusk_command_button {
public:
    explicit toggle_button(wxWindow *parent) : vusk_command_button(parent) { toggle_mode = 1; }
};

class TextButton : public testing::Test {
protected:
    void SetUp() override
    {
        gui::prepare_client();
        current_button_theme = button_theme_yellow;
        frame = new gui::test_frame(wxSize(200, 100));
        button = add(new vusk_command_button(frame->area));
        ASSERT_TRUE(gui::show_and_wait(frame));
    }

    void TearDown() override
    {
        if (pointer_moved)
            frame->WarpPointer(pointer_before.x - frame->GetScreenPosition().x,
                               pointer_before.y - frame->GetScreenPosition().y);
        EXPECT_TRUE(gui::destroy_and_wait(frame));
    }

    // Rests the pointer over the area, off the button, then moves the frame
    // under it: that leaves the toolkit's idea of where the pointer lies
    // behind, so no enter or leave event comes when a button is then slid
    // under or from under the pointer. Returns where the pointer then lies
    // in the area.
    wxPoint rest_pointer_behind_the_toolkits_back()
    {
        pointer_before = wxGetMousePosition();
        pointer_moved = true;
        const wxPoint rest(150, 70);
        frame->area->WarpPointer(rest.x, rest.y);
        EXPECT_TRUE(gui::wait_until([&] { return wxGetMousePosition() == frame->area->ClientToScreen(rest); }));
        gui::pump_events();
        const wxPoint shift(20, 10);
        const wxPoint area_origin = frame->area->GetScreenPosition();
        frame->Move(frame->GetPosition() + shift);
        EXPECT_TRUE(gui::wait_until([&] { return frame->area->GetScreenPosition() == area_origin + shift; }));
        return rest - shift;
    }

    template <class Button> Button *add(Button *b)
    {
        b->SetSize(10, 10, 97, 26);
        b->setup(LABEL, "look around", 1);
        return b;
    }

    void mouse(wxEventType type, const wxPoint &at = INSIDE) { EXPECT_TRUE(gui::send_mouse(button, type, at)); }

    // The image shown, against the theme slots of its face, its left edge
    // (the hover border, or else the bevel) and its label.
    void expect_image(int fill, int border, int text, const char *what)
    {
        const vusk_bitmap image = shown_image(*button);
        EXPECT_EQ(pixel(image, 93, 3), theme_slot(fill)) << what;
        if (border >= 0)
            EXPECT_EQ(pixel(image, 0, 13), theme_slot(border)) << what;
        else
            EXPECT_NE(pixel(image, 0, 13), theme_slot(fill)) << what << ": a bevel";
        EXPECT_EQ(gui::label_colours(image, theme_slot(fill)),
                  gui::text_colours(*global_button_large_font, LABEL, theme_slot(fill), theme_slot(text)))
            << what;
    }

    gui::test_frame *frame = nullptr;
    vusk_command_button *button = nullptr;
    fake_frame calls;
    wxPoint pointer_before;
    bool pointer_moved = false;
};

} // namespace

TEST_F(TextButton, FiveImagesInEveryThemeShowFaceBorderAndLabel)
{
    for (const vusk_color *theme : {button_theme_red, button_theme_brown, button_theme_yellow, button_theme_ygreen,
                                    button_theme_green, button_theme_cyan, button_theme_blue, button_theme_purple,
                                    button_theme_grey}) {
        current_button_theme = theme;
        button->redraw_bitmaps();
        button->set_enabled(1);
        expect_image(3, -1, 4, "up");
        mouse(wxEVT_ENTER_WINDOW);
        expect_image(6, 5, 7, "up, hovered");
        button->set_button_state(button_down);
        expect_image(15, 14, 16, "down, hovered");
        mouse(wxEVT_LEAVE_WINDOW);
        button->set_button_state(button_down);
        expect_image(15, -1, 16, "down");
        button->set_enabled(0);
        mouse(wxEVT_ENTER_WINDOW);
        expect_image(24, -1, 25, "disabled, pointer over it");
    }
    // Yellow, raised: face 96, light edge (3 x 96 + 96) / 2 above, dark 48 below.
    current_button_theme = button_theme_yellow;
    button->redraw_bitmaps();
    button->set_enabled(1);
    EXPECT_EQ(pixel(shown_image(*button), 50, 1), vusk_color(192, 192, 192));
    EXPECT_EQ(pixel(shown_image(*button), 96, 5), vusk_color(48, 48, 48));
}

TEST_F(TextButton, ToggleButtonsFlipOnEveryPressAndUseTheirOwnColoursWhenDown)
{
    button = add(new toggle_button(frame->area));
    mouse(wxEVT_ENTER_WINDOW);
    mouse(wxEVT_LEFT_DOWN);
    expect_image(21, 20, 22, "toggled on, hovered");
    mouse(wxEVT_LEFT_UP);
    mouse(wxEVT_LEAVE_WINDOW);
    expect_image(18, -1, 19, "toggled on");
    mouse(wxEVT_RIGHT_DOWN);
    EXPECT_EQ(button->get_button_state(), button_up);
    gui::pump_events();
    EXPECT_EQ(calls.sent.size(), 2u);
}

TEST_F(TextButton, TheImagesReachTheScreen)
{
    button->repaint();
    EXPECT_TRUE(gui::wait_until([&] { return gui::pixel_of(gui::capture_window(button), 93, 3) == theme_slot(3); }));
}

TEST_F(TextButton, APressClicksOnceAndLeavingOrReleasingOutsideOnlyLetsItUp)
{
    mouse(wxEVT_ENTER_WINDOW);
    mouse(wxEVT_LEFT_DOWN);
    EXPECT_EQ(face_of(*button), theme_slot(15));
    // The click is queued: the frame hears of it from the event loop.
    EXPECT_TRUE(calls.sent.empty());
    gui::pump_events();
    ASSERT_EQ(calls.sent.size(), 1u);
    EXPECT_EQ(calls.sent[0].text, "look around");
    EXPECT_EQ(calls.sent[0].echo, 1);
    EXPECT_EQ(calls.focus_transfers_from(button), 1);
    EXPECT_TRUE(calls.called("enable_scrolling"));

    mouse(wxEVT_MOTION, OUTSIDE);
    mouse(wxEVT_LEAVE_WINDOW, OUTSIDE);
    EXPECT_EQ(button->get_button_state(), button_up);
    mouse(wxEVT_LEFT_UP, OUTSIDE);
    gui::pump_events();
    EXPECT_EQ(calls.sent.size(), 1u);
    EXPECT_EQ(face_of(*button), theme_slot(3));
}

TEST_F(TextButton, ADoubleClickIsOneClickAndOtherButtonsDoNotClick)
{
    for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_LEFT_UP, wxEVT_RIGHT_DOWN,
                             wxEVT_RIGHT_UP, wxEVT_MIDDLE_DOWN, wxEVT_MIDDLE_UP, wxEVT_MOUSEWHEEL})
        mouse(type);
    gui::pump_events();
    EXPECT_EQ(calls.sent.size(), 1u);
}

TEST_F(TextButton, OnlyTheThirteenMouseEventsReachTheButton)
{
    for (wxEventType type : {wxEVT_AUX1_DOWN, wxEVT_AUX2_DOWN, wxEVT_AUX1_DCLICK, wxEVT_MAGNIFY})
        EXPECT_FALSE(gui::send_mouse(button, type, INSIDE));
    gui::pump_events();
    EXPECT_TRUE(calls.sent.empty());
}

TEST_F(TextButton, ADisabledButtonSendsNothingKeepsTheFocusAndShowsNoHover)
{
    button->set_enabled(0);
    mouse(wxEVT_ENTER_WINDOW);
    mouse(wxEVT_LEFT_DOWN);
    mouse(wxEVT_LEFT_UP);
    gui::pump_events();
    EXPECT_TRUE(calls.sent.empty());
    EXPECT_EQ(calls.focus_transfers_from(button), 0);
    EXPECT_EQ(face_of(*button), theme_slot(24));
}

TEST_F(TextButton, APressPlaysTheClickAndADisabledButtonStaysSilent)
{
    // Sound switched on, with no stream to take the sounds away.
    vusk_audio_object::global_audio_enabled = 1;
    mouse(wxEVT_LEFT_DOWN);
    mouse(wxEVT_LEFT_UP);
    EXPECT_EQ(vusk_audio_object::playing_count(), 1);
    button->set_enabled(0);
    mouse(wxEVT_LEFT_DOWN);
    EXPECT_EQ(vusk_audio_object::playing_count(), 1);
    vusk_audio_object::global_audio_enabled = 0;
    vusk_audio_object::clear_queues();
}

TEST_F(TextButton, ALabelIsCutToWhatFitsButNeverToNothing)
{
    const std::string label(300, 'm');
    EXPECT_EQ(vusk_image_button::get_max_char_count(global_button_large_font, label.c_str(), 1000000, 26), 254);
    EXPECT_EQ(vusk_image_button::get_max_char_count(global_button_large_font, label.c_str(), 1, 26), 1);
    EXPECT_EQ(vusk_image_button::get_max_char_count(global_button_large_font, LABEL, 97, 26), 4);
    const int fits = vusk_image_button::get_max_char_count(global_button_large_font, label.c_str(), 97, 26);
    EXPECT_GT(fits, 1);
    EXPECT_LT(fits, 20);
}

TEST_F(TextButton, TheNewcomerFlashAlternatesTheBorderForSixteenStepsEvenWithLongTicks)
{
    button->start_newbie_demo_mode_flashing();
    std::string borders;
    // Each tick is five periods long; each still takes one step only.
    for (int tick = 0; tick < 20 && button->is_flashing(); ++tick) {
        const vusk_color edge = pixel(shown_image(*button), 0, 13);
        borders += edge == vusk_BLACK ? 'b' : edge == vusk_WHITE ? 'w' : '?';
        vusk_embedded_window::animation_update(1000);
    }
    EXPECT_EQ(borders, "bwbwbwbwbwbwbwbw");
    EXPECT_FALSE(button->is_animating());
    EXPECT_EQ(pixel(shown_image(*button), 0, 13), vusk_color(192, 192, 192));
}

// The frame moving under a resting pointer leaves the toolkit's idea of
// where the pointer lies behind, so no enter or leave event comes when the
// layout then slides a button under or from under it: the button still
// shows whether the pointer is over it.
TEST_F(TextButton, AButtonSlidUnderOrFromUnderARestingPointerShowsWhetherItIsHovered)
{
    const wxPoint pointer = rest_pointer_behind_the_toolkits_back();
    EXPECT_EQ(face_of(*button), theme_slot(3));

    button->SetSize(pointer.x - 30, pointer.y - 15, 40, 20);
    EXPECT_TRUE(gui::wait_until([&] { return face_of(*button) == theme_slot(6); })) << "slid under the pointer";
    button->SetSize(10, 10, 97, 26);
    EXPECT_TRUE(gui::wait_until([&] { return face_of(*button) == theme_slot(3); })) << "slid from under it";
}

// A relayout moves a whole row of buttons in one go: the X server is asked
// where the pointer lies once for all of them, and each still shows whether
// it is under the pointer.
TEST_F(TextButton, ButtonsMovedTogetherAskWhereThePointerIsOnceAndEachShowsItsHover)
{
    std::vector<vusk_command_button *> row;
    for (int i = 0; i < 80; ++i)
        row.push_back(add(new vusk_command_button(frame->area)));
    const wxPoint pointer = rest_pointer_behind_the_toolkits_back();
    button->SetSize(pointer.x - 30, pointer.y - 15, 40, 20);
    ASSERT_TRUE(gui::wait_until([&] { return face_of(*button) == theme_slot(6); }));

    const int asked = pointer_spot::queries_made();
    button->SetSize(10, 10, 40, 20);
    row[0]->SetSize(pointer.x - 20, pointer.y - 10, 40, 20);
    for (int i = 1; i < int(row.size()); ++i)
        row[i]->SetSize(i % 2 * 42, 40 + i, 40, 20); // all left of the pointer
    EXPECT_TRUE(gui::wait_until([&] { return face_of(*row[0]) == theme_slot(6); })) << "moved under the pointer";
    EXPECT_TRUE(gui::wait_until([&] { return face_of(*button) == theme_slot(3); })) << "moved from under it";
    for (vusk_command_button *other : row)
        EXPECT_EQ(face_of(*other), other == row[0] ? theme_slot(6) : theme_slot(3));
    EXPECT_EQ(pointer_spot::queries_made(), asked + 1);
}

// Another window of the program over the button keeps the pointer from it:
// slid under the pointer there, the button shows no hover until the cover
// has gone.
TEST_F(TextButton, AButtonSlidUnderThePointerWhereAnotherWindowCoversItShowsNoHover)
{
    const wxPoint pointer = rest_pointer_behind_the_toolkits_back();
    const wxPoint on_screen = frame->area->ClientToScreen(pointer);
    auto *cover = new wxFrame(nullptr, wxID_ANY, wxS("cover"), on_screen - wxPoint(20, 20), wxSize(40, 40),
                              wxBORDER_NONE);
    ASSERT_TRUE(gui::show_and_wait(cover));
    // A window manager may place a new window where it likes, and then it is
    // moved to where it was asked to be.
    ASSERT_TRUE(gui::wait_until([&] {
        if (!cover->GetScreenRect().Contains(on_screen))
            cover->Move(on_screen - wxPoint(20, 20));
        return wxFindWindowAtPoint(on_screen) == cover;
    }));

    const int asked = pointer_spot::queries_made();
    button->SetSize(pointer.x - 30, pointer.y - 15, 40, 20);
    ASSERT_TRUE(gui::wait_until([&] { return pointer_spot::queries_made() > asked; }));
    EXPECT_EQ(face_of(*button), theme_slot(3)) << "covered";

    EXPECT_TRUE(gui::destroy_and_wait(cover));
    button->SetSize(pointer.x - 25, pointer.y - 15, 40, 20);
    EXPECT_TRUE(gui::wait_until([&] { return face_of(*button) == theme_slot(6); })) << "uncovered";
}

// Two buttons slid under the pointer overlap there: only the one on top,
// the one the pointer's events would reach, shows the hover.
TEST_F(TextButton, OfOverlappingButtonsUnderThePointerOnlyTheOneOnTopIsHovered)
{
    auto *later = add(new vusk_command_button(frame->area));
    const wxPoint pointer = rest_pointer_behind_the_toolkits_back();
    button->SetSize(pointer.x - 30, pointer.y - 15, 40, 20);
    later->SetSize(pointer.x - 20, pointer.y - 10, 40, 20);
    ASSERT_TRUE(gui::wait_until([&] { return later->GetScreenRect().Contains(wxGetMousePosition()); }));
    // The toolkit's own search says which one the pointer's events reach.
    const wxWindow *found = wxFindWindowAtPoint(wxGetMousePosition());
    ASSERT_TRUE(found == button || found == later);
    vusk_command_button *on_top = found == later ? later : button;
    vusk_command_button *beneath = found == later ? button : later;

    EXPECT_TRUE(gui::wait_until([&] { return face_of(*on_top) == theme_slot(6); })) << "on top";
    EXPECT_EQ(face_of(*beneath), theme_slot(3));
}

// A relayout moves the buttons of several panels in one go: each button is
// placed on the screen through its own parent.
TEST_F(TextButton, ButtonsMovedInSeveralParentsArePlacedEachThroughItsOwnParent)
{
    const int panel_width = 100;
    auto *left = new wxWindow(frame->area, wxID_ANY, wxPoint(0, 0), wxSize(panel_width, 100));
    auto *right = new wxWindow(frame->area, wxID_ANY, wxPoint(panel_width, 0), wxSize(panel_width, 100));
    auto *in_left = add(new vusk_command_button(left));
    auto *in_right = add(new vusk_command_button(right));
    const wxPoint pointer = rest_pointer_behind_the_toolkits_back();
    const wxPoint in_right_panel = pointer - wxPoint(panel_width, 0);
    ASSERT_TRUE(gui::wait_until([&] { return right->ClientToScreen(in_right_panel) == wxGetMousePosition(); }));

    // The same place in each panel: under the pointer in the right one only.
    in_left->SetSize(in_right_panel.x - 20, in_right_panel.y - 10, 40, 20);
    in_right->SetSize(in_right_panel.x - 20, in_right_panel.y - 10, 40, 20);
    EXPECT_TRUE(gui::wait_until([&] { return face_of(*in_right) == theme_slot(6); })) << "under the pointer";
    EXPECT_EQ(face_of(*in_left), theme_slot(3));
}

// A disabled button shows no hover, and the buttons moved after it in the
// same relayout still learn whether the pointer is over them.
TEST_F(TextButton, ADisabledButtonInARelayoutLeavesTheHoverOfTheButtonsAfterIt)
{
    auto *disabled = add(new vusk_command_button(frame->area));
    disabled->set_enabled(0);
    const wxPoint pointer = rest_pointer_behind_the_toolkits_back();
    disabled->SetSize(pointer.x - 30, pointer.y + 20, 40, 20);
    button->SetSize(pointer.x - 30, pointer.y - 15, 40, 20);
    EXPECT_TRUE(gui::wait_until([&] { return face_of(*button) == theme_slot(6); })) << "moved under the pointer";
    EXPECT_EQ(face_of(*disabled), theme_slot(24));
}

// A button destroyed after a move, before the event loop asks where the
// pointer is, is not asked about; the others moved with it still are.
TEST_F(TextButton, AButtonDestroyedWhileWaitingForThePointerIsLeftOutAndTheOthersAreHovered)
{
    auto *destroyed = add(new vusk_command_button(frame->area));
    const wxPoint pointer = rest_pointer_behind_the_toolkits_back();
    destroyed->SetSize(pointer.x - 30, pointer.y + 20, 40, 20);
    button->SetSize(pointer.x - 30, pointer.y - 15, 40, 20);
    EXPECT_TRUE(destroyed->Destroy());
    EXPECT_TRUE(gui::wait_until([&] { return face_of(*button) == theme_slot(6); })) << "moved under the pointer";
}

// Only the hover images that were set are shown: without a clicked hover
// image a button that is down shows its clicked image, hovered or not.
TEST_F(TextButton, AButtonWithoutAClickedHoverImageShowsItsClickedImageWhileHovered)
{
    const vusk_color up(200, 0, 0), up_hover(0, 200, 0), down(0, 0, 200);
    auto *plain = new plain_image_button(frame->area);
    plain->SetSize(120, 10, 20, 20);
    plain->set_image_default(filled(up));
    plain->set_image_default_hover(filled(up_hover));
    plain->set_image_clicked(filled(down));
    const wxPoint inside(5, 5);
    EXPECT_EQ(pixel(shown_image(*plain), 5, 5), up);
    gui::send_mouse(plain, wxEVT_ENTER_WINDOW, inside);
    EXPECT_EQ(pixel(shown_image(*plain), 5, 5), up_hover);
    gui::send_mouse(plain, wxEVT_LEFT_DOWN, inside);
    EXPECT_EQ(plain->get_button_state(), button_down);
    EXPECT_EQ(pixel(shown_image(*plain), 5, 5), down);
    gui::send_mouse(plain, wxEVT_LEFT_UP, inside);
    EXPECT_EQ(pixel(shown_image(*plain), 5, 5), up_hover);
    gui::pump_events();
}
