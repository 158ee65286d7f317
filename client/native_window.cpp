#include "native_window.h"

#include <wx/toplevel.h>
#include <wx/utils.h>

#include <algorithm>
#include <dlfcn.h>

bool can_draw_on(const wxWindow &window)
{
    return window.IsShownOnScreen() && window.GTKGetDrawingWindow() != nullptr;
}

namespace {

int pointer_queries = 0;

}

pointer_spot::pointer_spot() : pointer_(wxGetMousePosition())
{
    ++pointer_queries;
}

int pointer_spot::queries_made()
{
    return pointer_queries;
}

bool pointer_spot::is_over(const wxWindow &window)
{
    if (window.GetParent() == nullptr || !window.IsShownOnScreen() || !screen_place_of(window).Contains(pointer_))
        return false;
    if (!topmost_known_) {
        topmost_ = topmost_window_at_pointer();
        topmost_known_ = true;
    }
    return topmost_ == &window;
}

// In the order of the toolkit's own search (the top-level window made last
// first, in each window its last child first); that search asks the X server
// where the parent of every window it passes lies, this one asks once for
// each parent.
const wxWindow *pointer_spot::topmost_window_at_pointer()
{
    for (auto node = wxTopLevelWindows.GetLast(); node != nullptr; node = node->GetPrevious())
        if (const wxWindow *found = deepest_window_at_pointer(*node->GetData()))
            return found;
    return nullptr;
}

// A child shows only inside its parent: a window the pointer is not on hides
// the pointer from its children.
const wxWindow *pointer_spot::deepest_window_at_pointer(const wxWindow &window)
{
    if (!window.IsShownOnScreen())
        return nullptr;
    const bool on_it = screen_place_of(window).Contains(pointer_);
    if (!on_it && !window.IsTopLevel())
        return nullptr;
    const wxWindowList &children = window.GetChildren();
    for (auto node = children.GetLast(); node != nullptr; node = node->GetPrevious())
        if (const wxWindow *found = deepest_window_at_pointer(*node->GetData()))
            return found;
    return on_it ? &window : nullptr;
}

// Placed through the parent: the toolkit has the window's own place at once,
// GTK only once it next lays the window out.
wxRect pointer_spot::screen_place_of(const wxWindow &window)
{
    const wxWindow *parent = window.GetParent();
    wxPoint origin = window.GetPosition();
    if (parent != nullptr && !window.IsTopLevel())
        origin += screen_origin_of(*parent);
    return wxRect(origin, window.GetSize());
}

wxPoint pointer_spot::screen_origin_of(const wxWindow &parent)
{
    for (const auto &[known, origin] : parent_origins_)
        if (known == &parent)
            return origin;
    parent_origins_.emplace_back(&parent, parent.ClientToScreen(wxPoint(0, 0)));
    return parent_origins_.back().second;
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
