#pragma once
// How much memory the host process holds, for the tests and benchmarks that check that a
// device leaves nothing behind.

#include <cstddef>

namespace sim {

// Bytes the process has allocated on the heap and not freed (under AddressSanitizer, the
// sanitizer's own count, which leaves its quarantine out).
std::size_t heapBytesInUse();

// How many memory mappings the process has (each loaded library adds several).
std::size_t mappingCount();

}  // namespace sim
