#pragma once
// The platform services the shell's clock needs: a millisecond wall clock and
// a wait. One implementation per platform, in a file named for it.

#include <cstdint>

// Milliseconds from an arbitrary start, unsigned 32-bit: it wraps after about
// 49.7 days, so callers take differences modulo 2^32.
std::uint32_t platform_wall_msec();

// Blocks the calling thread for at least msec milliseconds.
void platform_wait_msec(std::uint32_t msec);
