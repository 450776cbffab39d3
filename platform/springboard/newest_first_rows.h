#pragma once
// The rows of a SpringBoard list, newest first: ordered by date, later arrivals above earlier
// ones of the same date, at most one row per non-empty key (a bulletinID). Insertion and removal
// by key take logarithmic time to find the place, so long lists stay cheap.

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
    rows_.insert(position(place), Row{date, place.arrival, key, std::move(payload)});
    if (!key.empty()) placeOf_.emplace(std::move(key), place);
  }
  // Removes the row under `key`; returns whether there was one.
  bool erase(const std::string& key) {
    auto known = placeOf_.find(key);
    if (known == placeOf_.end()) return false;
    auto at = position(known->second);
    placeOf_.erase(known);
    Row removed = std::move(*at);  // destroyed once the rows are consistent again
    rows_.erase(at);
    return true;
  }
  // Removes the first row whose payload satisfies `match`; returns whether there was one.
  template <class Match>
  bool eraseFirst(Match match) {
    auto at = std::find_if(rows_.begin(), rows_.end(),
                           [&](const Row& row) { return match(row.payload); });
    if (at == rows_.end()) return false;
    return at->key.empty() ? eraseAt(at) : erase(std::string(at->key));
  }
  // The row under `key`, or null.
  const Row* find(const std::string& key) const {
    auto known = placeOf_.find(key);
    return known == placeOf_.end() ? nullptr : &*position(known->second);
  }
  bool contains(const std::string& key) const { return placeOf_.count(key) != 0; }
  // The rows, top first.
  const std::vector<Row>& rows() const { return rows_; }
  std::size_t size() const { return rows_.size(); }
  // Removes every row.
  void clear() {
    std::vector<Row> removed;
    removed.swap(rows_);
    placeOf_.clear();
  }

 private:
  struct Place {
    double date;
    std::uint64_t arrival;
  };
  static bool above(const Row& row, const Place& place) {
    return row.date != place.date ? row.date > place.date : row.arrival > place.arrival;
  }
  typename std::vector<Row>::iterator position(const Place& place) {
    return std::lower_bound(rows_.begin(), rows_.end(), place, above);
  }
  typename std::vector<Row>::const_iterator position(const Place& place) const {
    return std::lower_bound(rows_.begin(), rows_.end(), place, above);
  }
  bool eraseAt(typename std::vector<Row>::iterator at) {
    Row removed = std::move(*at);
    rows_.erase(at);
    return true;
  }

  std::vector<Row> rows_;
  std::unordered_map<std::string, Place> placeOf_;
  std::uint64_t arrivals_ = 0;
};

}  // namespace platform::springboard
