#pragma once
// A property-list value as the device's settings, caches and preference files hold them.

#include <concepts>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform::plist {

// A point in time as seconds since the platform's reference date, 2001-01-01 00:00:00 UTC.
// Negative values lie before it.
struct Date {
  double secondsSince2001 = 0;

  // Exact comparison of the two instants.
  friend bool operator==(const Date&, const Date&) = default;
};

class Value;

// The ordered elements of an array value.
using Array = std::vector<Value>;
// The entries of a dictionary value, kept sorted by key so output is deterministic.
using Dictionary = std::map<std::string, Value>;
// The bytes of a data value.
using Data = std::vector<std::uint8_t>;

// The eight kinds of property-list value.
enum class Kind { Boolean, Integer, Real, String, Date, Data, Array, Dictionary };

// The lower-case name of `kind` as error messages use it: "boolean", "integer", "real",
// "string", "date", "data", "array" or "dictionary".
std::string_view kindName(Kind kind);

// One property-list value: a boolean, integer, real, string, date, data, array or dictionary.
// Copyable and comparable; arrays and dictionaries own their elements.
class Value {
 public:
  // The storage: one alternative per Kind, in the same order.
  using Storage =
      std::variant<bool, std::int64_t, double, std::string, Date, Data, Array, Dictionary>;

  // An empty dictionary, the usual top level of a settings file.
  Value() : storage_(Dictionary{}) {}
  // A boolean.
  Value(bool b) : storage_(b) {}
  // An integer from any integer type other than bool. Unsigned values above INT64_MAX wrap
  // to negative numbers, as the 64-bit storage holds them.
  template <std::integral T>
  requires(!std::same_as<T, bool>) Value(T i) : storage_(static_cast<std::int64_t>(i)) {}
  // A real.
  Value(double d) : storage_(d) {}
  // A UTF-8 string.
  Value(std::string s) : storage_(std::move(s)) {}
  // A UTF-8 string; keeps string literals from turning into booleans.
  Value(const char* s) : storage_(std::string(s)) {}
  // A UTF-8 string.
  Value(std::string_view s) : storage_(std::string(s)) {}
  // A date.
  Value(Date d) : storage_(d) {}
  // A data value holding `bytes`.
  Value(Data bytes) : storage_(std::move(bytes)) {}
  // An array holding `elements`.
  Value(Array elements) : storage_(std::move(elements)) {}
  // A dictionary holding `entries`.
  Value(Dictionary entries) : storage_(std::move(entries)) {}

  // Which of the eight kinds this value is.
  Kind kind() const { return static_cast<Kind>(storage_.index()); }
  // The lower-case name of kind(), e.g. "dictionary".
  std::string_view kindName() const { return plist::kindName(kind()); }

  // True if this value holds a T, one of the Storage alternatives (bool, std::int64_t,
  // double, std::string, Date, Data, Array, Dictionary).
  template <typename T>
  bool is() const {
    return std::holds_alternative<T>(storage_);
  }
  // A pointer to the held T, or nullptr if this value holds something else.
  template <typename T>
  const T* get() const {
    return std::get_if<T>(&storage_);
  }
  // A mutable pointer to the held T, or nullptr if this value holds something else.
  template <typename T>
  T* get() {
    return std::get_if<T>(&storage_);
  }
  // The held T.
  // REQUIRES: is<T>(); otherwise throws std::bad_variant_access.
  template <typename T>
  const T& as() const {
    return std::get<T>(storage_);
  }
  // The held T, mutable.
  // REQUIRES: is<T>(); otherwise throws std::bad_variant_access.
  template <typename T>
  T& as() {
    return std::get<T>(storage_);
  }

  // The entry for `key` if this is a dictionary holding it; nullptr otherwise.
  const Value* find(const std::string& key) const;

  // The whole variant, for std::visit.
  const Storage& storage() const { return storage_; }

  // Same kind and same contents, recursively. Reals compare as doubles, so a NaN real is
  // unequal to everything, itself included.
  friend bool operator==(const Value& a, const Value& b);

 private:
  Storage storage_;
};

}  // namespace platform::plist
