#ifndef VUSK_BUTTON_H
#define VUSK_BUTTON_H

// A drawn button with a text label, painted from the current button theme:
// the label centred, cut to the characters that fit. A highlighted button
// (the default) uses the brighter colours when up; toggle mode uses colours
// of its own when down. The images are painted again whenever the label, the
// highlight or the size changes (before the button next shows one); a theme
// change reaches the button through its owner, which calls redraw_bitmaps().

#include "button_label.h"
#include "vusk_image_button.h"

class vusk_button : public vusk_image_button {
public:
    vusk_button(wxWindow *parent, int id);

    // At most 400 characters are kept; a null text gives the empty label.
    void set_name(const char *text);
    const char *get_name() const { return name; }
    void highlight(int on);

    // Paints the images again when the size changed.
    void resize(int changed) override;
    virtual void redraw_bitmaps();

    // The label centred in the large button font, as much of it as fits.
    void draw_button_text(vusk_bitmap &bitmap, const char *text, const vusk_color &colour);

protected:
    void paint_images() override;

private:
    char name[button_text_max + 1] = "";
    int highlighted = 1;
};

#endif
