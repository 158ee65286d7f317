#include "newbie_flash.h"

#include <algorithm>

void start_newbie_flash(newbie_flash_state flash)
{
    flash.shown = 0;
    flash.count = newbie_flash_steps;
    flash.elapsed = 0;
}

namespace {
// Records the step about to be shown; false when it is shown already.
bool note_shown(newbie_flash_state flash)
{
    if (flash.count == flash.shown)
        return false;
    flash.shown = flash.count;
    return true;
}
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
    return note_shown(flash);
}

bool advance_newbie_flash_one_step(newbie_flash_state flash, int milliseconds)
{
    const int period = std::max(flash.period, 1);
    milliseconds = std::max(milliseconds, 0);
    const long long gathered = 0LL + flash.elapsed + milliseconds;
    if (flash.count > 0 && gathered >= period) {
        flash.elapsed = milliseconds >= period ? 0 : int(gathered - period);
        --flash.count;
    } else {
        flash.elapsed = int(std::min<long long>(gathered, period));
    }
    return note_shown(flash);
}
