#include "platform/dispatch/perform.h"

#include <objc/message.h>

#include "platform/objc/selector.h"

namespace platform::dispatch {

void performWithObject(id target, SEL selector, id argument) {
  if (target == nil) return;
  IMP imp = objc_msg_lookup(target, selector);
  if (imp == objc::detail::unrecognizedSelectorImp()) {
    objc::detail::throwUnrecognizedSelector(target, selector);
  }
  reinterpret_cast<void (*)(id, SEL, id)>(imp)(target, selector, argument);
}

}  // namespace platform::dispatch
