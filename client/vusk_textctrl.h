#ifndef VUSK_TEXTCTRL_H
#define VUSK_TEXTCTRL_H

// The scrollback of a terminal window on the screen: the store of
// textctrl_store drawn into the window's bitmap with a glyph font, fed with
// the window's mouse, focus and animation steps.

#include "textctrl_store.h"
#include "vusk_embedded_window.h"

class vusk_font;

class vusk_textctrl : public vusk_embedded_window, public textctrl_store {
public:
    vusk_textctrl(wxWindow *parent, int id, const wxString &name, const wxPoint &pos, const wxSize &size,
                  long style);

    ~vusk_textctrl() override;

    // The font to draw with (not owned; null draws nothing); re-wraps.
    void set_display_font(vusk_font *display_font);

    void resize(int changed) override;
    int animation_callback(int milliseconds) override;
    void repaint_dc(vusk_bitmap &bitmap) override;

    void mouse_event_handler(wxMouseEvent &event);
    void mouse_capture_lost_handler(wxMouseCaptureLostEvent &event);
    void OnFocusGot(wxFocusEvent &event);

protected:
    void refresh_view() override;
    void repaint_view() override;
    void begin_animation() override;
    void put_on_clipboard(const std::string &text) override;
    int url_hotlinking() const override;

private:
    void recalc_font_sizes();

    vusk_font *font = nullptr;

    wxDECLARE_EVENT_TABLE();
};

#endif
