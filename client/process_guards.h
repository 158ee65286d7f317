#ifndef VUSK_PROCESS_GUARDS_H
#define VUSK_PROCESS_GUARDS_H

// Process-wide settings the program makes before the toolkit starts, so that
// nothing waits on the player or ends the program unasked.

// A failed toolkit assertion is written to standard error and the program
// goes on: the toolkit's own report is a modal dialog, which would stop the
// main tick (and with it the game connection) until someone answers it.
void install_assert_report();

// Writing past the file-size limit then fails with an error that the save
// reports, instead of ending the program.
void ignore_file_size_signal();

#endif
