#pragma once
// The peak resident memory of this process, which the benchmarks print.

#include <sys/resource.h>

inline long peakKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}
