#include "platform/foundation/object_table.h"

#include "platform/objc/object.h"

namespace platform::detail {

std::size_t ObjectTable::indexOf(id key, unsigned long hash) const {
  auto [first, last] = index_.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    if (sel::isEqual(entries_[it->second].key, key)) return it->second;
  }
  return entries_.size();
}

const ObjectTable::Entry* ObjectTable::find(id key) const {
  if (!key) return nullptr;
  std::size_t i = indexOf(key, sel::hash(key));
  return i < entries_.size() ? &entries_[i] : nullptr;
}

void ObjectTable::put(id key, id value) {
  unsigned long hash = sel::hash(key);
  std::size_t i = indexOf(key, hash);
  if (i < entries_.size()) {
    entries_[i].value = value;
    return;
  }
  index_.emplace(hash, entries_.size());
  entries_.push_back({objc::Strong(key), objc::Strong(value), hash});
}

void ObjectTable::remove(id key) {
  if (!key) return;
  std::size_t i = indexOf(key, sel::hash(key));
  if (i == entries_.size()) return;
  Entry removed = std::move(entries_[i]);  // released only once the table is consistent again
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
  reindex();
}

void ObjectTable::clear() {
  std::vector<Entry> removed;
  removed.swap(entries_);
  index_.clear();
}

void ObjectTable::reindex() {
  index_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].hash, i);
}

}  // namespace platform::detail
