// The sanitizers' settings of the test programs, however they are started
// (tests/CMakeLists.txt names them): leak checking on with the suppressions
// of tests/lsan.supp, and any report ends the run with a failure. Settings
// in the environment still win.

extern "C" const char *__asan_default_options() { return VUSK_ASAN_OPTIONS; }
extern "C" const char *__lsan_default_options() { return VUSK_LSAN_OPTIONS; }
extern "C" const char *__ubsan_default_options() { return VUSK_UBSAN_OPTIONS; }
