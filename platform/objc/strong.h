#pragma once
// A strong reference to a device object: retains on copy, releases on destruction. A global or a
// member of this type is the C++ form of a strong instance variable.

#include <objc/runtime.h>

#include <utility>

namespace platform::objc {

// Adds one to the object's retain count and returns it. nil and class objects are left alone.
id retain(id object);
// Takes one from the object's retain count, deallocating it when the count reaches zero.
void release(id object);

// An owning handle on one device object (or nil).
class Strong {
 public:
  constexpr Strong() = default;
  // Retains `object`, like assigning to a strong variable.
  Strong(id object) : object_(retain(object)) {}  // NOLINT: implicit, as a strong variable is
  Strong(const Strong& other) : object_(retain(other.object_)) {}
  Strong(Strong&& other) noexcept : object_(std::exchange(other.object_, nil)) {}
  ~Strong() { release(object_); }

  Strong& operator=(const Strong& other) {
    reset(other.object_);
    return *this;
  }
  Strong& operator=(Strong&& other) noexcept {
    if (this != &other) {
      id old = std::exchange(object_, std::exchange(other.object_, nil));
      release(old);
    }
    return *this;
  }
  // Retains the new value, then releases the old one (safe when both are the same object).
  Strong& operator=(id object) {
    reset(object);
    return *this;
  }

  // Takes over a reference the caller already owns (a result of alloc, new, copy or init).
  static Strong adopt(id owned) {
    Strong s;
    s.object_ = owned;
    return s;
  }

  // The object, or nil.
  id get() const { return object_; }
  operator id() const { return object_; }  // NOLINT: a strong variable reads as its object
  explicit operator bool() const { return object_ != nil; }

  // Replaces the object held: retains the new one, then releases the old one.
  void reset(id object = nil) {
    id old = object_;
    object_ = retain(object);
    release(old);
  }
  // Gives up ownership without releasing; the caller now owns the reference.
  id leak() { return std::exchange(object_, nil); }

 private:
  id object_ = nil;
};

}  // namespace platform::objc
