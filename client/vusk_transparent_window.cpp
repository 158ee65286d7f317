#include "vusk_transparent_window.h"

vusk_transparent_window::vusk_transparent_window(wxWindow *parent) : parent(parent) {}

void vusk_transparent_window::SetSize(int new_x, int new_y, int new_w, int new_h)
{
    x = new_x;
    y = new_y;
    w = new_w;
    h = new_h;
    resize();
}

void vusk_transparent_window::Show(int new_shown)
{
    shown = new_shown;
    show_handler(new_shown);
}
