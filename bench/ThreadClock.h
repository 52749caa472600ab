// This thread's processor time: on a shared machine, waiting for a processor counts for
// neither a measurement nor its floor.
#pragma once

#include <time.h>

#include <chrono>
#include <cstdint>

struct TClock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<TClock>;
    static time_point now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(duration(std::int64_t{t.tv_sec} * 1000000000 + t.tv_nsec));
    }
};
