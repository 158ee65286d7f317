// The scrollback window on a (virtual) display: what it paints, the mouse
// with its capture and the clipboard, URL clicks, the wheel, focus, and the
// colour flash and auto-scroll on the animation list.
#include "fake_textctrl.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "heap_bytes.h"
#include "text_bytes.h"
#include "tqconfig.h"
#include "vusk_font.h"
#include "vusk_mw_calls.h"
#include "vusk_textctrl.h"

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include <memory>
#include <string>

using gui::test_frame;

namespace {
const wxSize TEXT_SIZE(300, 200);
const vusk_color red{255, 0, 0};
const vusk_color green{0, 255, 0};

// Stands in for the main frame while it lives: records the focus hand-offs
// that reach it.
class focus_frame : public vusk_mw_calls {
public:
    focus_frame() { main_window = this; }
    ~focus_frame() override { main_window = nullptr; }
    int transfer_focus_main(wxWindow *window) override
    {
        focus_requests.push_back(window);
        return 1;
    }
    std::vector<wxWindow *> focus_requests;
};

std::string clipboard_text()
{
    std::string text;
    if (!wxTheClipboard->Open())
        return text;
    wxTextDataObject data;
    if (wxTheClipboard->GetData(data))
        text = wx_to_bytes(data.GetText());
    wxTheClipboard->Close();
    return text;
}

// Whether some pixel of the rectangle shows mostly `colour` (glyph edges are
// blended, so the strongest pixel of a stroke is looked for).
bool shows_colour(const wxImage &shot, const wxRect &area, const vusk_color &colour)
{
    for (int y = area.GetTop(); y <= area.GetBottom(); ++y)
        for (int x = area.GetLeft(); x <= area.GetRight(); ++x) {
            const vusk_color seen = gui::pixel_of(shot, x, y);
            const auto near = [](int channel, int wanted) { return wanted ? channel > 150 : channel < 40; };
            if (near(seen.r, colour.r) && near(seen.g, colour.g) && near(seen.b, colour.b))
                return true;
        }
    return false;
}

bool any_pixel_is(const wxImage &shot, const wxRect &area, const vusk_color &colour)
{
    for (int y = area.GetTop(); y <= area.GetBottom(); ++y)
        for (int x = area.GetLeft(); x <= area.GetRight(); ++x)
            if (gui::pixel_of(shot, x, y) == colour)
                return true;
    return false;
}

bool all_pixels_are(const wxImage &shot, const wxRect &area, const vusk_color &colour)
{
    for (int y = area.GetTop(); y <= area.GetBottom(); ++y)
        for (int x = area.GetLeft(); x <= area.GetRight(); ++x)
            if (gui::pixel_of(shot, x, y) != colour)
                return false;
    return true;
}

class TextctrlWindow : public testing::Test {
protected:
    void SetUp() override
    {
        tqconfig record;
        record.name = "textctrl";
        record.url_hotlinking = 1;
        TConfig::Instance()->add(record);
        TConfig::Instance()->select("textctrl");

        frame = new test_frame(wxSize(400, 300));
        ctrl = new vusk_textctrl(frame->area, wxID_ANY, wxS("text"), wxPoint(0, 0), TEXT_SIZE, 0);
        ctrl->set_display_font(&font);
        ctrl->owner = &owner;
        ASSERT_TRUE(gui::show_and_wait(frame));
    }

    void TearDown() override { EXPECT_TRUE(gui::destroy_and_wait(frame)); }

    int line_height() const { return ctrl->get_line_height(); }
    int glyph_width() const
    {
        int width = 0;
        font.GetCharacterSize('m', &width, nullptr);
        return width;
    }

    // The middle of a character of a line, the store being bottom-anchored.
    wxPoint at(int line, int offset) const
    {
        const int top = TEXT_SIZE.y - line_height() + (line - ctrl->get_bottom_line()) * line_height();
        return wxPoint(offset * glyph_width() + glyph_width() / 2, top + line_height() / 2);
    }

