#include "native_window.h"

#include <dlfcn.h>

bool can_draw_on(const wxWindow &window)
{
    return window.IsShownOnScreen() && window.GTKGetDrawingWindow() != nullptr;
}

// GTK is loaded with the toolkit; its development files are not needed for
// this one call.
void make_native_window(wxWindow &frame)
{
    using realize_function = void (*)(GtkWidget *);
    static const auto realize = reinterpret_cast<realize_function>(dlsym(RTLD_DEFAULT, "gtk_widget_realize"));
    if (realize != nullptr && frame.GetHandle() != nullptr)
        realize(frame.GetHandle());
}
