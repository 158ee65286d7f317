#ifndef VUSK_POPUP_GEOMETRY_H
#define VUSK_POPUP_GEOMETRY_H

// Sizes and places of popup windows in pixels. Windowless. Sizes come from
// the server or from a configuration file, so every product is taken in 64
// bits and every size is kept within the display. A popup makes its pictures
// only once the player opens it, so the display is the only bound its size
// needs.

struct popup_extent {
    int width = 1;
    int height = 1;
};

// The client area for cols by rows characters of char_w by char_h pixels,
// with half a line to spare below, at least 1 by 1. Text keeps its size
// whatever the window's, so each side keeps what the font gives it and only
// a side longer than the display's is cut to the display's (a display side
// below 1 sets no limit).
popup_extent popup_text_client_size(int cols, int rows, int char_w, int char_h, int display_w, int display_h);

// A stored or requested outer size, kept within 1..the display's size.
popup_extent clamp_to_display(int width, int height, int display_w, int display_h);

struct popup_position {
    int x = 0;
    int y = 0;
};

// Where a window w wide that is at (x, y) opens so that it can be seen: a
// left edge that leaves less than half the window on the display, or a top
// edge above it or within 20 pixels of its bottom, becomes 50.
popup_position bring_onto_display(int x, int y, int w, int display_w, int display_h);

// The display's text fills the client area, at least 1 wide and 24 high.
popup_extent popup_display_size(int client_w, int client_h);

#endif
