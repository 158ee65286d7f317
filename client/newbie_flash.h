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

// Adds the elapsed time and takes one step off the count per full period;
// returns true when the count differs from the step last shown (which it
// then records).
bool advance_newbie_flash(newbie_flash_state flash, int milliseconds);

// The same, but one call takes at most one step: a late tick does not skip
// steps, so the whole flash is seen even on a slow machine.
bool advance_newbie_flash_one_step(newbie_flash_state flash, int milliseconds);

#endif
