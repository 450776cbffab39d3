#include "tweak/state/ivars.h"

#include "platform/objc/object.h"

namespace tarrow8 {

void setStrongIvar(id object, const char* name, id value) {
  Ivar ivar = object ? class_getInstanceVariable(object_getClass(object), name) : nullptr;
  if (!ivar) return;
  id old = object_getIvar(object, ivar);
  object_setIvar(object, ivar, sel::retain(value));
  sel::release(old);
}

}  // namespace tarrow8
