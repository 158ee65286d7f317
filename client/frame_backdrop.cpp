#include "frame_backdrop.h"

#include "builtin_images.h"
#include "command_line.h"
#include "text_bytes.h"
#include "tqconfig.h"
#include "vusk_theme.h"

#include <wx/dcclient.h>
#include <wx/event.h>

namespace {

constexpr int web_text_point_size = 9;

// The underlined font of the web host's name under the logo.
const wxFont &background_small_font()
{
    static const wxFont font(web_text_point_size, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL,
                             wxFONTWEIGHT_NORMAL, true);
    return font;
}

wxString web_text()
{
    return bytes_to_wx(web_host_name);
}

} // namespace

void vusk_frame_backdrop::redraw_background(wxWindow &frame, int force, wxSize laid_out_size)
{
    wxSize size = frame.GetClientSize();
    if (size.x == 0 || size.y == 0)
        size = laid_out_size;
    const TConfig &config = *TConfig::Instance();
    if (background_.redraw_background(force, size.x, size.y, config.GetBackgroundStyle(),
                                      config.GetBackgroundColor(), current_background_theme))
        frame.Refresh(false);
}

void vusk_frame_backdrop::place_logo(wxWindow &frame)
{
    int text_width = 0;
    int text_height = 0;
    frame.GetTextExtent(web_text(), &text_width, &text_height, nullptr, nullptr, &background_small_font());
    const wxSize client = frame.GetClientSize();
    logo_ = compute_logo_layout(TConfig::Instance()->GetLayout(), client.x, client.y, logo_width, logo_height,
                                text_width, text_height);
}

void vusk_frame_backdrop::paint(wxWindow &frame)
{
    const vusk_bitmap *background = background_.bitmap();
    if (background == nullptr)
        return;
    // Mostly a strip needs it: a child of the frame was drawn anew.
    background_blit_.draw_in_paint(frame, *background, frame.GetUpdateRegion().GetBox());
    paint_logo(frame);
}

// Only when the paint reaches it: the frame is painted wherever a child was
// drawn anew, as often as every tick, and text is costly to draw.
void vusk_frame_backdrop::paint_logo(wxWindow &frame)
{
    const wxRect logo_area =
        wxRect(logo_.logo.x, logo_.logo.y, logo_width, logo_height)
            .Union(wxRect(logo_.rect_origin.x, logo_.rect_origin.y, logo_.rect_width, logo_.rect_height));
    if (frame.GetUpdateRegion().Contains(logo_area) == wxOutRegion)
        return;
    wxPaintDC dc(&frame);
    if (varn_ossic_logo_bitmap != nullptr)
        dc.DrawBitmap(*varn_ossic_logo_bitmap, logo_.logo.x, logo_.logo.y, true);
    dc.SetFont(background_small_font());
    dc.SetTextForeground(*wxWHITE);
    dc.SetTextBackground(*wxBLACK);
    dc.DrawText(web_text(), logo_.text.x, logo_.text.y);
}

bool vusk_frame_backdrop::logo_pressed(const wxMouseEvent &event)
{
    if (!event.LeftIsDown()) {
        logo_opened_this_press_ = false;
        return false;
    }
    if (event.LeftDown())
        logo_opened_this_press_ = false;
    if (logo_opened_this_press_ || !logo_.contains(event.GetX(), event.GetY()))
        return false;
    logo_opened_this_press_ = true;
    return true;
}
