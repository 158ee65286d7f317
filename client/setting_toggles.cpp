#include "setting_toggles.h"

#include "tqconfig.h"

namespace {

// The shortcut column of the settings table.
struct setting_toggle {
    control_key_action action;
    int (TConfig::*get)() const;
    void (TConfig::*set)(int);
};

#define VUSK_SETTING_TOGGLE(Accessor, member, default_value, sanity, setter, effect, reset, status, menu, word, \
                            shortcut)                                                                          \
    {control_key_action::shortcut, &TConfig::Get##Accessor, &TConfig::Set##Accessor},
const setting_toggle setting_toggles[] = {
    VUSK_SETTINGS(VUSK_NO_ROW, VUSK_NO_ROW, VUSK_NO_ROW, VUSK_SETTING_TOGGLE, VUSK_NO_ROW)};
#undef VUSK_SETTING_TOGGLE

} // namespace

void flip_setting_of_shortcut(control_key_action action)
{
    if (action == control_key_action::unbound)
        return;
    for (const setting_toggle &toggle : setting_toggles) {
        if (toggle.action == action) {
            TConfig *config = TConfig::Instance();
            (config->*toggle.set)(!(config->*toggle.get)());
            return;
        }
    }
}
