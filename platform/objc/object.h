#pragma once
// The device's root class NSObject and the memory rules every device object follows: a retain
// count, autorelease pools, and an optional C++ body that carries a class's native state.

#include <objc/runtime.h>

#include <cstddef>
#include <memory>
#include <typeinfo>
#include <vector>

#include "platform/objc/selector.h"
#include "platform/objc/strong.h"

namespace platform::objc {

// The native C++ state of one device object (a string's characters, an array's elements).
// A class declares its body type through ClassBuilder; alloc creates it, dealloc destroys it.
struct NativeBody {
  virtual ~NativeBody() = default;
};

// The root class "NSObject", created on first use.
Class rootClass();

// Allocates an instance of `cls` with a retain count of one and the body its class declares.
// REQUIRES: cls descends from rootClass().
id allocInstance(Class cls);

// The object's body, or null for nil, class objects and objects of classes without one.
NativeBody* nativeBody(id object);
// The object's body as T, or null when it has none or another kind. The casts of the last few
// body types seen are remembered, so objects of the classes in use pay for no dynamic_cast.
// Device objects live on the main thread, as everything on the device does.
template <class T>
T* native(id object) {
  NativeBody* body = nativeBody(object);
  if (!body) return nullptr;
  struct Cast {
    const std::type_info* type = nullptr;
    std::ptrdiff_t offset = 0;  // from the NativeBody to the T inside the same object
    bool matches = false;
  };
  static Cast casts[4];
  static unsigned next = 0;
  const std::type_info* type = &typeid(*body);
  const Cast* known = nullptr;
  for (const Cast& c : casts) {
    if (c.type == type) known = &c;
  }
  if (!known) {
    T* cast = dynamic_cast<T*>(body);
    Cast& slot = casts[next++ % 4];
    slot = {type, cast ? reinterpret_cast<char*>(cast) - reinterpret_cast<char*>(body) : 0,
            cast != nullptr};
    known = &slot;
  }
  return known->matches ? reinterpret_cast<T*>(reinterpret_cast<char*>(body) + known->offset)
                        : nullptr;
}

// The current retain count of `object` (0 for nil; class objects report a large constant).
unsigned long retainCount(id object);

// Hands `object` to the innermost autorelease pool, which releases it when drained, and
// returns it. REQUIRES: the caller owns a reference it gives up.
id autorelease(id object);

// An autorelease pool: objects autoreleased while it is the innermost pool are released when it
// is destroyed. Pools nest like scopes.
class AutoreleasePool {
 public:
  AutoreleasePool();
  ~AutoreleasePool();
  AutoreleasePool(const AutoreleasePool&) = delete;
  AutoreleasePool& operator=(const AutoreleasePool&) = delete;

  // Releases what the innermost pool holds now, keeping the pool open.
  static void drainInnermost();

 private:
  std::size_t depth_;
};

// Whether `object` is an instance of `cls` or of one of its subclasses (false for nil).
bool isKindOf(id object, Class cls);

// Whether `object`'s class answers `selector` (false for nil).
bool respondsTo(id object, SEL selector);

// The name of the object's class, or "nil".
const char* className(id object);

// Creates a new instance of `cls` (alloc then init) and hands back ownership.
Strong make(Class cls);

// Supplies NSObject's default description ("<Class: 0x...>" as an autoreleased string); set
// once by the layer that defines strings.
void setDefaultDescription(id (*describe)(id object));

}  // namespace platform::objc

// Selectors of NSObject, which every device object answers.
namespace sel {
using platform::objc::Selector;
inline const Selector<id()> alloc{"alloc"};
inline const Selector<id()> new_{"new"};
inline const Selector<id()> init{"init"};
inline const Selector<id()> retain{"retain"};
inline const Selector<void()> release{"release"};
inline const Selector<id()> autorelease{"autorelease"};
inline const Selector<unsigned long()> retainCount{"retainCount"};
inline const Selector<void()> dealloc{"dealloc"};
inline const Selector<id()> copy{"copy"};
inline const Selector<id(void*)> copyWithZone{"copyWithZone:"};
inline const Selector<id()> mutableCopy{"mutableCopy"};
inline const Selector<id(void*)> mutableCopyWithZone{"mutableCopyWithZone:"};
inline const Selector<Class()> class_{"class"};
inline const Selector<id()> self{"self"};
inline const Selector<BOOL(Class)> isKindOfClass{"isKindOfClass:"};
inline const Selector<BOOL(Class)> isMemberOfClass{"isMemberOfClass:"};
inline const Selector<BOOL(SEL)> respondsToSelector{"respondsToSelector:"};
inline const Selector<BOOL(id)> isEqual{"isEqual:"};
inline const Selector<unsigned long()> hash{"hash"};
inline const Selector<id()> description{"description"};
}  // namespace sel
