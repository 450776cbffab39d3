#pragma once
// An insertion-ordered table of objects keyed by isEqual:/hash, the storage behind
// NSDictionary and NSSet. Lookups, insertions and removals take constant time on average.

#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/objc/strong.h"

namespace platform::detail {

class ObjectTable {
 public:
  struct Entry {
    objc::Strong key;  // nil marks a removed entry awaiting compaction
    objc::Strong value;
    unsigned long hash;
  };

  // The live entries in insertion order; invalidated by any change to the table.
  class Entries {
   public:
    class Iterator {
     public:
      Iterator(const Entry* at, const Entry* end) : at_(at), end_(end) { skip(); }
      const Entry& operator*() const { return *at_; }
      const Entry* operator->() const { return at_; }
      Iterator& operator++() {
        ++at_;
        skip();
        return *this;
      }
      bool operator==(const Iterator& other) const { return at_ == other.at_; }

     private:
      void skip() {
        while (at_ != end_ && !at_->key) ++at_;
      }
      const Entry* at_;
      const Entry* end_;
    };
    Entries(const Entry* first, const Entry* last) : first_(first), last_(last) {}
    Iterator begin() const { return {first_, last_}; }
    Iterator end() const { return {last_, last_}; }

   private:
    const Entry* first_;
    const Entry* last_;
  };

  // The entry whose key isEqual: `key`, or null.
  const Entry* find(id key) const;
  // Stores `value` under `key`, replacing the value of an equal key in place (keeping that key).
  void put(id key, id value);
  // Removes the entry for `key`, if any.
  void remove(id key);
  // Removes every entry.
  void clear();
  // The live entries in insertion order.
  Entries entries() const { return {slots_.data(), slots_.data() + slots_.size()}; }
  std::size_t size() const { return live_; }

 private:
  // The slot holding an entry equal to `key`, or slots_.size().
  std::size_t indexOf(id key, unsigned long hash) const;
  // Drops removed slots once they outnumber the live ones, keeping the order.
  void compactIfSparse();

  std::vector<Entry> slots_;
  std::size_t live_ = 0;
  std::unordered_multimap<unsigned long, std::size_t> index_;
};

}  // namespace platform::detail
