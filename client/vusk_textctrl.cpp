#include "vusk_textctrl.h"

#include "clipboard.h"
#include "display_calls.h"
#include "vusk_font.h"

#include <algorithm>
#include <cstring>

namespace {
// The longest piece of text the store draws at once: one raw chunk.
constexpr int longest_piece = 7999;

// Draws the store's text into a window's bitmap with a glyph font.
class bitmap_painter : public textctrl_painter {
public:
    bitmap_painter(vusk_bitmap &bitmap, const vusk_font *font) : bitmap(bitmap), font(font) {}

    void clear(const vusk_color &background) override { bitmap.Clear(background); }

    void draw_text(int x, int y, const char *text, int length, const vusk_color &colour, bool selected) override
    {
        if (font == nullptr)
            return;
        // Pieces are slices of longer text; the glyph renderer wants it terminated.
        length = std::clamp(length, 0, longest_piece);
        std::memcpy(piece, text, size_t(length));
        piece[length] = '\0';
        if (selected)
            bitmap.RenderText(*font, piece, x, y, colour, selected_background_color);
        else
            bitmap.RenderTextTransparent(*font, piece, x, y, colour);
    }

private:
    vusk_bitmap &bitmap;
    const vusk_font *font;
    char piece[longest_piece + 1];
};

textctrl_mouse_event::kind_type kind_of(const wxMouseEvent &event)
{
    using kind = textctrl_mouse_event;
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_LEFT_DOWN)
        return kind::left_press;
    if (type == wxEVT_LEFT_DCLICK)
        return kind::left_double_click;
    if (type == wxEVT_LEFT_UP)
        return kind::left_release;
    if (type == wxEVT_RIGHT_DOWN || type == wxEVT_MIDDLE_DOWN || type == wxEVT_RIGHT_DCLICK ||
        type == wxEVT_MIDDLE_DCLICK)
        return kind::other_press;
    if (type == wxEVT_MOTION)
        return kind::motion;
    if (type == wxEVT_MOUSEWHEEL && event.GetWheelAxis() == wxMOUSE_WHEEL_VERTICAL)
        return kind::wheel;
    return kind::other;
}
}

wxBEGIN_EVENT_TABLE(vusk_textctrl, vusk_embedded_window)
    EVT_LEFT_DOWN(vusk_textctrl::mouse_event_handler)
    EVT_LEFT_DCLICK(vusk_textctrl::mouse_event_handler)
    EVT_LEFT_UP(vusk_textctrl::mouse_event_handler)
    EVT_MIDDLE_DOWN(vusk_textctrl::mouse_event_handler)
    EVT_MIDDLE_DCLICK(vusk_textctrl::mouse_event_handler)
    EVT_RIGHT_DOWN(vusk_textctrl::mouse_event_handler)
    EVT_RIGHT_DCLICK(vusk_textctrl::mouse_event_handler)
    EVT_MOTION(vusk_textctrl::mouse_event_handler)
    EVT_MOUSEWHEEL(vusk_textctrl::mouse_event_handler)
    EVT_MOUSE_CAPTURE_LOST(vusk_textctrl::mouse_capture_lost_handler)
    EVT_SET_FOCUS(vusk_textctrl::OnFocusGot)
wxEND_EVENT_TABLE()

vusk_textctrl::vusk_textctrl(wxWindow *parent, int id, const wxString &name, const wxPoint &pos,
                             const wxSize &size, long style)
    : vusk_embedded_window(parent, id, name, pos, size, style)
{
    const wxSize client = GetClientSize();
    set_view_size(std::max(client.x, 1), std::max(client.y, 1));
}

vusk_textctrl::~vusk_textctrl()
{
    if (HasCapture())
        ReleaseMouse();
}

void vusk_textctrl::set_display_font(vusk_font *display_font)
{
    font = display_font;
    recalc_font_sizes();
}

// Widths of every byte value from the glyphs (none for bytes without one) and
// the height of the glyph "f", a pixel less in compact mode.
void vusk_textctrl::recalc_font_sizes()
{
    int widths[256] = {};
    int height = 0;
    if (font != nullptr) {
        for (int code = 0; code < 256; ++code)
            font->GetCharacterSize(code, &widths[code], nullptr);
        font->GetCharacterSize('f', nullptr, &height);
        if (display_frame().compact_font())
            --height;
    }
    set_glyph_metrics(widths, height);
}

void vusk_textctrl::resize(int)
{
    const wxSize client = GetClientSize();
    set_view_size(std::max(client.x, 1), std::max(client.y, 1));
    repaint();
}

int vusk_textctrl::animation_callback(int milliseconds)
{
    return animation_step(milliseconds);
}

void vusk_textctrl::repaint_dc(vusk_bitmap &bitmap)
{
    bitmap_painter painter(bitmap, font);
    paint(painter);
}

void vusk_textctrl::mouse_event_handler(wxMouseEvent &event)
{
    textctrl_mouse_event mapped;
    mapped.kind = kind_of(event);
    mapped.x = event.GetX();
    mapped.y = event.GetY();
    mapped.button_held = event.ButtonIsDown(wxMOUSE_BTN_ANY);
    mapped.wheel_rotation = event.GetWheelRotation();
    mapped.wheel_delta = event.GetWheelDelta();
    switch (handle_mouse(mapped)) {
    case textctrl_capture::take:
        if (!HasCapture())
            CaptureMouse();
        break;
    case textctrl_capture::release:
        if (HasCapture())
            ReleaseMouse();
        break;
    case textctrl_capture::keep:
        break;
    }
}

void vusk_textctrl::mouse_capture_lost_handler(wxMouseCaptureLostEvent &)
{
    mouse_capture_lost();
}

void vusk_textctrl::OnFocusGot(wxFocusEvent &event)
{
    if (!focus_back_to_command_line(this))
        event.Skip();
}

void vusk_textctrl::refresh_view()
{
    repaint_soon();
}

void vusk_textctrl::repaint_view()
{
    repaint();
}

void vusk_textctrl::begin_animation()
{
    start_animation();
}

void vusk_textctrl::put_on_clipboard(const std::string &text)
{
    set_clipboard_data(text.c_str());
}

int vusk_textctrl::url_hotlinking() const
{
    return display_frame().url_hotlinking();
}
