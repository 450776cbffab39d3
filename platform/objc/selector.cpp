#include "platform/objc/selector.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
  // libobjc registers a new typed selector on every call, even for types it already has; each
  // launch of an extension would add its selectors again. The first one registered is reused.
  unsigned int count = 0;
  SEL* known = sel_copyTypedSelectorList(name, &count);
  SEL found = nullptr;
  for (unsigned int i = 0; i < count && !found; ++i) {
    const char* knownTypes = sel_getTypeEncoding(known[i]);
    if (knownTypes && std::strcmp(knownTypes, types) == 0) found = known[i];
  }
  std::free(known);
  return found ? found : sel_registerTypedName(name, types);
}

}  // namespace platform::objc::detail
