#include "platform/foundation/object_table.h"

#include "platform/objc/object.h"

namespace platform::detail {

std::size_t ObjectTable::indexOf(id key, unsigned long hash) const {
  auto [first, last] = index_.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    if (sel::isEqual(slots_[it->second].key, key)) return it->second;
  }
  return slots_.size();
}

const ObjectTable::Entry* ObjectTable::find(id key) const {
  if (!key) return nullptr;
  std::size_t i = indexOf(key, sel::hash(key));
  return i < slots_.size() ? &slots_[i] : nullptr;
}

void ObjectTable::put(id key, id value) {
  unsigned long hash = sel::hash(key);
  std::size_t i = indexOf(key, hash);
  if (i < slots_.size()) {
    slots_[i].value = value;
    return;
  }
  index_.emplace(hash, slots_.size());
  slots_.push_back({objc::Strong(key), objc::Strong(value), hash});
  ++live_;
}

void ObjectTable::remove(id key) {
  if (!key) return;
  unsigned long hash = sel::hash(key);
  auto [first, last] = index_.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    Entry& slot = slots_[it->second];
    if (!sel::isEqual(slot.key, key)) continue;
    index_.erase(it);
    Entry removed = std::move(slot);  // released only once the table is consistent again
    slot.key.reset();
    slot.value.reset();
    --live_;
    compactIfSparse();
    return;
  }
}

void ObjectTable::clear() {
  std::vector<Entry> removed;
  removed.swap(slots_);
  index_.clear();
  live_ = 0;
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
  index_.clear();
  for (std::size_t i = 0; i < slots_.size(); ++i) index_.emplace(slots_[i].hash, i);
}

}  // namespace platform::detail
