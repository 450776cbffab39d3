#pragma once
// An insertion-ordered table of objects keyed by isEqual:/hash, the storage behind
// NSDictionary and NSSet.

#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/objc/strong.h"

namespace platform::detail {

class ObjectTable {
 public:
  struct Entry {
    objc::Strong key;
    objc::Strong value;
    unsigned long hash;
  };

  // The entry whose key isEqual: `key`, or null.
  const Entry* find(id key) const;
  // Stores `value` under `key`, replacing the value of an equal key in place (keeping that key).
  void put(id key, id value);
  // Removes the entry for `key`, if any.
  void remove(id key);
  // Removes every entry.
  void clear();
  // The entries in insertion order.
  const std::vector<Entry>& entries() const { return entries_; }
  std::size_t size() const { return entries_.size(); }

 private:
  std::size_t indexOf(id key, unsigned long hash) const;
  void reindex();

  std::vector<Entry> entries_;
  std::unordered_multimap<unsigned long, std::size_t> index_;
};

}  // namespace platform::detail
