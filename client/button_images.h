#ifndef VUSK_BUTTON_IMAGES_H
#define VUSK_BUTTON_IMAGES_H

// The five images of a drawn button: which one shows in which state, and
// from which slots of the button theme each is painted. Windowless.

#include "vusk_color.h"

#include <array>

enum button_state_value { button_up = 0, button_down = 1, button_disabled = 2 };

// In the order the images are painted.
enum button_image_index {
    image_clicked,
    image_clicked_hover,
    image_default,
    image_default_hover,
    image_disabled,
    button_image_count
};

// Bevel 0 draws nothing; 1 is raised; 2 (and any other value) sunken.
enum button_bevel { bevel_none = 0, bevel_raised = 1, bevel_sunken = 2 };

// A slot of the button theme; no_theme_slot: no border, or no text.
constexpr int no_theme_slot = -1;

struct button_image_recipe {
    int fill;
    int bevel;
    int border;
    int text;
};

using button_image_recipes = std::array<button_image_recipe, button_image_count>;

// A text button: toggle mode (popup buttons) and highlighting change the
// clicked and the default images.
button_image_recipes text_button_recipes(bool toggle_mode, bool highlighted);
// A function key: a key without a label of its own is plain and shows no text.
button_image_recipes fkey_button_recipes(bool enabled);

// The two bevel colours of a face colour.
vusk_color bevel_light(const vusk_color &face);
vusk_color bevel_dark(const vusk_color &face);

// The image a button shows; a hover image only once it has been set.
button_image_index shown_button_image(int state, bool hover, bool has_default_hover, bool has_clicked_hover);

#endif
