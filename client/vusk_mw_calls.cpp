#include "vusk_mw_calls.h"

vusk_mw_calls *main_window = nullptr;

vusk_mw_calls &main_window_or_none()
{
    static vusk_mw_calls none;
    return main_window != nullptr ? *main_window : none;
}
