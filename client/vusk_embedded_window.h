#ifndef VUSK_EMBEDDED_WINDOW_H
#define VUSK_EMBEDDED_WINDOW_H

// The base of every window the client draws itself. It owns an off-screen
// bitmap of exactly its own size; a subclass paints the whole content into it
// in repaint_dc and the base puts it on the screen in one blit, never letting
// the toolkit erase the window first. The bitmap is made when it is first
// drawn into or read: a window never shown (a popup the player never opens)
// holds no pixels.
//
// Windows that are animating sit in one process-wide list, advanced by the
// main tick through animation_update. Sizes change only through this class's
// SetSize operations (the toolkit's SetSize is not virtual: call them through
// a pointer of this type, and keep these windows out of sizers).

#include "screen_blit.h"
#include "vusk_bitmap.h"

#include <wx/window.h>

#include <memory>

class vusk_embedded_window : public wxWindow {
public:
    static constexpr int FLASH_PERIOD_MS = 200;

    vusk_embedded_window(wxWindow *parent, wxWindowID id, const wxString &name, const wxPoint &position,
                         const wxSize &size, long style);
    ~vusk_embedded_window() override;
    vusk_embedded_window(const vusk_embedded_window &) = delete;
    vusk_embedded_window &operator=(const vusk_embedded_window &) = delete;

    using wxWindow::SetSize;

    // Called after every size change: 1 when the size changed (the backing
    // bitmap is then made anew), 0 when it stayed the same.
    virtual void resize(int changed) = 0;
    // One animation step of `milliseconds`; returning 0 leaves the list.
    virtual int animation_callback(int milliseconds);
    // Sizes below 1 become 1. The flags are the toolkit's; taking them
    // gives this the toolkit's own parameter list, so it hides that overload
    // instead of standing beside it (a four-argument call is then this one
    // on every compiler).
    virtual void SetSize(int x, int y, int width, int height, int size_flags = wxSIZE_AUTO);
    virtual void SetSize(int width, int height);
    virtual void ResetSize();
    // Paints the whole content of the window.
    virtual void repaint_dc(vusk_bitmap &bitmap) = 0;

    // Paints into the backing bitmap and puts it on the screen, only while
    // the window is shown.
    void repaint();
    // Paints as repaint does, once the events queued now are handled: many
    // changes in one pass of the event loop cost one paint, and the paint
    // goes straight to the window instead of through the toolkit's paint
    // buffer.
    void repaint_soon();

    void start_animation();
    void stop_animation();
    bool is_animating() const { return in_animation_list_; }
    // Calls every animating window once; windows started during the walk are
    // first called by the next one.
    static void animation_update(int milliseconds);

    // Made, black, when nothing has drawn into it yet.
    const vusk_bitmap &backing_bitmap() const;

protected:
    // The attention flash some subclasses run through the animation list.
    int flash_shown = 0;
    int flash_count = 0;
    int flash_elapsed = 0;
    int flash_period = FLASH_PERIOD_MS;

private:
    void apply_size(int x, int y, int width, int height, int size_flags);
    void repaint_handler(wxPaintEvent &event);
    void resize_handler(wxSizeEvent &event);
    void discard_erase_event_handler(wxEraseEvent &event);

    vusk_bitmap &bitmap() const;

    // The size the bitmap has, or is given when it is made.
    wxSize bitmap_size_;
    mutable std::unique_ptr<vusk_bitmap> bitmap_;
    screen_blit blit_;
    vusk_embedded_window *next_animating_ = nullptr;
    bool in_animation_list_ = false;
    bool repaint_queued_ = false;

    static vusk_embedded_window *animation_list;
    // During a walk: the window to be called next, and the one being called
    // (cleared when it is destroyed by its own callback).
    static vusk_embedded_window *walk_next;
    static vusk_embedded_window *walk_current;
    static bool walking;

    wxDECLARE_EVENT_TABLE();
};

#endif
