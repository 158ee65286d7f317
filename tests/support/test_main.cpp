// Entry point of the suites that need no display: every test process runs
// with HOME pointing at a fresh temporary directory.
#include "temp_home.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    TempHome home;
    return RUN_ALL_TESTS();
}
