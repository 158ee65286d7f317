#ifndef VUSK_TEST_BASE_TOOLKIT_H
#define VUSK_TEST_BASE_TOOLKIT_H

#include <wx/init.h>

// Starts the toolkit's base library (no display) on the first call; it then
// stays up for the rest of the process. It is never stopped between tests:
// a stopped toolkit leaves its child-process signal handler behind, and the
// next child that ends in the process crashes it. Returns whether it runs.
inline bool start_base_toolkit()
{
    static wxInitializer *const toolkit = new wxInitializer;
    return toolkit->IsOk();
}

#endif
