// The line both start-up programs print at their first complete frame, read by first_frame_probe:
// "first-frame <CLOCK_MONOTONIC ns> <CPU µs of the process so far>". Plain POSIX, no Qt, so that
// the real program and the bare one report in exactly the same way.
#pragma once

#include <cstdio>
#include <ctime>
#include <sys/resource.h>

inline void ReportFirstFrame() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    const long long cpuMicros = (self.ru_utime.tv_sec + self.ru_stime.tv_sec) * 1000000LL +
                                self.ru_utime.tv_usec + self.ru_stime.tv_usec;
    std::printf("first-frame %lld %lld\n", now.tv_sec * 1000000000LL + now.tv_nsec, cpuMicros);
    std::fflush(stdout);
}
