#include "vusk_mw_calls.h"

namespace {
vusk_mw_calls no_frame;
vusk_mw_calls *registered_frame = nullptr;
}

vusk_mw_calls &main_frame_calls()
{
    return registered_frame ? *registered_frame : no_frame;
}

void register_main_frame_calls(vusk_mw_calls *frame)
{
    registered_frame = frame;
    main_link = frame;
}
