#include "vusk_embedded_window.h"

#include "native_window.h"

#include <algorithm>
#include <vector>

vusk_embedded_window *vusk_embedded_window::animation_list = nullptr;
vusk_embedded_window *vusk_embedded_window::walk_next = nullptr;
vusk_embedded_window *vusk_embedded_window::walk_current = nullptr;
bool vusk_embedded_window::walking = false;

wxBEGIN_EVENT_TABLE(vusk_embedded_window, wxWindow)
    EVT_PAINT(vusk_embedded_window::repaint_handler)
    EVT_SIZE(vusk_embedded_window::resize_handler)
    EVT_ERASE_BACKGROUND(vusk_embedded_window::discard_erase_event_handler)
wxEND_EVENT_TABLE()

vusk_embedded_window::vusk_embedded_window(wxWindow *parent, wxWindowID id, const wxString &name,
                                           const wxPoint &position, const wxSize &size, long style)
    : bitmap_size_(std::max(size.x, 1), std::max(size.y, 1))
{
    // The whole window is painted from the bitmap: the toolkit must not clear it.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Create(parent, id, position, size, style, name);
}

vusk_embedded_window::~vusk_embedded_window()
{
    stop_animation();
    if (walk_current == this)
        walk_current = nullptr;
}

int vusk_embedded_window::animation_callback(int) { return 0; }

void vusk_embedded_window::SetSize(int x, int y, int width, int height, int size_flags)
{
    apply_size(x, y, width, height, size_flags);
}

void vusk_embedded_window::SetSize(int width, int height)
{
    apply_size(wxDefaultCoord, wxDefaultCoord, width, height, wxSIZE_USE_EXISTING);
}

// The bitmap's size is compared, not the toolkit's idea of the window size,
// so that after every call the bitmap has exactly the size asked for.
void vusk_embedded_window::apply_size(int x, int y, int width, int height, int size_flags)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    const bool changed = wxSize(width, height) != bitmap_size_;
    if (changed) {
        bitmap_size_ = wxSize(width, height);
        bitmap_.reset();
    }
    wxWindow::SetSize(x, y, width, height, size_flags);
    resize(changed ? 1 : 0);
}

void vusk_embedded_window::ResetSize() { resize(1); }

const vusk_bitmap &vusk_embedded_window::backing_bitmap() const { return bitmap(); }

vusk_bitmap &vusk_embedded_window::bitmap() const
{
    if (bitmap_ == nullptr)
        bitmap_ = std::make_unique<vusk_bitmap>(bitmap_size_.x, bitmap_size_.y);
    return *bitmap_;
}

// Outside the toolkit's paint cycle nothing keeps the blit off the child
// windows (a panel floating over the text, the sky in the status bar), so
// their places are left out.
void vusk_embedded_window::repaint()
{
    // Nothing is drawn before the X window exists: its first paint draws all.
    if (!can_draw_on(*this))
        return;
    vusk_bitmap &drawn = bitmap();
    repaint_dc(drawn);
    std::vector<wxRect> children;
    for (const wxWindow *child : GetChildren()) {
        if (child->IsShown() && !child->IsTopLevel())
            children.push_back(child->GetRect());
    }
    blit_.draw_on_window(*this, drawn, wxRect(wxPoint(0, 0), bitmap_size_), children);
}

// A queued call goes with the window when it is destroyed first.
void vusk_embedded_window::repaint_soon()
{
    if (repaint_queued_)
        return;
    repaint_queued_ = true;
    CallAfter([this] {
        repaint_queued_ = false;
        repaint();
    });
}

void vusk_embedded_window::repaint_handler(wxPaintEvent &)
{
    if (!IsShownOnScreen())
        return;
    vusk_bitmap &drawn = bitmap();
    repaint_dc(drawn);
    // Often only a strip needs it (a scrollbar or a panel above moved).
    blit_.draw_in_paint(*this, drawn, GetUpdateRegion().GetBox());
}

void vusk_embedded_window::resize_handler(wxSizeEvent &) {}

void vusk_embedded_window::discard_erase_event_handler(wxEraseEvent &) {}

void vusk_embedded_window::start_animation()
{
    if (in_animation_list_)
        return;
    next_animating_ = animation_list;
    animation_list = this;
    in_animation_list_ = true;
}

void vusk_embedded_window::stop_animation()
{
    if (!in_animation_list_)
        return;
    vusk_embedded_window **link = &animation_list;
    while (*link != this)
        link = &(*link)->next_animating_;
    *link = next_animating_;
    if (walk_next == this)
        walk_next = next_animating_;
    next_animating_ = nullptr;
    in_animation_list_ = false;
}

// A callback may stop, start or destroy any window, itself included: the walk
// keeps its place in walk_next, which stop_animation moves on when it takes
// that window out. A walk started from inside a callback does nothing.
void vusk_embedded_window::animation_update(int milliseconds)
{
    if (walking)
        return;
    walking = true;
    walk_next = animation_list;
    while (walk_next != nullptr) {
        walk_current = walk_next;
        walk_next = walk_current->next_animating_;
        const int keep = walk_current->animation_callback(milliseconds);
        if (keep == 0 && walk_current != nullptr)
            walk_current->stop_animation();
    }
    walk_current = nullptr;
    walking = false;
}
