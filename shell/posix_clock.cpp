// POSIX clock: CLOCK_MONOTONIC, so setting the system time never makes the
// demo clock jump.

#include "shell/platform_clock.h"

#include <cerrno>
#include <ctime>

std::uint32_t platform_wall_msec() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t msec = std::uint64_t(now.tv_sec) * 1000u + std::uint64_t(now.tv_nsec) / 1000000u;
    return std::uint32_t(msec);  // truncated: the reading wraps at 2^32
}

void platform_wait_msec(std::uint32_t msec) {
    timespec left{};
    left.tv_sec = time_t(msec / 1000u);
    left.tv_nsec = long(msec % 1000u) * 1000000L;
    // A signal cuts the sleep short; sleep on for what is left.
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}
