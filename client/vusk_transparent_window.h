#ifndef VUSK_TRANSPARENT_WINDOW_H
#define VUSK_TRANSPARENT_WINDOW_H

// A rectangle on a parent window that owns no toolkit window of its own: it
// groups child windows (buttons, tabs) so that the main frame's layout can
// place, show and hide them as one. A subclass creates its children on the
// same parent (which owns and destroys them) and places them inside the
// rectangle in resize().
//
// SetSize and Show may come in any order and any number of times; the stored
// rectangle and flag always reflect the last call, and every call reaches
// the subclass (resize, show_handler) even when nothing changed.

class wxWindow;

class vusk_transparent_window {
public:
    explicit vusk_transparent_window(wxWindow *parent);
    virtual ~vusk_transparent_window() = default;
    vusk_transparent_window(const vusk_transparent_window &) = delete;
    vusk_transparent_window &operator=(const vusk_transparent_window &) = delete;

    // Stores the rectangle, in the parent's client coordinates, then resize().
    void SetSize(int x, int y, int w, int h);
    // Stores the flag (1 shown, 0 hidden), then show_handler(shown).
    void Show(int shown);

    // Shows or hides every child; a subclass that lays its children out on
    // showing calls resize() first.
    virtual void show_handler(int shown) = 0;
    // Places the children inside the rectangle.
    virtual void resize() = 0;
    // Makes every child redraw itself from the current button theme.
    virtual void change_theme() = 0;

    int get_h() const { return h; }

protected:
    int x = 0;
    int y = 0;
    int w = 10;
    int h = 10;
    int shown = 1;
    wxWindow *parent;
};

#endif
