#ifndef VUSK_THEME_H
#define VUSK_THEME_H

// The button and background colour themes. The player picks one of nine
// colour families for each; the configuration stores the choice as a theme
// code and painters read the slots of the two current tables at paint time.

#include "vusk_color.h"

// A button table: slots 0 and 1 serve the automap panel and thin borders;
// from slot 2 on, each button state takes three slots: edge, fill, text.
constexpr int button_theme_slot_count = 26;

enum background_theme_slot { background_bright = 0, background_mid = 1, background_dark = 2 };
constexpr int background_theme_slot_count = 3;

// Theme codes, as the menus, the configuration files and the settings status
// line spell them. Any code not listed selects the blue tables.
constexpr int theme_code_yellow = 0;
constexpr int theme_code_blue = 1;
constexpr int theme_code_red = 2;
constexpr int theme_code_brown = 40;
constexpr int theme_code_ygreen = 50;
constexpr int theme_code_green = 60;
constexpr int theme_code_cyan = 70;
constexpr int theme_code_purple = 80;
constexpr int theme_code_grey = 90;

extern const vusk_color button_theme_red[button_theme_slot_count];
extern const vusk_color button_theme_brown[button_theme_slot_count];
extern const vusk_color button_theme_yellow[button_theme_slot_count];
extern const vusk_color button_theme_ygreen[button_theme_slot_count];
extern const vusk_color button_theme_green[button_theme_slot_count];
extern const vusk_color button_theme_cyan[button_theme_slot_count];
extern const vusk_color button_theme_blue[button_theme_slot_count];
extern const vusk_color button_theme_purple[button_theme_slot_count];
extern const vusk_color button_theme_grey[button_theme_slot_count];

extern const vusk_color background_theme_red[background_theme_slot_count];
extern const vusk_color background_theme_brown[background_theme_slot_count];
extern const vusk_color background_theme_yellow[background_theme_slot_count];
extern const vusk_color background_theme_ygreen[background_theme_slot_count];
extern const vusk_color background_theme_green[background_theme_slot_count];
extern const vusk_color background_theme_cyan[background_theme_slot_count];
extern const vusk_color background_theme_blue[background_theme_slot_count];
extern const vusk_color background_theme_purple[background_theme_slot_count];
extern const vusk_color background_theme_grey[background_theme_slot_count];

// The tables of a theme code; blue for any code that names no family.
const vusk_color *button_theme_for_code(int code);
const vusk_color *background_theme_for_code(int code);

// The selected tables. They start as the tables chosen when no configuration
// is loaded yet (yellow for both), so a painter never meets a null table.
extern const vusk_color *current_button_theme;
extern const vusk_color *current_background_theme;

// Point the current tables at the codes of the current configuration.
void switch_button_theme();
void switch_background_theme();
void reset_theme();

#endif
