#include "native_window.h"

#include <wx/utils.h>

#include <algorithm>
#include <dlfcn.h>

bool can_draw_on(const wxWindow &window)
{
    return window.IsShownOnScreen() && window.GTKGetDrawingWindow() != nullptr;
}

// Placed through the parent: the toolkit has the window's own place at once,
// GTK only once it next lays the window out.
bool pointer_is_over(const wxWindow &window)
{
    const wxWindow *parent = window.GetParent();
    if (parent == nullptr || !window.IsShownOnScreen())
        return false;
    const wxPoint pointer = wxGetMousePosition();
    const wxRect place(parent->ClientToScreen(window.GetPosition()), window.GetSize());
    return place.Contains(pointer) && wxFindWindowAtPoint(pointer) == &window;
}

namespace {

// GTK is loaded with the toolkit; its development files are not needed for
// the few calls made here.
template <typename function> function gtk_function(const char *name)
{
    return reinterpret_cast<function>(dlsym(RTLD_DEFAULT, name));
}

using preferred_extent = void (*)(GtkWidget *, int *, int *);

int least_extent(preferred_extent measure, GtkWidget *widget)
{
    int least = 1;
    int natural = 1;
    if (measure != nullptr)
        measure(widget, &least, &natural);
    return std::max(least, 1);
}

} // namespace

// The toolkit asks GTK for every size it gives a widget, which then counts
// as the widget's least: it is set aside while GTK measures.
wxSize native_minimum_size(const wxWindow &window)
{
    static const auto width = gtk_function<preferred_extent>("gtk_widget_get_preferred_width");
    static const auto height = gtk_function<preferred_extent>("gtk_widget_get_preferred_height");
    static const auto get_request = gtk_function<void (*)(GtkWidget *, int *, int *)>("gtk_widget_get_size_request");
    static const auto set_request = gtk_function<void (*)(GtkWidget *, int, int)>("gtk_widget_set_size_request");
    GtkWidget *widget = window.GetHandle();
    if (widget == nullptr || get_request == nullptr || set_request == nullptr)
        return wxSize(1, 1);
    int requested_width = -1;
    int requested_height = -1;
    get_request(widget, &requested_width, &requested_height);
    set_request(widget, -1, -1);
    const wxSize least(least_extent(width, widget), least_extent(height, widget));
    set_request(widget, requested_width, requested_height);
    return least;
}

void make_native_window(wxWindow &frame)
{
    static const auto realize = gtk_function<void (*)(GtkWidget *)>("gtk_widget_realize");
    if (realize != nullptr && frame.GetHandle() != nullptr)
        realize(frame.GetHandle());
}
