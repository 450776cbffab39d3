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

std::size_t mappingCount() {
  std::ifstream maps("/proc/self/maps");
  std::size_t count = 0;
  for (std::string line; std::getline(maps, line);) ++count;
  return count;
}

}  // namespace sim
