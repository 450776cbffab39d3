#include "platform/objc/selector.h"

#include <cstdio>
#include <string>

#include "platform/objc/exception.h"
#include "platform/objc/object.h"

namespace platform::objc::detail {
namespace {

// Stands in for every method a receiver lacks. A typed send never calls it (it recognises it
// and raises first); an untyped call that does reach it raises all the same.
id unrecognized(id self, SEL selector) {
  throwUnrecognizedSelector(self, selector);
}

IMP forwardHook(id, SEL) {
  return reinterpret_cast<IMP>(unrecognized);
}

// Installs the hook once, before the first lookup can need it.
const bool gHookInstalled = [] {
  __objc_msg_forward2 = forwardHook;
  return true;
}();

}  // namespace

const IMP gUnrecognizedSelectorImp = reinterpret_cast<IMP>(unrecognized);

void throwUnrecognizedSelector(id receiver, SEL selector) {
  bool isClass = class_isMetaClass(object_getClass(receiver));
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<void*>(receiver));
  NSException::raise(NSInvalidArgumentException,
                     std::string(isClass ? "+[" : "-[") + className(receiver) + " " +
                         sel_getName(selector) + "]: unrecognized selector sent to " +
                         (isClass ? "class " : "instance ") + address);
}

SEL registerSelector(const char* name, const char* types) {
  (void)gHookInstalled;
  return sel_registerTypedName(name, types);
}

}  // namespace platform::objc::detail
