// What the process holds resident, as the benchmarks that measure memory read it.
#pragma once

#include <fstream>
#include <string>

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

// The most this process held resident since it began or since ResetPeakResident.
inline double PeakResidentBytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string key; status >> key;) {
        double kB = 0;
        if (key == "VmHWM:" && status >> kB)
            return kB * 1024;
    }
    return 0;
}

// Makes the peak start again from what is resident now.
inline void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

} // namespace vx::bench
