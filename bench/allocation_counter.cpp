#include "bench/allocation_counter.h"

#include <atomic>
#include <cstddef>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BENCH_NO_COUNTER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define BENCH_NO_COUNTER 1
#endif

namespace {
std::atomic<bool> gCounting{false};
std::atomic<std::int64_t> gCount{0};
}  // namespace

#ifndef BENCH_NO_COUNTER
// glibc's own allocator, which these wrappers hand every request to.
extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* __libc_calloc(std::size_t count, std::size_t size);
extern "C" void* __libc_realloc(void* pointer, std::size_t size);

extern "C" void* malloc(std::size_t size) {
  if (gCounting.load(std::memory_order_relaxed)) gCount.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size);
}
extern "C" void* calloc(std::size_t count, std::size_t size) {
  if (gCounting.load(std::memory_order_relaxed)) gCount.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(count, size);
}
extern "C" void* realloc(void* pointer, std::size_t size) {
  if (gCounting.load(std::memory_order_relaxed)) gCount.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(pointer, size);
}
#endif

namespace bench {

void startCountingAllocations() {
  gCount = 0;
  gCounting = true;
}

std::int64_t stopCountingAllocations() {
  gCounting = false;
#ifdef BENCH_NO_COUNTER
  return -1;
#else
  return gCount.load();
#endif
}

}  // namespace bench