    // Where a character's glyph is drawn: lines are painted a pixel above
    // the bands that the mouse maps, and from x = 1.
    wxRect cell(int line, int offset) const
    {
        const int top = TEXT_SIZE.y - line_height() - 1 + (line - ctrl->get_bottom_line()) * line_height();
        return wxRect(1 + offset * glyph_width(), top, glyph_width(), line_height());
    }

    // A mouse event with the left button held, as a drag delivers it.
    void drag_to(const wxPoint &position)
    {
        wxMouseEvent event(wxEVT_MOTION);
        event.SetPosition(position);
        event.SetLeftDown(true);
        event.SetEventObject(ctrl);
        ctrl->GetEventHandler()->ProcessEvent(event);
    }

    wxImage shown()
    {
        ctrl->repaint();
        EXPECT_TRUE(gui::refresh_and_wait(ctrl));
        return gui::capture_window(ctrl);
    }

    vusk_font font{10, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL};
    focus_frame main_frame;
    recording_owner owner;
    test_frame *frame = nullptr;
    vusk_textctrl *ctrl = nullptr;
};
}

TEST_F(TextctrlWindow, PaintsColouredWrappedTextUpFromTheBottom)
{
    ctrl->SetTextColor(red, vusk_BLACK);
    ctrl->AppendRawText("red words that are long enough to wrap in the window ");
    ctrl->SetTextColor(green, vusk_BLACK);
    ctrl->AppendRawText("and green ones\n");
    ASSERT_GT(ctrl->get_current_line(), 1);

    const wxImage shot = shown();
    const int height = line_height();
    const wxRect last_text_line(0, TEXT_SIZE.y - 2 * height - 1, TEXT_SIZE.x, height);
    EXPECT_TRUE(shows_colour(shot, last_text_line, green));
    const wxRect first_text_line(0, TEXT_SIZE.y - (ctrl->get_current_line() + 1) * height - 1, TEXT_SIZE.x, height);
    EXPECT_TRUE(shows_colour(shot, first_text_line, red));
    EXPECT_TRUE(all_pixels_are(shot, wxRect(0, 0, TEXT_SIZE.x, 20), vusk_BLACK));
}

TEST_F(TextctrlWindow, ResizingRewrapsToTheNewWidth)
{
    ctrl->AppendRawText("one two three four five six seven eight nine ten eleven twelve\n");
    const int lines = ctrl->get_current_line();
    ctrl->SetSize(TEXT_SIZE.x / 3, TEXT_SIZE.y);
    EXPECT_GT(ctrl->get_current_line(), lines);
    ctrl->SetSize(TEXT_SIZE.x, TEXT_SIZE.y);
    EXPECT_EQ(ctrl->get_current_line(), lines);
}

TEST_F(TextctrlWindow, DragSelectsWithTheCaptureHeldAndCopies)
{
    ctrl->AppendRawText("first line of text\nsecond line\n");
    gui::send_mouse(ctrl, wxEVT_LEFT_DOWN, at(0, 6));
    EXPECT_TRUE(ctrl->HasCapture());
    drag_to(at(1, 5));
    EXPECT_TRUE(ctrl->has_mouse_selection());
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"disable"}));
    gui::send_mouse(ctrl, wxEVT_LEFT_UP, at(1, 5));
    EXPECT_FALSE(ctrl->HasCapture());
    EXPECT_EQ(clipboard_text(), "line of text\nsecond");

    const wxImage shot = shown();
    EXPECT_TRUE(any_pixel_is(shot, cell(1, 0), selected_background_color));
    EXPECT_TRUE(any_pixel_is(shot, cell(0, 17), selected_background_color));
    EXPECT_FALSE(any_pixel_is(shot, cell(1, 8), selected_background_color));
    EXPECT_FALSE(any_pixel_is(shot, cell(0, 2), selected_background_color));
}

