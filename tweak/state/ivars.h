#pragma once
// Instance variables read and written by name through the runtime, as the extension reaches
// SpringBoard's `_observer` and `_tableView` and keeps the state of its own view controllers.

#include <objc/runtime.h>

namespace tarrow8 {

// The object held in `object`'s instance variable `name`; nil when its class has none.
inline id ivarValue(id object, const char* name) {
  Ivar ivar = object ? class_getInstanceVariable(object_getClass(object), name) : nullptr;
  return ivar ? object_getIvar(object, ivar) : nil;
}

// Stores `value` in the strong instance variable `name` (retaining it, releasing the old one).
// Nothing happens when the class has no such variable.
void setStrongIvar(id object, const char* name, id value);

}  // namespace tarrow8
