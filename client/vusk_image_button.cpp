#include "vusk_image_button.h"

#include "borders.h"
#include "button_calls.h"
#include "button_label.h"
#include "button_mouse.h"
#include "mouse_event_table.h"
#include "native_window.h"
#include "newbie_flash.h"
#include "vusk_audio.h"
#include "vusk_font.h"
#include "vusk_theme.h"

#include <wx/app.h>

#include <algorithm>
#include <optional>

std::vector<vusk_image_button *> vusk_image_button::waiting_for_pointer;

namespace {

// A press reaches the subclass as this id, whatever the button's own.
constexpr int click_event_id = 0;
// The label may not touch the bevel.
constexpr int label_side_room = 2;

button_mouse_kind kind_of(const wxMouseEvent &event)
{
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_LEFT_DOWN)
        return button_mouse_kind::left_down;
    if (type == wxEVT_LEFT_UP)
        return button_mouse_kind::left_up;
    if (type == wxEVT_MIDDLE_DOWN || type == wxEVT_RIGHT_DOWN)
        return button_mouse_kind::other_down;
    if (type == wxEVT_ENTER_WINDOW)
        return button_mouse_kind::enter;
    if (type == wxEVT_LEAVE_WINDOW)
        return button_mouse_kind::leave;
    return button_mouse_kind::other;
}

} // namespace

wxBEGIN_EVENT_TABLE(vusk_image_button, vusk_embedded_window)
    VUSK_EVT_MOUSE_13(vusk_image_button::mouse_event_handler)
wxEND_EVENT_TABLE()

vusk_image_button::vusk_image_button(wxWindow *parent, int id)
    : vusk_embedded_window(parent, id, wxS("image button"), wxDefaultPosition,
                           wxSize(INITIAL_SIZE, INITIAL_SIZE), wxBORDER_NONE)
{
}

vusk_image_button::~vusk_image_button()
{
    if (waits_for_pointer)
        waiting_for_pointer.erase(std::remove(waiting_for_pointer.begin(), waiting_for_pointer.end(), this),
                                  waiting_for_pointer.end());
}

bool vusk_image_button::Show(bool show)
{
    if (show != IsShown())
        hover = false;
    const bool changed = vusk_embedded_window::Show(show);
    if (changed && show)
        follow_pointer_soon();
    return changed;
}

void vusk_image_button::SetSize(int x, int y, int width, int height, int size_flags)
{
    const wxRect before = GetRect();
    vusk_embedded_window::SetSize(x, y, width, height, size_flags);
    if (GetRect() != before)
        follow_pointer_soon();
}

void vusk_image_button::SetSize(int width, int height)
{
    const wxSize before = GetSize();
    vusk_embedded_window::SetSize(width, height);
    if (GetSize() != before)
        follow_pointer_soon();
}

// The toolkit's enter and leave events do not always come when the button
// moves instead of the pointer (see pointer_spot). Asking where the pointer
// is takes the X server a round trip: a relayout that moves many buttons, or
// one button many times, asks once, once the event loop runs again.
void vusk_image_button::follow_pointer_soon()
{
    if (waits_for_pointer)
        return;
    waits_for_pointer = true;
    if (waiting_for_pointer.empty())
        wxTheApp->CallAfter([] { follow_pointer_all_waiting(); });
    waiting_for_pointer.push_back(this);
}

void vusk_image_button::follow_pointer_all_waiting()
{
    std::vector<vusk_image_button *> buttons;
    buttons.swap(waiting_for_pointer);
    std::optional<pointer_spot> pointer;
    for (vusk_image_button *button : buttons) {
        button->waits_for_pointer = false;
        if (button->button_state == button_disabled)
            continue;
        if (!pointer)
            pointer.emplace();
        button->follow_pointer(*pointer);
    }
}

void vusk_image_button::follow_pointer(pointer_spot &pointer)
{
    const bool over = pointer.is_over(*this);
    if (over == hover)
        return;
    hover = over;
    Refresh(false);
}

void vusk_image_button::set_image(button_image_index index, const vusk_bitmap &image)
{
    images[index] = image;
    if (index == image_default_hover)
        has_default_hover = true;
    if (index == image_clicked_hover)
        has_clicked_hover = true;
    Refresh(false);
}

void vusk_image_button::set_image_default(const vusk_bitmap &image) { set_image(image_default, image); }

void vusk_image_button::set_image_default_hover(const vusk_bitmap &image) { set_image(image_default_hover, image); }

void vusk_image_button::set_image_clicked(const vusk_bitmap &image) { set_image(image_clicked, image); }

void vusk_image_button::set_image_clicked_hover(const vusk_bitmap &image) { set_image(image_clicked_hover, image); }

void vusk_image_button::set_image_disabled(const vusk_bitmap &image) { set_image(image_disabled, image); }

void vusk_image_button::set_button_state(int state)
{
    button_state = state;
    Refresh(false);
}

