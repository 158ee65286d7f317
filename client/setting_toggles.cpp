#include "setting_toggles.h"

#include "tqconfig.h"

namespace {

struct setting_toggle {
    control_key_action action;
    int (TConfig::*get)() const;
    void (TConfig::*set)(int);
};

const setting_toggle setting_toggles[] = {
    {control_key_action::toggle_hp_bar, &TConfig::GetHpbarEnable, &TConfig::SetHpbarEnable},
    {control_key_action::toggle_group_status, &TConfig::GetGroupStatus, &TConfig::SetGroupStatus},
    {control_key_action::toggle_enemy_hp_bar, &TConfig::GetEnemyHpbarEnable,
     &TConfig::SetEnemyHpbarEnable},
    {control_key_action::toggle_exp_display, &TConfig::GetExpDisplay, &TConfig::SetExpDisplay},
    {control_key_action::toggle_fkey_buttons, &TConfig::GetFkeyButton, &TConfig::SetFkeyButton},
    {control_key_action::toggle_popup_display, &TConfig::GetPopupDisplay,
     &TConfig::SetPopupDisplay},
    {control_key_action::toggle_mw_scrollbar, &TConfig::GetMwScrollbar, &TConfig::SetMwScrollbar},
};

} // namespace

void flip_setting_of_shortcut(control_key_action action)
{
    for (const setting_toggle &toggle : setting_toggles) {
        if (toggle.action == action) {
            TConfig *config = TConfig::Instance();
            (config->*toggle.set)(!(config->*toggle.get)());
            return;
        }
    }
}
