#include "platform/objc/substrate.h"

#include <cstdlib>

#include "platform/objc/class_builder.h"

namespace {

// The method `cls` defines itself for `selector`, or null when it only inherits it.
Method ownMethod(Class cls, SEL selector) {
  unsigned int count = 0;
  Method* methods = class_copyMethodList(cls, &count);
  Method found = nullptr;
  for (unsigned int i = 0; i < count && !found; ++i) {
    if (sel_isEqual(method_getName(methods[i]), selector)) found = methods[i];
  }
  free(methods);
  return found;
}

}  // namespace

extern "C" void MSHookMessageEx(Class cls, SEL selector, IMP replacement, IMP* result) {
  IMP previous = nullptr;
  if (cls && selector && replacement) {
    if (Method own = ownMethod(cls, selector)) {
      platform::objc::prepareDispatchTable(cls);
      previous = method_setImplementation(own, replacement);
      platform::objc::refreshDispatchTables(cls);
    } else if (Method inherited = class_getInstanceMethod(cls, selector)) {
      previous = method_getImplementation(inherited);
      class_addMethod(cls, selector, replacement, method_getTypeEncoding(inherited));
      platform::objc::refreshDispatchTables(cls);
    }
  }
  if (result) *result = previous;
}
