#include "newbie_flash.h"

#include <algorithm>

void start_newbie_flash(newbie_flash_state flash)
{
    flash.shown = 0;
    flash.count = newbie_flash_steps;
    flash.elapsed = 0;
}

bool advance_newbie_flash(newbie_flash_state flash, int milliseconds)
{
    int period = std::max(flash.period, 1);
    flash.elapsed += std::max(milliseconds, 0);
    while (flash.elapsed >= period && flash.count > 0) {
        flash.elapsed -= period;
        --flash.count;
    }
    if (flash.count == 0)
        flash.elapsed = 0;
    if (flash.count == flash.shown)
        return false;
    flash.shown = flash.count;
    return true;
}
