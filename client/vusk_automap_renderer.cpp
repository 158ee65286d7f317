#include "vusk_automap_renderer.h"

#include "global_fonts.h"
#include "nrandom.h"
#include "panel_calls.h"
#include "tqconfig.h"
#include "vusk_audio.h"
#include "vusk_font.h"

namespace {

constexpr int initial_window_size = 20;
// The slide's step varies by up to this many pixels at random.
constexpr int step_jitter_range = 4;

bool player_logged_in()
{
    return panel_frame().logged_in();
}

}

wxBEGIN_EVENT_TABLE(vusk_automap_renderer, vusk_embedded_window)
    EVT_SET_FOCUS(vusk_automap_renderer::focus_handler)
    EVT_LEFT_DOWN(vusk_automap_renderer::mouse_event_handler)
    EVT_LEFT_UP(vusk_automap_renderer::mouse_event_handler)
    EVT_LEFT_DCLICK(vusk_automap_renderer::mouse_event_handler)
    EVT_MIDDLE_DOWN(vusk_automap_renderer::mouse_event_handler)
    EVT_MIDDLE_UP(vusk_automap_renderer::mouse_event_handler)
    EVT_MIDDLE_DCLICK(vusk_automap_renderer::mouse_event_handler)
    EVT_RIGHT_DOWN(vusk_automap_renderer::mouse_event_handler)
    EVT_RIGHT_UP(vusk_automap_renderer::mouse_event_handler)
    EVT_RIGHT_DCLICK(vusk_automap_renderer::mouse_event_handler)
    EVT_MOTION(vusk_automap_renderer::mouse_event_handler)
    EVT_ENTER_WINDOW(vusk_automap_renderer::mouse_event_handler)
    EVT_LEAVE_WINDOW(vusk_automap_renderer::mouse_event_handler)
    EVT_MOUSEWHEEL(vusk_automap_renderer::mouse_event_handler)
wxEND_EVENT_TABLE()

vusk_automap_renderer::vusk_automap_renderer(wxWindow *parent, int id, const wxString &name)
    : vusk_embedded_window(parent, id, name, wxDefaultPosition, wxSize(initial_window_size, initial_window_size),
                           wxBORDER_NONE),
      model_(sane_automap_size(TConfig::Instance()->GetAutomapSize()))
{
    recalc_sizes();
}

void vusk_automap_renderer::display_socket_data(const char *data, int length)
{
    if (model_.display_socket_data(data, length))
        request_picture();
}

void vusk_automap_renderer::walk_fail(const char *data, int)
{
    // The sound hands itself to the sound system.
    if (model_.walk_fail(data))
        new vusk_audio_wall_bump;
}

void vusk_automap_renderer::full_clear()
{
    model_.full_clear();
    redraw();
}

void vusk_automap_renderer::periodic_update()
{
    const automap_step step = model_.periodic_update(xrand(step_jitter_range));
    if (step == automap_step::parsed)
        request_picture();
    if (step != automap_step::idle || paint_due_)
        repaint();
}

void vusk_automap_renderer::redraw()
{
    request_picture();
    draw_requested_picture();
}

// Logged out the picture stays black, also after a later login, until the
// next map.
void vusk_automap_renderer::request_picture()
{
    picture_request_ = player_logged_in() ? picture_request::map : picture_request::blank;
    model_.start_animating();
}

void vusk_automap_renderer::draw_requested_picture()
{
    if (picture_request_ == picture_request::none)
        return;
    pixel_view &picture = map_bitmap_->view();
    picture.Clear(vusk_BLACK);
    if (picture_request_ == picture_request::map)
        draw_automap(picture, model_.grid(), cell_size());
    picture_request_ = picture_request::none;
    ++pictures_drawn_;
}

void vusk_automap_renderer::set_size(int cell_size)
{
    model_.set_cell_size(sane_automap_size(cell_size));
    recalc_sizes();
    redraw();
}

void vusk_automap_renderer::incr_size()
{
    set_size(cell_size() + 2);
}

void vusk_automap_renderer::decr_size()
{
    set_size(cell_size() - 2);
}

void vusk_automap_renderer::recalc_sizes()
{
    window_size_ = automap_window_size(cell_size());
    TConfig::Instance()->SetAutomapSize(cell_size());
    const int picture_size = automap_bitmap_size(cell_size()) + 1;
    map_bitmap_ = std::make_unique<automap_canvas>(picture_size, picture_size);
}

void vusk_automap_renderer::set_exit_mask(int exit_mask)
{
    if (exit_mask == exit_mask_)
        return;
    exit_mask_ = exit_mask;
    if (mouse_inside_)
        paint_due_ = true;
}

void vusk_automap_renderer::repaint_dc(vusk_bitmap &bitmap)
{
    draw_requested_picture();
    paint_due_ = false;
    ++paint_count_;
    const bool logged_in = player_logged_in();
    const int zoom = model_.zoom_counter();
    bitmap.with_pixels([&](pixel_view &view) {
        if (!logged_in) {
            view.Clear(vusk_BLACK);
        } else if (zoom != 0) {
            draw_zoom_frames(view, cell_size(), zoom);
        } else {
            paint_map_picture(view, map_bitmap_->view(), cell_size(), model_.offset());
            draw_player_marker(view, cell_size(), player_marker_color(model_.grid()));
            if (mouse_inside_)
                draw_compass_arrows(view, window_size_, hover_sector_, exit_mask_);
        }
    });
    if (logged_in && zoom == 0 && mouse_inside_)
        draw_compass_labels(bitmap);
}

// Each label centred on its arrow: single letters measured as "W", pairs as
// "NW", so that all labels of a kind sit alike.
void vusk_automap_renderer::draw_compass_labels(vusk_bitmap &bitmap)
{
    if (global_font == nullptr)
        return;
    for (const compass_target &target : compass_targets(window_size_)) {
        int width = 0, height = 0;
        global_font->GetTextSize(target.label_measure, &width, &height);
        const compass_colors colors = compass_target_colors(target, hover_sector_, exit_mask_);
        bitmap.RenderTextTransparent(*global_font, target.label, target.x - width / 2, target.y - height / 2,
                                     colors.label);
    }
}

void vusk_automap_renderer::mouse_event_handler(wxMouseEvent &event)
{
    if (!player_logged_in())
        return;
    const int sector = calc_mouseover_sector(event.GetX(), event.GetY(), window_size_, cell_size());
    const bool crossed = event.Entering() || event.Leaving();
    if (crossed)
        mouse_inside_ = event.Entering();
    if (event.LeftDown()) {
        if (const char *command = compass_command(sector))
            panel_frame().handle_async_control_command(command, 1);
    }
    const bool changed = sector != hover_sector_;
    hover_sector_ = sector;
    if (changed || crossed)
        repaint();
}

void vusk_automap_renderer::focus_handler(wxFocusEvent &event)
{
    if (!focus_back_to_command_line(this))
        event.Skip();
}
