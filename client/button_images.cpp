#include "button_images.h"

#include <algorithm>

namespace {

// Slots of the button theme (see vusk_theme.h).
constexpr int highlighted_fill = 3;
constexpr int highlighted_text = 4;
constexpr int highlighted_hover_border = 5;
constexpr int highlighted_hover_fill = 6;
constexpr int highlighted_hover_text = 7;
constexpr int plain_fill = 9;
constexpr int plain_text = 10;
constexpr int plain_hover_border = 11;
constexpr int plain_hover_fill = 12;
constexpr int plain_hover_text = 13;
constexpr int clicked_border = 14;
constexpr int clicked_fill = 15;
constexpr int clicked_text = 16;
constexpr int toggled_fill = 18;
constexpr int toggled_text = 19;
constexpr int toggled_hover_border = 20;
constexpr int toggled_hover_fill = 21;
constexpr int toggled_hover_text = 22;
constexpr int disabled_fill = 24;
constexpr int disabled_text = 25;

constexpr int light_bias = 96;

} // namespace

button_image_recipes text_button_recipes(bool toggle_mode, bool highlighted)
{
    button_image_recipes r;
    if (toggle_mode) {
        r[image_clicked] = {toggled_fill, bevel_sunken, no_theme_slot, toggled_text};
        r[image_clicked_hover] = {toggled_hover_fill, bevel_sunken, toggled_hover_border, toggled_hover_text};
    } else {
        r[image_clicked] = {clicked_fill, bevel_sunken, no_theme_slot, clicked_text};
        r[image_clicked_hover] = {clicked_fill, bevel_sunken, clicked_border, clicked_text};
    }
    if (highlighted) {
        r[image_default] = {highlighted_fill, bevel_raised, no_theme_slot, highlighted_text};
        r[image_default_hover] = {highlighted_hover_fill, bevel_raised, highlighted_hover_border,
                                  highlighted_hover_text};
    } else {
        r[image_default] = {plain_fill, bevel_raised, no_theme_slot, plain_text};
        r[image_default_hover] = {plain_hover_fill, bevel_raised, plain_hover_border, plain_hover_text};
    }
    r[image_disabled] = {disabled_fill, bevel_raised, no_theme_slot, disabled_text};
    return r;
}

button_image_recipes fkey_button_recipes(bool enabled)
{
    button_image_recipes r;
    // The key name shows on every image; the label only on a key with one.
    r[image_clicked] = {clicked_fill, bevel_sunken, clicked_border, enabled ? clicked_text : no_theme_slot};
    r[image_clicked_hover] = r[image_clicked];
    if (enabled) {
        r[image_default] = {highlighted_fill, bevel_raised, no_theme_slot, highlighted_text};
        r[image_default_hover] = {highlighted_hover_fill, bevel_raised, highlighted_hover_border,
                                  highlighted_hover_text};
        r[image_disabled] = {disabled_fill, bevel_raised, no_theme_slot, disabled_text};
    } else {
        r[image_default] = {disabled_fill, bevel_raised, no_theme_slot, no_theme_slot};
        r[image_default_hover] = {plain_fill, bevel_raised, plain_hover_border, no_theme_slot};
        r[image_disabled] = {disabled_fill, bevel_raised, no_theme_slot, no_theme_slot};
    }
    return r;
}

vusk_color bevel_light(const vusk_color &face)
{
    auto light = [](int channel) { return std::min((3 * channel + light_bias) / 2, 255); };
    return {light(face.r), light(face.g), light(face.b)};
}

vusk_color bevel_dark(const vusk_color &face)
{
    return {face.r / 2, face.g / 2, face.b / 2};
}

button_image_index shown_button_image(int state, bool hover, bool has_default_hover, bool has_clicked_hover)
{
    if (state == button_up)
        return hover && has_default_hover ? image_default_hover : image_default;
    if (state == button_down)
        return hover && has_clicked_hover ? image_clicked_hover : image_clicked;
    return image_disabled;
}
