#pragma once

#include <sys/resource.h>

// CPU seconds (user + system, every thread) and peak resident set of this process.
struct ProcessUsage {
    double cpuSeconds;
    long peakRssKilobytes;

    static ProcessUsage Now()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return {static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                    + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6,
                usage.ru_maxrss};
    }
};
