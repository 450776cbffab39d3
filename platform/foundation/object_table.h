#pragma once
// An insertion-ordered table of objects keyed by isEqual:/hash, the storage behind
// NSDictionary and NSSet. Lookups, insertions and removals take constant time on average.

#include <cstddef>
#include <cstdint>
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

  // The entry whose key is `key` or isEqual: to it, or null.
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
  // The slots, live and removed, by position (a removed one has a nil key); a position keeps its
  // entry until the table changes.
  std::size_t slotCount() const { return slots_.size(); }
  const Entry& slot(std::size_t position) const { return slots_[position]; }
  // A count that every change (an insertion, a replaced value, a removal) moves on, so that an
  // enumeration can tell that the table changed under it.
  std::uint64_t changes() const { return changes_; }

 private:
  // The slot holding an entry equal to `key`, or slots_.size().
  std::size_t slotOf(id key, unsigned long hash) const;
  // The position in index_ that refers to slot `slot`. REQUIRES: the index is in use and holds it.
  std::size_t positionOf(std::size_t slot) const;
  // Rebuilds index_ for the current slots (none while the table is small enough to scan).
  void rebuildIndex();
  // Drops removed slots once they outnumber the live ones, keeping the order.
  void compactIfSparse();

  std::vector<Entry> slots_;
  std::size_t live_ = 0;
  // Open-addressed index into slots_ (linear probing, a power-of-two size), used once the table
  // outgrows a short scan; kEmpty ends a probe, kRemoved keeps it going.
  std::vector<std::uint32_t> index_;
  std::size_t indexUsed_ = 0;  // positions that are not kEmpty
  std::uint64_t changes_ = 0;
};

}  // namespace platform::detail
