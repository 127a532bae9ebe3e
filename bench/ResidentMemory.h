// What the process holds resident, as the benchmarks that measure memory read it.
#pragma once

#include <fstream>

#include <unistd.h>

namespace vx::bench {

// Resident bytes of this process, from /proc.
inline double ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

} // namespace vx::bench
