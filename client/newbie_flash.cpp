#include "newbie_flash.h"

#include <algorithm>

void start_newbie_flash(newbie_flash_state flash)
{
    flash.shown = 0;
    flash.count = newbie_flash_steps;
    flash.elapsed = 0;
}

bool note_newbie_flash_shown(newbie_flash_state flash)
{
    if (flash.count == flash.shown)
        return false;
    flash.shown = flash.count;
    return true;
}

void take_newbie_flash_step(newbie_flash_state flash, int milliseconds)
{
    if (flash.count < 1)
        return;
    const int period = std::max(flash.period, 1);
    milliseconds = std::max(milliseconds, 0);
    const long long gathered = 0LL + flash.elapsed + milliseconds;
    if (gathered < period) {
        flash.elapsed = int(gathered);
        return;
    }
    flash.elapsed = milliseconds >= period ? 0 : int(gathered - period);
    --flash.count;
}

bool advance_newbie_flash_one_step(newbie_flash_state flash, int milliseconds)
{
    take_newbie_flash_step(flash, milliseconds);
    return note_newbie_flash_shown(flash);
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
    return note_newbie_flash_shown(flash);
}
