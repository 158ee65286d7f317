#ifndef VUSK_LOGO_LAYOUT_H
#define VUSK_LOGO_LAYOUT_H

// Where the main frame draws the game's logo with the web host's name under
// it: the corner that the panels of each layout leave free (top left in
// layout 2, bottom left in layout 1, bottom right otherwise). The rectangle
// is the area a click opens the web page from.

struct logo_point {
    int x = 0;
    int y = 0;
};

struct logo_layout {
    logo_point logo;
    logo_point text;
    logo_point rect_origin;
    int rect_width = 0;
    int rect_height = 0;

    // Strictly inside: a click on the edge does nothing.
    bool contains(int x, int y) const;
};

logo_layout compute_logo_layout(int layout, int client_width, int client_height, int logo_width,
                                int logo_height, int text_width, int text_height);

#endif
