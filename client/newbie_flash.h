#ifndef VUSK_NEWBIE_FLASH_H
#define VUSK_NEWBIE_FLASH_H

// The attention flash that shows a new player where a panel is: 16 steps of
// 200 ms, alternating white and black, driven by the animation list.

constexpr int newbie_flash_steps = 16;

struct newbie_flash_state {
    int &shown;
    int &count;
    int &elapsed;
    int &period;
};

// Starts (or restarts) the flash.
void start_newbie_flash(newbie_flash_state flash);

// Records the count as the step shown; false when it is shown already.
bool note_newbie_flash_shown(newbie_flash_state flash);

// Adds the elapsed time and takes one step off the count once a whole period
// has gathered, never more than one per call: a late tick does not skip
// steps, so the whole flash is seen even on a slow machine.
void take_newbie_flash_step(newbie_flash_state flash, int milliseconds);

// One step as above, then whether the count differs from the step last
// shown (which it then records).
bool advance_newbie_flash_one_step(newbie_flash_state flash, int milliseconds);

// Takes as many steps as whole periods have gathered; returns as above.
bool advance_newbie_flash(newbie_flash_state flash, int milliseconds);

#endif