void vusk_image_button::set_enabled(int enabled)
{
    hover = false;
    set_button_state(enabled ? button_up : button_disabled);
}

void vusk_image_button::mouse_event_handler(wxMouseEvent &event)
{
    button_mouse_state state{button_state, hover};
    const button_mouse_result result = apply_button_mouse(state, toggle_mode != 0, kind_of(event));
    button_state = state.button_state;
    hover = state.hover;
    if (result.click)
        fire_click();
    if (result.changed)
        Refresh(false);
}

void vusk_image_button::fire_click()
{
    wxCommandEvent click(wxEVT_BUTTON, click_event_id);
    click.SetEventObject(this);
    GetEventHandler()->AddPendingEvent(click);
    // The sound system owns the click from here on.
    new vusk_audio_noise_tick;
}

void vusk_image_button::images_changed()
{
    images_stale = true;
    Refresh(false);
}

void vusk_image_button::repaint_dc(vusk_bitmap &bitmap)
{
    if (images_stale) {
        images_stale = false;
        paint_images();
    }
    const vusk_bitmap &image = images[shown_button_image(button_state, hover, has_default_hover, has_clicked_hover)];
    if (image.GetWidth() < bitmap.GetWidth() || image.GetHeight() < bitmap.GetHeight())
        bitmap.Clear(vusk_BLACK);
    bitmap.DrawBitmap(image, 0, 0);
    if (flash_count > 0)
        draw_thin_border(bitmap, flash_count % 2 ? vusk_WHITE : vusk_BLACK, bitmap.GetWidth(), bitmap.GetHeight());
}

void vusk_image_button::start_newbie_demo_mode_flashing()
{
    start_newbie_flash({flash_shown, flash_count, flash_elapsed, flash_period});
    start_animation();
    flash_shown = flash_count;
    repaint();
}

int vusk_image_button::animation_callback(int milliseconds)
{
    if (advance_newbie_flash_one_step({flash_shown, flash_count, flash_elapsed, flash_period}, milliseconds))
        repaint();
    return flash_count > 0;
}

void vusk_image_button::draw_button_background(vusk_bitmap &bitmap, const vusk_color &fill, const vusk_color &,
                                               int bevel)
{
    bitmap.Clear(fill);
    draw_shading(bitmap, bitmap.GetWidth(), bitmap.GetHeight(), fill, bevel);
}

void vusk_image_button::draw_shading(vusk_bitmap &bitmap, int w, int h, const vusk_color &c, int bevel)
{
    if (bevel == bevel_none)
        return;
    const vusk_color light = bevel_light(c);
    const vusk_color dark = bevel_dark(c);
    const vusk_color &top_left = bevel == bevel_raised ? light : dark;
    const vusk_color &bottom_right = bevel == bevel_raised ? dark : light;
    bitmap.with_pixels([&](pixel_view &view) {
        view.DrawLine(0, 1, 0, h - 1, top_left);
        view.DrawLine(1, 1, 1, h - 2, top_left);
        view.DrawLine(1, 0, w - 1, 0, top_left);
        view.DrawLine(1, 1, w - 2, 1, top_left);
        view.DrawLine(w - 1, 1, w - 1, h - 1, bottom_right);
        view.DrawLine(w - 2, 2, w - 2, h - 2, bottom_right);
        view.DrawLine(1, h - 1, w - 1, h - 1, bottom_right);
        view.DrawLine(2, h - 2, w - 2, h - 2, bottom_right);
    });
}

int vusk_image_button::get_max_char_count(const vusk_font *font, const char *text, int w, int)
{
    if (font == nullptr || text == nullptr)
        return 0;
    return count_fitting_chars(text, w - label_side_room, [font](char c) {
        const vusk_bitmap *glyph = font->glyph(c);
        return glyph != nullptr ? glyph->GetWidth() : 0;
    });
}

void vusk_image_button::paint_state_images(const button_image_recipes &recipes, const text_painter &draw_text)
{
    const wxSize size = GetClientSize();
    vusk_bitmap bitmap(size.GetWidth(), size.GetHeight());
    for (int index = 0; index < button_image_count; ++index) {
        const button_image_recipe &recipe = recipes[index];
        const vusk_color &fill = current_button_theme[recipe.fill];
        draw_button_background(bitmap, fill, fill, recipe.bevel);
        if (recipe.border != no_theme_slot)
            draw_thin_border(bitmap, current_button_theme[recipe.border], bitmap.GetWidth(), bitmap.GetHeight());
        draw_text(bitmap, recipe.text != no_theme_slot ? &current_button_theme[recipe.text] : nullptr);
        // Called from a paint: the image needs no paint of its own.
        images[index] = bitmap;
    }
    has_default_hover = true;
    has_clicked_hover = true;
}

void vusk_image_button::hand_back_to_command_line()
{
    focus_back_to_command_line(this);
    button_frame().enable_scrolling();
}
