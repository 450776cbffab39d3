#pragma once
// The rows of a SpringBoard list, newest first: ordered by date, later arrivals above earlier
// ones of the same date, at most one row per non-empty key (a bulletinID). The rows sit in short
// sorted blocks, so that inserting or removing anywhere moves at most one block's rows and a long
// list stays compact in memory; the row at an index is found by walking the block sizes.

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform::springboard {

template <class Payload>
class NewestFirstRows {
 public:
  struct Row {
    double date;
    std::uint64_t arrival;
    std::string key;  // empty: the row has no key and is found only by its payload
    Payload payload;
  };

  // Adds a row; a row already held under the same non-empty key is removed first.
  void insert(std::string key, double date, Payload payload) {
    if (!key.empty()) erase(key);
    Place place{date, ++arrivals_};
    if (blocks_.empty()) blocks_.emplace_back();
    auto [block, at] = locate(place, /*forInsert=*/true);
    std::vector<Row>& rows = blocks_[block];
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at),
                Row{date, place.arrival, key, std::move(payload)});
    if (rows.size() > 2 * kBlock) {
      std::vector<Row> upper(std::make_move_iterator(rows.begin() + kBlock),
                             std::make_move_iterator(rows.end()));
      rows.resize(kBlock);
      blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(upper));
    }
    ++size_;
    if (!key.empty()) placeOf_.emplace(std::move(key), place);
  }
  // Removes the row under `key`; returns whether there was one.
  bool erase(const std::string& key) {
    auto known = placeOf_.find(key);
    if (known == placeOf_.end()) return false;
    Place place = known->second;
    placeOf_.erase(known);
    auto [block, at] = locate(place, false);
    eraseAt(block, at);
    return true;
  }
  // Removes the first row whose payload satisfies `match`; returns whether there was one.
  template <class Match>
  bool eraseFirst(Match match) {
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
      for (std::size_t i = 0; i < blocks_[b].size(); ++i) {
        if (!match(blocks_[b][i].payload)) continue;
        if (!blocks_[b][i].key.empty()) return erase(std::string(blocks_[b][i].key));
        eraseAt(b, i);
        return true;
      }
    }
    return false;
  }
  // The row under `key`, or null.
  const Row* find(const std::string& key) const {
    auto known = placeOf_.find(key);
    if (known == placeOf_.end()) return nullptr;
    auto [block, at] = const_cast<NewestFirstRows*>(this)->locate(known->second, false);
    return &blocks_[block][at];
  }
  bool contains(const std::string& key) const { return placeOf_.count(key) != 0; }
  // The row at `index`, counting from the top. REQUIRES: index < size().
  const Row& at(std::size_t index) const {
    for (const auto& rows : blocks_) {
      if (index < rows.size()) return rows[index];
      index -= rows.size();
    }
    return blocks_.back().back();
  }
  // Calls `visit` with every row, top first.
  template <class Visit>
  void forEach(Visit visit) const {
    for (const auto& rows : blocks_) {
      for (const Row& row : rows) visit(row);
    }
  }
  std::size_t size() const { return size_; }
  // Removes every row.
  void clear() {
    std::vector<std::vector<Row>> removed;
    removed.swap(blocks_);
    placeOf_.clear();
    size_ = 0;
  }

 private:
  static constexpr std::size_t kBlock = 128;
  struct Place {
    double date;
    std::uint64_t arrival;
  };
  static bool above(const Row& row, const Place& place) {
    return row.date != place.date ? row.date > place.date : row.arrival > place.arrival;
  }
  // The block and the index in it of the row at `place` (or where it would go).
  std::pair<std::size_t, std::size_t> locate(const Place& place, bool forInsert) {
    // The first block whose last row is not above the place; past the end: the last block.
    auto block = std::partition_point(blocks_.begin(), blocks_.end(), [&](const auto& rows) {
      return !rows.empty() && above(rows.back(), place);
    });
    if (block == blocks_.end()) {
      block = blocks_.end() - 1;
      if (!forInsert) return {blocks_.size() - 1, block->size()};
    }
    auto at = std::lower_bound(block->begin(), block->end(), place, above);
    return {static_cast<std::size_t>(block - blocks_.begin()),
            static_cast<std::size_t>(at - block->begin())};
  }
  void eraseAt(std::size_t block, std::size_t at) {
    std::vector<Row>& rows = blocks_[block];
    Row removed = std::move(rows[at]);  // destroyed once the rows are consistent again
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(at));
    if (rows.empty()) blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(block));
    --size_;
  }

  std::vector<std::vector<Row>> blocks_;
  std::size_t size_ = 0;
  std::unordered_map<std::string, Place> placeOf_;
  std::uint64_t arrivals_ = 0;
};

}  // namespace platform::springboard