TEST_F(TextctrlWindow, ClickOnAUrlOpensItOnceAndCopiesIt)
{
    ctrl->AppendRawText("see http://example.com/page now\n");
    const wxPoint on_url = at(0, 10);
    gui::send_mouse(ctrl, wxEVT_LEFT_DOWN, on_url);
    EXPECT_FALSE(ctrl->HasCapture());
    drag_to(at(0, 1));
    gui::send_mouse(ctrl, wxEVT_LEFT_UP, at(0, 1));
    gui::send_mouse(ctrl, wxEVT_LEFT_DCLICK, on_url);
    gui::send_mouse(ctrl, wxEVT_LEFT_UP, on_url);
    EXPECT_EQ(owner.urls, (std::vector<std::string>{"http://example.com/page"}));
    EXPECT_EQ(clipboard_text(), "http://example.com/page");
    EXPECT_EQ(ctrl->sel_start_offset, 4);
    EXPECT_EQ(ctrl->sel_end_offset, 26);
}

TEST_F(TextctrlWindow, VerticalWheelScrollsAndHorizontalIsIgnored)
{
    gui::send_wheel(ctrl, wxPoint(10, 10), 120);
    gui::send_wheel(ctrl, wxPoint(10, 10), -120, wxMOUSE_WHEEL_HORIZONTAL);
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"disable", "up 3"}));
}

TEST_F(TextctrlWindow, FocusGoesToTheCommandLine)
{
    ctrl->SetFocus();
    EXPECT_TRUE(gui::wait_until([&] { return !main_frame.focus_requests.empty(); }));
    EXPECT_EQ(main_frame.focus_requests.front(), ctrl);
}

TEST_F(TextctrlWindow, ColourFlashRunsOnTheAnimationList)
{
    ctrl->parse_colorflash("000000 ff0000 5");
    EXPECT_TRUE(ctrl->is_animating());
    const wxRect empty_corner(0, 0, 10, 10);
    for (int tick = 1; tick <= 5; ++tick)
        vusk_embedded_window::animation_update(20);
    EXPECT_TRUE(gui::wait_until([&] { return all_pixels_are(gui::capture_window(ctrl), empty_corner, red); }));
    vusk_embedded_window::animation_update(20);
    EXPECT_FALSE(ctrl->is_animating());
    EXPECT_TRUE(all_pixels_are(shown(), empty_corner, vusk_BLACK));
}

TEST_F(TextctrlWindow, DragHeldAboveTheWindowScrollsOnTheAnimationList)
{
    for (int i = 0; i < 40; ++i)
        ctrl->AppendRawText("a line\n");
    gui::send_mouse(ctrl, wxEVT_LEFT_DOWN, at(ctrl->get_current_line() - 2, 1));
    owner.calls.clear();
    drag_to(wxPoint(5, -3 * line_height()));
    EXPECT_TRUE(ctrl->is_animating());
    for (int tick = 0; tick < 6; ++tick)
        vusk_embedded_window::animation_update(20);
    EXPECT_EQ(owner.calls.size(), 4u);
    EXPECT_EQ(owner.calls[1].substr(0, 3), "up ");
    gui::send_mouse(ctrl, wxEVT_LEFT_UP, wxPoint(5, -3 * line_height()));
    EXPECT_FALSE(ctrl->HasCapture());
}

TEST_F(TextctrlWindow, DestroyedWhileDraggingLetsTheMouseGo)
{
    ctrl->AppendRawText("text\n");
    gui::send_mouse(ctrl, wxEVT_LEFT_DOWN, at(0, 1));
    ASSERT_TRUE(ctrl->HasCapture());
    delete ctrl;
    ctrl = nullptr;
    EXPECT_EQ(wxWindow::GetCapture(), nullptr);
}

TEST_F(TextctrlWindow, WindowsCreatedFilledAndDestroyedLeaveNothingBehind)
{
    const auto fill_and_destroy = [this] {
        auto *window = new vusk_textctrl(frame->area, wxID_ANY, wxS("popup"), wxPoint(0, 0), wxSize(80, 60), 0);
        window->set_display_font(&font);
        window->AppendRawText("popup text that wraps in a narrow window\nand more\n");
        delete window;
    };
    fill_and_destroy();
    const size_t heap = heap_bytes_in_use();
    for (int cycle = 0; cycle < 1000; ++cycle)
        fill_and_destroy();
    EXPECT_LT(heap_bytes_in_use(), heap + 64 * 1024);
}
