#include "sim/process_memory.h"

#include <malloc.h>

#include <fstream>
#include <string>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARROW8_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TARROW8_ASAN 1
#endif

#ifdef TARROW8_ASAN
#include <sanitizer/allocator_interface.h>
#endif

namespace sim {

std::size_t heapBytesInUse() {
#ifdef TARROW8_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

bool libraryLoadsLeaveHeap() {
#ifdef TARROW8_ASAN
  return true;
#else
  return false;
#endif
}

std::size_t mappingsOfFilesIn(const std::filesystem::path& folder) {
  // Each line of /proc/self/maps ends with the mapped file's path, when there is one.
  std::string prefix = folder.string() + "/";
  std::ifstream maps("/proc/self/maps");
  std::size_t count = 0;
  for (std::string line; std::getline(maps, line);) {
    std::size_t path = line.find('/');
    if (path != std::string::npos && line.compare(path, prefix.size(), prefix) == 0) ++count;
  }
  return count;
}

}  // namespace sim
