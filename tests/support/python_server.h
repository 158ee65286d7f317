#ifndef VUSK_TEST_PYTHON_SERVER_H
#define VUSK_TEST_PYTHON_SERVER_H

// Starts one of the Python test servers, which print "PORT <number>" as
// their first line, and stops it.

#include <sys/types.h>

struct spawned_server {
    pid_t pid = -1;
    // 0 when the server did not start.
    int port = 0;
};

// argv ends with a null pointer; argv[0] is the interpreter.
spawned_server spawn_port_server(const char *const argv[]);
void kill_server(pid_t pid);

#endif
