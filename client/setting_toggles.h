#ifndef VUSK_SETTING_TOGGLES_H
#define VUSK_SETTING_TOGGLES_H

// The panel settings that the command line's Control-key shortcuts switch
// on and off.

#include "input_keys.h"

// Flips the setting the shortcut stands for; other actions change nothing.
void flip_setting_of_shortcut(control_key_action action);

#endif
