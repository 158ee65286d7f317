#ifndef VUSK_TEST_GUI_TEST_WINDOW_H
#define VUSK_TEST_GUI_TEST_WINDOW_H

// A drawn window for the GUI suites: it paints four known quadrants (red,
// green, blue, white over a black frame line) and records what the base calls
// on it; and a frame at the screen's origin to hold it.

#include "vusk_embedded_window.h"

#include <wx/frame.h>

#include <functional>
#include <vector>

namespace gui {

extern const vusk_color QUADRANT_COLOURS[4]; // top-left, top-right, bottom-left, bottom-right

class test_window : public vusk_embedded_window {
public:
    test_window(wxWindow *parent, const wxPoint &position, const wxSize &size);

    void resize(int changed) override { resizes.push_back(changed); }
    void repaint_dc(vusk_bitmap &bitmap) override;
    int animation_callback(int milliseconds) override;

    std::vector<int> resizes;
    int repaints = 0;
    int animation_calls = 0;
    int last_elapsed = 0;
    // What animation_callback does and returns; by default it stays listed.
    std::function<int(test_window &)> on_animation = [](test_window &) { return 1; };
    // Events the window received, by type.
    std::vector<wxEventType> events;
};

// A plain frame at (0, 0) whose client area is `area`, a window of a known
// background colour that holds the windows under test (a frame's only child
// is stretched over its whole client area, so they cannot sit on it directly).
class test_frame : public wxFrame {
public:
    static const vusk_color BACKGROUND;
    explicit test_frame(const wxSize &client_size = wxSize(200, 150));

    wxWindow *area;
};

// The colour of one pixel of a captured image.
vusk_color pixel_of(const wxImage &image, int x, int y);

}

#endif
