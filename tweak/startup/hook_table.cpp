#include "tweak/startup/hook_table.h"

#include "platform/objc/substrate.h"
#include "tweak/startup/observers.h"
#include "tweak/state/globals.h"
#include "tweak/state/springboard_headers.h"

namespace tarrow8 {
namespace {

using platform::objc::Selector;

// A row replacing `selector` on `className`; the handler's signature must be the selector's.
template <class R, class... Args>
HookRow hook(const char* className, const Selector<R(Args...)>& selector,
             R (*handler)(id, SEL, Args...), IMP* savedSlot) {
  return {className, selector.name(), HookKind::Hook, reinterpret_cast<IMP>(handler),
          nullptr,   savedSlot};
}

// A row adding `selector` to `className`, with the encoding of the selector's signature.
template <class R, class... Args>
HookRow added(const char* className, const Selector<R(Args...)>& selector,
              R (*handler)(id, SEL, Args...)) {
  return {className,        selector.name(), HookKind::Added, reinterpret_cast<IMP>(handler),
          selector.types(), nullptr};
}

static_assert(std::string_view(sb::gracePeriodTimerFired.types()) == "v@:@");

// Built on first use rather than at load: the library's constructor installs the table, and may
// run before the library's dynamic initialisers.
std::span<const HookRow> rows() {
  // The lock-screen, Notification Center, actions and reminders rows join this table, in their
  // places before these, as those features arrive.
  static const HookRow table[] = {
      hook("SpringBoard", sb::applicationDidFinishLaunching, applicationDidFinishLaunching,
           &saved.applicationDidFinishLaunching),
      added("SpringBoard", sb::gracePeriodTimerFired, gracePeriodTimerFired),
  };
  return table;
}

}  // namespace

void installHookTable() {
  for (const HookRow& row : rows()) {
    Class cls = objc_getClass(row.className);
    if (!cls) continue;
    SEL selector = sel_registerName(row.selector);
    if (row.kind == HookKind::Hook) {
      MSHookMessageEx(cls, selector, row.implementation, row.saved);
    } else {
      class_addMethod(cls, selector, row.implementation, row.types);
    }
  }
}

}  // namespace tarrow8
