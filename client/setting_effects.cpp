#include "setting_effects.h"

#include "config_effects.h"
#include "tqconfig.h"

namespace {

void show_status_display_part(const TConfig &config, config_effects &effects, status_display_part part,
                              int value)
{
    effects.set_status_display_part(part, value);
    show_status_display_if_logged_in(config, effects);
    relayout(config, effects, value);
}

} // namespace

void show_status_display_if_logged_in(const TConfig &config, config_effects &effects)
{
    if (effects.logged_in())
        effects.show_status_display(config.GetExpDisplay() || config.GetHpbarEnable() ||
                                    config.GetEnemyHpbarEnable());
}

void show_status_bar_if_logged_in(const TConfig &config, config_effects &effects)
{
    if (effects.logged_in())
        effects.show_status_bar(config.GetStatusBar() != 0);
}

void relayout(const TConfig &, config_effects &effects, int)
{
    effects.resize();
    effects.refresh();
}

void resync_text_font(const TConfig &, config_effects &effects, int)
{
    effects.global_font_resync();
}

void reset_scrollbars_and_refresh(const TConfig &, config_effects &effects, int)
{
    effects.reset_scrollbars();
    effects.refresh();
}

void show_channel_window_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    effects.show_channel_window(value != 0);
    relayout(config, effects, value);
}

void show_status_bar_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    show_status_bar_if_logged_in(config, effects);
    relayout(config, effects, value);
}

void show_sky_bar_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    if (effects.logged_in())
        effects.show_sky_bar(value != 0);
    relayout(config, effects, value);
}

void show_exp_display_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    show_status_display_part(config, effects, status_display_part::exp, value);
}

void show_hpbar_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    show_status_display_part(config, effects, status_display_part::hpbar, value);
}

void show_enemy_hpbar_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    show_status_display_part(config, effects, status_display_part::enemy_hpbar, value);
}

void hide_group_display_if_off_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    if (value == 0)
        effects.hide_group_display();
    relayout(config, effects, value);
}

void change_layout(const TConfig &, config_effects &effects, int)
{
    effects.menu_view_change_layout_helper();
}

void change_button_theme(const TConfig &, config_effects &effects, int)
{
    effects.global_change_theme(0);
}

// The background is drawn anew.
void change_background(const TConfig &, config_effects &effects, int)
{
    effects.global_change_theme(1);
}
