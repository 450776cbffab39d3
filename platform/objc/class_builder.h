#pragma once
// Building device classes: a real runtime class whose methods are C++ functions registered with
// their true encodings, whose instance variables are real, and whose original method table the
// device can put back after an extension has hooked or extended it.

#include <objc/runtime.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/objc/object.h"
#include "platform/objc/selector.h"

namespace platform::objc {

// Collects the parts of one new class and registers it with the runtime.
class ClassBuilder {
 public:
  // Starts a class named `name` under `superclass`. REQUIRES: no class of that name exists.
  ClassBuilder(const char* name, Class superclass);

  // Adds an instance method implemented by `imp`; the signature must match the selector's.
  template <class R, class... Args>
  ClassBuilder& method(const Selector<R(Args...)>& selector, R (*imp)(id, SEL, Args...)) {
    return addMethod(false, selector.sel(), reinterpret_cast<IMP>(imp), selector.types());
  }
  // Adds a class method (a method of the metaclass) implemented by `imp`.
  template <class R, class... Args>
  ClassBuilder& classMethod(const Selector<R(Args...)>& selector, R (*imp)(id, SEL, Args...)) {
    return addMethod(true, selector.sel(), reinterpret_cast<IMP>(imp), selector.types());
  }
  // Adds a real instance variable of type T, found later by name and offset.
  template <class T>
  ClassBuilder& ivar(const char* name) {
    return addIvar(name, sizeof(T), alignof(T), TypeEncoding<T>::value.c_str());
  }
  // Declares that instances carry a native body of type Body, created by alloc.
  template <class Body>
  ClassBuilder& body() {
    factory_ = [] { return std::unique_ptr<NativeBody>(new Body()); };
    return *this;
  }

  // Registers the class and records its methods as the device's original table.
  Class build();

 private:
  ClassBuilder& addMethod(bool classSide, SEL selector, IMP imp, const char* types);
  ClassBuilder& addIvar(const char* name, std::size_t size, std::size_t align, const char* types);

  Class cls_;
  std::function<std::unique_ptr<NativeBody>()> factory_;
};

// The class named `name`, defining it with `define` on first use. Device classes are defined once
// per process (the runtime's class table cannot forget a class) and restored between launches.
Class deviceClass(const char* name, Class superclass,
                  const std::function<void(ClassBuilder&)>& define);

// Puts back the original method table of every device class: hooked methods get their device
// implementation again and methods added by extensions disappear, as after a process restart.
void restoreDeviceClasses();

// Makes sure `cls` has its own dispatch table before one of its methods changes: GNU libobjc
// would otherwise write the change into the table shared by every class not yet messaged.
void prepareDispatchTable(Class cls);
// Rebuilds the dispatch tables of `cls` and its subclasses from their method lists, so that a
// changed implementation reaches subclasses that inherit it.
void refreshDispatchTables(Class cls);

// The body factory for instances of `cls`: its own or the nearest superclass's; null when none.
const std::function<std::unique_ptr<NativeBody>()>* bodyFactoryFor(Class cls);

// Reads the object-typed instance variable `name` of `object`; nil when the class has none.
id objectIvar(id object, const char* name);
// Stores `value` (retained; the previous value released) in the object-typed ivar `name`.
// REQUIRES: the class of `object` has that ivar.
void setObjectIvar(id object, const char* name, id value);

}  // namespace platform::objc
