#include "gui_test_window.h"

namespace gui {

const vusk_color QUADRANT_COLOURS[4] = {vusk_RED, vusk_GREEN, vusk_BLUE, vusk_WHITE};
const vusk_color test_frame::BACKGROUND(40, 80, 120);

test_window::test_window(wxWindow *parent, const wxPoint &position, const wxSize &size)
    : vusk_embedded_window(parent, wxID_ANY, wxS("test_window"), position, size, 0)
{
    const auto record = [this](wxEvent &event) { events.push_back(event.GetEventType()); };
    for (const auto &type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_RIGHT_DOWN, wxEVT_MOTION, wxEVT_MOUSEWHEEL})
        Bind(type, [record](wxMouseEvent &event) { record(event); });
    for (const auto &type : {wxEVT_KEY_DOWN, wxEVT_CHAR, wxEVT_KEY_UP})
        Bind(type, [record](wxKeyEvent &event) { record(event); });
}

void test_window::repaint_dc(vusk_bitmap &bitmap)
{
    ++repaints;
    const int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    // No Clear: the pixels show only if the bitmap was opaque from its creation.
    bitmap.DrawFilledRectangle(0, 0, w - 1, h - 1, vusk_BLACK);
    bitmap.DrawFilledRectangle(1, 1, w / 2 - 1, h / 2 - 1, QUADRANT_COLOURS[0]);
    bitmap.DrawFilledRectangle(w / 2, 1, w - 2, h / 2 - 1, QUADRANT_COLOURS[1]);
    bitmap.DrawFilledRectangle(1, h / 2, w / 2 - 1, h - 2, QUADRANT_COLOURS[2]);
    bitmap.DrawFilledRectangle(w / 2, h / 2, w - 2, h - 2, QUADRANT_COLOURS[3]);
}

int test_window::animation_callback(int milliseconds)
{
    ++animation_calls;
    last_elapsed = milliseconds;
    return on_animation(*this);
}

test_frame::test_frame(const wxSize &client_size)
    : wxFrame(nullptr, wxID_ANY, wxS("test"), wxPoint(0, 0), wxDefaultSize, wxBORDER_NONE)
{
    SetClientSize(client_size);
    area = new wxWindow(this, wxID_ANY);
    area->SetBackgroundColour(wxColour(BACKGROUND.r, BACKGROUND.g, BACKGROUND.b));
}

vusk_color pixel_of(const wxImage &image, int x, int y)
{
    return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

}
