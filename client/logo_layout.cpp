#include "logo_layout.h"

#include <algorithm>

namespace {
// The web text tucks up into the logo's lower margin.
constexpr int text_overlap = 5;
// The logo stands this much lower in the bottom corners.
constexpr int bottom_drop = 10;
}

bool logo_layout::contains(int x, int y) const
{
    return x > rect_origin.x && x < rect_origin.x + rect_width && y > rect_origin.y &&
           y < rect_origin.y + rect_height;
}

logo_layout compute_logo_layout(int layout, int client_width, int client_height, int logo_width,
                                int logo_height, int text_width, int text_height)
{
    logo_layout out;
    out.rect_width = std::max(logo_width, text_width);
    out.rect_height = logo_height + text_height - text_overlap;
    const int middle = out.rect_width / 2;
    const int bottom_logo_y = client_height + bottom_drop - text_height - logo_height;
    const int bottom_text_y = client_height - text_height;
    switch (layout) {
    case 2:
        out.logo = {middle - logo_width / 2, 0};
        out.text = {middle - text_width / 2, logo_height - text_overlap};
        out.rect_origin = {0, 0};
        break;
    case 1:
        out.logo = {middle - logo_width / 2, bottom_logo_y};
        out.text = {middle - text_width / 2, bottom_text_y};
        out.rect_origin = {0, client_height - out.rect_height};
        break;
    default:
        out.logo = {client_width - middle - logo_width / 2, bottom_logo_y};
        out.text = {client_width - middle - text_width / 2, bottom_text_y};
        out.rect_origin = {client_width - out.rect_width, client_height - out.rect_height};
        break;
    }
    return out;
}
