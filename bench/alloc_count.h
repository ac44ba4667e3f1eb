#pragma once
// Heap allocations through the global operator new (every form), counted by
// the benchmark's replacement of it, on every thread of the process.

#include <cstdint>

std::uint64_t bench_allocations();
