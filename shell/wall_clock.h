#pragma once
// The wall clock that the shell reads (demo clock, frame counter). Its source
// is the platform clock unless a test installs its own.

#include <cstdint>

using wall_clock_source_t = std::uint32_t (*)();

// Current reading in milliseconds, unsigned 32-bit, wrapping at 2^32.
std::uint32_t wall_clock_msec();

// Installs a clock source; null restores the platform clock. Returns the
// source installed before.
wall_clock_source_t set_wall_clock_source(wall_clock_source_t source);
