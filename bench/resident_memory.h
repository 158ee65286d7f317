#ifndef VUSK_BENCH_RESIDENT_MEMORY_H
#define VUSK_BENCH_RESIDENT_MEMORY_H

// The process's resident memory, for the memory figures of the benchmarks.

#include <cstdlib>
#include <fstream>
#include <string>

inline double resident_megabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

#endif
