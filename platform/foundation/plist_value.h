#pragma once
// A property-list value as the device's settings, caches and preference files hold them.

#include <compare>
#include <concepts>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
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

// A whole number from -2^63 to 2^64-1, the range property lists hold: signed 64-bit numbers
// and, above INT64_MAX, the unsigned numbers Foundation writes as such.
class Integer {
 public:
  // Zero.
  constexpr Integer() : bits_(0) {}
  // The signed number `value` (unsigned types go through fromUnsigned, so none wraps).
  template <std::signed_integral T>
  constexpr Integer(T value) : bits_(value) {}
  // The unsigned number `value`; above INT64_MAX it is kept as unsigned, not wrapped.
  static constexpr Integer fromUnsigned(std::uint64_t value) {
    Integer i(static_cast<std::int64_t>(value));
    i.aboveSignedMax_ = value > static_cast<std::uint64_t>(INT64_MAX);
    return i;
  }

  // Whether the number is above INT64_MAX (and so has no signed 64-bit form).
  constexpr bool aboveSignedMax() const { return aboveSignedMax_; }
  // Whether the number is below zero.
  constexpr bool negative() const { return !aboveSignedMax_ && bits_ < 0; }
  // The number if it lies in the signed 64-bit range; nothing above INT64_MAX.
  constexpr std::optional<std::int64_t> toSigned() const {
    return aboveSignedMax_ ? std::nullopt : std::optional<std::int64_t>(bits_);
  }
  // The number if it is not negative; nothing below zero.
  constexpr std::optional<std::uint64_t> toUnsigned() const {
    return negative() ? std::nullopt : std::optional<std::uint64_t>(bits());
  }
  // The number modulo 2^64, its two's-complement bits (what a C cast to uint64_t gives).
  constexpr std::uint64_t bits() const { return static_cast<std::uint64_t>(bits_); }
  // The decimal text of the number, e.g. "-5" or "18446744073709551615".
  std::string toString() const;

  // The signed value itself, so Value can hand out a view of it.
  // REQUIRES: !aboveSignedMax().
  constexpr const std::int64_t& signedRef() const { return bits_; }
  // A mutable view of the signed value; any int64_t stored through it stays signed.
  // REQUIRES: !aboveSignedMax().
  constexpr std::int64_t& signedRef() { return bits_; }

  // Numeric equality and order: fromUnsigned(2^64-1) is unequal to and greater than -1.
  friend constexpr bool operator==(const Integer&, const Integer&) = default;
  friend constexpr std::strong_ordering operator<=>(const Integer& a, const Integer& b) {
    if (a.aboveSignedMax_ != b.aboveSignedMax_) return a.aboveSignedMax_ <=> b.aboveSignedMax_;
    return a.aboveSignedMax_ ? a.bits() <=> b.bits() : a.bits_ <=> b.bits_;
  }

 private:
  std::int64_t bits_;            // the number, or its low 64 bits when above INT64_MAX
  bool aboveSignedMax_ = false;  // set only for unsigned numbers above INT64_MAX
};

// A keyed archive's reference to an entry of its "$objects" array (binary marker 0x8N).
// Foundation holds UIDs as 32-bit unsigned numbers.
struct Uid {
  std::uint32_t value = 0;

  // Same referenced index.
  friend bool operator==(const Uid&, const Uid&) = default;
};

class Value;

// The ordered elements of an array value.
using Array = std::vector<Value>;
// The entries of a dictionary value, kept sorted by key so output is deterministic.
using Dictionary = std::map<std::string, Value>;
// The bytes of a data value.
using Data = std::vector<std::uint8_t>;

// The nine kinds of property-list value. Uids come from keyed archives.
enum class Kind { Boolean, Integer, Real, String, Date, Data, Array, Dictionary, Uid };

// The lower-case name of `kind` as error messages use it: "boolean", "integer", "real",
// "string", "date", "data", "array", "dictionary" or "uid".
std::string_view kindName(Kind kind);

// One property-list value: a boolean, integer, real, string, date, data, array, dictionary or
// UID. Copyable and comparable; arrays and dictionaries own their elements.
class Value {
 public:
  // The storage: one alternative per Kind, in the same order.
  using Storage =
      std::variant<bool, Integer, double, std::string, Date, Data, Array, Dictionary, Uid>;

  // An empty dictionary, the usual top level of a settings file.
  Value() : storage_(Dictionary{}) {}
  // A boolean.
  Value(bool b) : storage_(b) {}
  // An integer from any integer type other than bool, kept exactly: unsigned values above
  // INT64_MAX stay unsigned.
  template <std::integral T>
  requires(!std::same_as<T, bool>) Value(T i)
      : storage_(std::is_signed_v<T> ? Integer(static_cast<std::int64_t>(i))
                                     : Integer::fromUnsigned(static_cast<std::uint64_t>(i))) {}
  // An integer.
  Value(Integer i) : storage_(i) {}
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
  // A UID.
  Value(Uid uid) : storage_(uid) {}

  // Which of the nine kinds this value is.
  Kind kind() const { return static_cast<Kind>(storage_.index()); }
  // The lower-case name of kind(), e.g. "dictionary".
  std::string_view kindName() const { return plist::kindName(kind()); }

  // True if this value holds a T, one of the Storage alternatives (bool, Integer, double,
  // std::string, Date, Data, Array, Dictionary, Uid). T may also be std::int64_t, which names
  // an integer in the signed 64-bit range (not one above INT64_MAX).
  template <typename T>
  bool is() const {
    return get<T>() != nullptr;
  }
  // A pointer to the held T (or signed integer, for std::int64_t), or nullptr if this value
  // holds something else.
  template <typename T>
  const T* get() const {
    if constexpr (std::is_same_v<T, std::int64_t>) {
      const Integer* i = std::get_if<Integer>(&storage_);
      return i != nullptr && !i->aboveSignedMax() ? &i->signedRef() : nullptr;
    } else {
      return std::get_if<T>(&storage_);
    }
  }
  // A mutable pointer to the held T, or nullptr if this value holds something else.
  template <typename T>
  T* get() {
    return const_cast<T*>(std::as_const(*this).get<T>());
  }
  // The held T.
  // REQUIRES: is<T>(); otherwise throws std::bad_variant_access.
  template <typename T>
  const T& as() const {
    const T* held = get<T>();
    if (held == nullptr) throw std::bad_variant_access();
    return *held;
  }
  // The held T, mutable.
  // REQUIRES: is<T>(); otherwise throws std::bad_variant_access.
  template <typename T>
  T& as() {
    return const_cast<T&>(std::as_const(*this).as<T>());
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
