#pragma once
// The method lists of registered classes. GNU libobjc keeps a class's methods as a chain of
// lists that class_addMethod extends at its head; the device marks where a class's chain starts
// once the class is built and later takes off every list added since, so that the methods an
// extension added leave no trace when its process ends.
//
// The device also supplies class_addMethod itself for registered classes (classes still under
// construction go to libobjc's): libobjc's copies the name and types on every call and registers
// a fresh typed selector each time, which a device relaunching SpringBoard thousands of times
// in one host process would accumulate. The device's version takes the typed selector registered
// once per name and types, and owns the one-entry list it links in.

#include <objc/runtime.h>

#include <cstddef>

namespace platform::objc {

// Where a class's chain of method lists started at one moment (the head list then).
struct MethodListMark {
  const void* head = nullptr;
};

// The current head of the chain of `cls` (a class or a metaclass).
// REQUIRES: cls is registered with the runtime.
MethodListMark markMethodLists(Class cls);

// Unlinks every method list put in front of `mark` since it was taken (freeing those the
// device's class_addMethod made), then rebuilds the dispatch tables of `cls` and its subclasses.
// Returns how many methods were removed.
std::size_t removeMethodListsSince(Class cls, MethodListMark mark);

}  // namespace platform::objc
