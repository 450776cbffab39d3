#pragma once
// Counts the heap allocations made while counting is on, for benchmarks that report them. Every
// malloc, calloc and realloc of the process is counted (the benchmark binary supplies them);
// under AddressSanitizer, which owns the allocator, nothing is counted and -1 is reported.

#include <cstdint>

namespace bench {

// Starts counting from zero.
void startCountingAllocations();
// Stops counting and returns how many allocations were made since the start (-1: not counted).
std::int64_t stopCountingAllocations();

}  // namespace bench
