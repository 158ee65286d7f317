#include "vusk_mw_calls.h"

vusk_mw_calls *main_window = nullptr;
