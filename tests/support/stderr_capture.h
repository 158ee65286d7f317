#ifndef VUSK_TEST_STDERR_CAPTURE_H
#define VUSK_TEST_STDERR_CAPTURE_H

// Catches what the process (and any child it forks meanwhile) writes to
// standard error, in a pipe, which no file-size limit cuts short. Meant for
// short reports: more than a pipe holds would stall the writer.

#include <cstdio>
#include <string>
#include <unistd.h>

class stderr_capture {
public:
    stderr_capture()
    {
        int ends[2];
        if (pipe(ends) != 0)
            return;
        fflush(stderr);
        saved = dup(STDERR_FILENO);
        dup2(ends[1], STDERR_FILENO);
        close(ends[1]);
        read_end = ends[0];
    }
    ~stderr_capture() { text(); }
    stderr_capture(const stderr_capture &) = delete;
    stderr_capture &operator=(const stderr_capture &) = delete;

    // Gives standard error back and returns everything said meanwhile.
    std::string text()
    {
        if (saved >= 0) {
            fflush(stderr);
            dup2(saved, STDERR_FILENO);
            close(saved);
            saved = -1;
        }
        if (read_end >= 0) {
            char chunk[256];
            for (ssize_t got; (got = read(read_end, chunk, sizeof chunk)) > 0;)
                said.append(chunk, static_cast<size_t>(got));
            close(read_end);
            read_end = -1;
        }
        return said;
    }

private:
    int saved = -1;
    int read_end = -1;
    std::string said;
};

#endif
