#pragma once
// How much memory the host process holds, for the tests and benchmarks that check that a
// device leaves nothing behind.

#include <cstddef>
#include <filesystem>

namespace sim {

// Bytes the process has allocated on the heap and not freed (under AddressSanitizer, the
// sanitizer's own count, which leaves its quarantine out).
std::size_t heapBytesInUse();

// Whether loading and unloading a library leaves heap in use that nothing in the process can
// free: true under AddressSanitizer, whose __cxa_atexit adds an exit handler that belongs to no
// library for every destructor a library registers, so glibc's exit list only grows.
bool libraryLoadsLeaveHeap();

// How many memory mappings of files inside `folder` the process has (a loaded library has
// several; an unloaded one none).
std::size_t mappingsOfFilesIn(const std::filesystem::path& folder);

}  // namespace sim
