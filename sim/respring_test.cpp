// Relaunching SpringBoard over and over: on the phone every launch is a new process, so the
// host process must come back to the same memory, mappings and files after each one.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/foundation/device_root.h"
#include "sim/phone.h"
#include "sim/process_memory.h"

namespace sim {
namespace {

namespace fs = std::filesystem;

// The folder the loader puts its private copies of the extensions in.
fs::path scratchFolder() {
  return *platform::resolveDevicePath("/tmp/substrate");
}

// The private copies of the extension the loader has made and not yet deleted.
std::size_t copiesOnDisk() {
  std::error_code ec;
  std::size_t count = 0;
  for (auto it = fs::directory_iterator(scratchFolder(), ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    ++count;
  }
  return count;
}

TEST(RespringTest, TwoThousandRespringsLeaveTheMemoryOfAHundred) {
  PhoneOptions options;
  options.extension = TARROW8_EXTENSION;
  Phone phone(options);
  phone.boot();
  for (int i = 0; i < 100; ++i) phone.respring();
  const std::size_t heapAfter100 = heapBytesInUse();
  const std::size_t mappingsAfter100 = mappingsOfFilesIn(scratchFolder());
  for (int i = 100; i < 2000; ++i) phone.respring();
  const std::size_t heapAfter2000 = heapBytesInUse();

  EXPECT_EQ(phone.launchCount(), 2001);
  EXPECT_TRUE(phone.extensionState().has_value()) << "the last launch loaded the extension";
  EXPECT_EQ(copiesOnDisk(), 1u) << "only the running launch's copy of the library is on disk";
  EXPECT_GT(mappingsAfter100, 0u);
  EXPECT_EQ(mappingsOfFilesIn(scratchFolder()), mappingsAfter100)
      << "every earlier copy was unloaded";
  if (libraryLoadsLeaveHeap()) return;  // the sanitizer's own exit handlers grow the heap
  // A few kilobytes of slack for the allocator's own bookkeeping; what one launch used to leave
  // behind (a method entry and typed selectors) adds up to far more over 1,900 launches.
  constexpr std::size_t kSlack = 64 * 1024;
  EXPECT_LE(heapAfter2000, heapAfter100 + kSlack)
      << "heap in use after 100 resprings: " << heapAfter100
      << " bytes, after 2,000: " << heapAfter2000;
}

}  // namespace
}  // namespace sim
