#ifndef VUSK_TEST_LOWERED_LIMIT_H
#define VUSK_TEST_LOWERED_LIMIT_H

// Lowers a resource limit of the whole process while it lives. Writing past
// the file-size limit then fails instead of ending the process.

#include <csignal>
#include <sys/resource.h>

class lowered_limit {
public:
    lowered_limit(decltype(RLIMIT_FSIZE) resource, rlim_t limit) : resource(resource)
    {
        getrlimit(resource, &saved);
        rlimit lowered = saved;
        lowered.rlim_cur = limit;
        previous_handler = signal(SIGXFSZ, SIG_IGN);
        setrlimit(resource, &lowered);
    }
    ~lowered_limit()
    {
        setrlimit(resource, &saved);
        signal(SIGXFSZ, previous_handler);
    }
    lowered_limit(const lowered_limit &) = delete;
    lowered_limit &operator=(const lowered_limit &) = delete;

private:
    decltype(RLIMIT_FSIZE) resource;
    rlimit saved{};
    void (*previous_handler)(int) = nullptr;
};

#endif
