// Entry point of the suites that need no display. The process runs with HOME
// pointing at a fresh temporary directory, and every test starts from the
// program's starting state (a HOME of its own among it).
#include "fresh_state.h"
#include "temp_home.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    TempHome home;
    install_fresh_state();
    return RUN_ALL_TESTS();
}
