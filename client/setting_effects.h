#ifndef VUSK_SETTING_EFFECTS_H
#define VUSK_SETTING_EFFECTS_H

// What changing a setting does on screen beside its menu item: the effect
// column of the settings table (settings_table.h). A setter calls its effect
// after storing the value, and only while the running program has handed the
// configuration its effects.

class TConfig;
class config_effects;

using setting_effect = void (*)(const TConfig &config, config_effects &effects, int value);

void relayout(const TConfig &config, config_effects &effects, int value);
void resync_text_font(const TConfig &config, config_effects &effects, int value);
void reset_scrollbars_and_refresh(const TConfig &config, config_effects &effects, int value);
void show_channel_window_and_relayout(const TConfig &config, config_effects &effects, int value);
void show_status_bar_and_relayout(const TConfig &config, config_effects &effects, int value);
void show_sky_bar_and_relayout(const TConfig &config, config_effects &effects, int value);
void show_exp_display_and_relayout(const TConfig &config, config_effects &effects, int value);
void show_hpbar_and_relayout(const TConfig &config, config_effects &effects, int value);
void show_enemy_hpbar_and_relayout(const TConfig &config, config_effects &effects, int value);
void hide_group_display_if_off_and_relayout(const TConfig &config, config_effects &effects, int value);
void change_layout(const TConfig &config, config_effects &effects, int value);
void change_button_theme(const TConfig &config, config_effects &effects, int value);
void change_background(const TConfig &config, config_effects &effects, int value);

// The panels that show only while a character is logged in, as the settings
// say.
void show_status_display_if_logged_in(const TConfig &config, config_effects &effects);
void show_status_bar_if_logged_in(const TConfig &config, config_effects &effects);

#endif
