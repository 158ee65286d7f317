#ifndef VUSK_TEST_FRESH_STATE_H
#define VUSK_TEST_FRESH_STATE_H

// Every test starts from the state the program starts in, whatever ran
// before it in the same process: a fresh HOME, an empty configuration, and
// the process-wide settings, shared fonts, theme tables and random
// generators as they were before the first test. The suites' entry points
// install it; one process can then run its tests in any order.

// Takes the starting state now (call before the first test) and has every
// test start from it.
void install_fresh_state();

#endif
