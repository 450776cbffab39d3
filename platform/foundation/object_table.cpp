#include "platform/foundation/object_table.h"

#include <bit>
#include <utility>

#include "platform/objc/object.h"

namespace platform::detail {
namespace {

constexpr std::uint32_t kEmpty = 0xffffffffu;
constexpr std::uint32_t kRemoved = 0xfffffffeu;
// Up to this many slots a lookup scans them, comparing the kept hashes first.
constexpr std::size_t kScanLimit = 8;

// Spreads a hash over the index (hashes such as a number's own value are not spread).
std::size_t startOf(unsigned long hash, std::size_t mask) {
  return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

// The same object, or one that says it is equal, as the platform's hashed collections test.
bool sameKey(id stored, unsigned long storedHash, id key, unsigned long hash) {
  return stored == key || (storedHash == hash && stored && sel::isEqual(stored, key));
}

}  // namespace

std::size_t ObjectTable::slotOf(id key, unsigned long hash) const {
  if (index_.empty()) {
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      if (sameKey(slots_[i].key, slots_[i].hash, key, hash)) return i;
    }
    return slots_.size();
  }
  std::size_t mask = index_.size() - 1;
  for (std::size_t p = startOf(hash, mask);; p = (p + 1) & mask) {
    std::uint32_t slot = index_[p];
    if (slot == kEmpty) return slots_.size();
    if (slot != kRemoved && sameKey(slots_[slot].key, slots_[slot].hash, key, hash)) return slot;
  }
}

std::size_t ObjectTable::positionOf(std::size_t slot) const {
  std::size_t mask = index_.size() - 1;
  std::size_t p = startOf(slots_[slot].hash, mask);
  while (index_[p] != slot) p = (p + 1) & mask;
  return p;
}

const ObjectTable::Entry* ObjectTable::find(id key) const {
  if (!key || live_ == 0) return nullptr;
  if (index_.empty()) {
    // A short table is first scanned for the very object, which needs no hash.
    for (const Entry& e : slots_) {
      if (e.key == key) return &e;
    }
  }
  std::size_t i = slotOf(key, sel::hash(key));
  return i < slots_.size() ? &slots_[i] : nullptr;
}

void ObjectTable::put(id key, id value) {
  unsigned long hash = sel::hash(key);
  std::size_t i = slotOf(key, hash);
  if (i < slots_.size()) {
    ++changes_;
    objc::Strong replaced = std::exchange(slots_[i].value, objc::Strong(value));
    return;  // the old value goes once the table holds the new one
  }
  ++changes_;
  slots_.push_back({objc::Strong(key), objc::Strong(value), hash});
  ++live_;
  if (slots_.size() <= kScanLimit) return;
  if (index_.empty() || (indexUsed_ + 1) * 4 > index_.size() * 3) {
    rebuildIndex();
    return;
  }
  std::size_t mask = index_.size() - 1;
  std::size_t p = startOf(hash, mask);
  while (index_[p] != kEmpty && index_[p] != kRemoved) p = (p + 1) & mask;
  if (index_[p] == kEmpty) ++indexUsed_;
  index_[p] = static_cast<std::uint32_t>(slots_.size() - 1);
}

void ObjectTable::remove(id key) {
  if (!key || live_ == 0) return;
  std::size_t i = slotOf(key, sel::hash(key));
  if (i == slots_.size()) return;
  ++changes_;
  if (!index_.empty()) index_[positionOf(i)] = kRemoved;
  Entry removed = std::move(slots_[i]);  // released only once the table is consistent again
  slots_[i].key.reset();
  slots_[i].value.reset();
  --live_;
  compactIfSparse();
}

void ObjectTable::clear() {
  ++changes_;
  std::vector<Entry> removed;
  removed.swap(slots_);
  index_.clear();
  indexUsed_ = 0;
  live_ = 0;
}

void ObjectTable::rebuildIndex() {
  index_.clear();
  indexUsed_ = 0;
  if (slots_.size() <= kScanLimit) return;
  // At most half full after a rebuild, so probes stay short until the next one.
  index_.assign(std::bit_ceil(live_ * 2 + 2), kEmpty);
  std::size_t mask = index_.size() - 1;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (!slots_[i].key) continue;
    std::size_t p = startOf(slots_[i].hash, mask);
    while (index_[p] != kEmpty) p = (p + 1) & mask;
    index_[p] = static_cast<std::uint32_t>(i);
    ++indexUsed_;
  }
}

void ObjectTable::compactIfSparse() {
  std::size_t dead = slots_.size() - live_;
  if (dead < 16 || dead < live_) return;
  std::vector<Entry> kept;
  kept.reserve(live_);
  for (Entry& e : slots_) {
    if (e.key) kept.push_back(std::move(e));
  }
  slots_.swap(kept);
  rebuildIndex();
}

}  // namespace platform::detail
