#include "tweak/startup/hook_table.h"

#include "platform/objc/substrate.h"
#include "tweak/startup/observers.h"
#include "tweak/state/globals.h"
#include "tweak/state/springboard_headers.h"

namespace tarrow8 {
namespace {

template <class F>
IMP imp(F* function) {
  return reinterpret_cast<IMP>(function);
}

// The lock-screen, Notification Center, actions and reminders rows join this table, in their
// places before these, as those features arrive.
const HookRow kRows[] = {
    {"SpringBoard", "applicationDidFinishLaunching:", HookKind::Hook,
     imp(applicationDidFinishLaunching), nullptr, &saved.applicationDidFinishLaunching},
    {"SpringBoard", "gracePeriodTimerFired:", HookKind::Added, imp(gracePeriodTimerFired), "v@:@",
     nullptr},
};

static_assert(std::string_view(sb::gracePeriodTimerFired.types()) == "v@:@");

}  // namespace

std::span<const HookRow> hookTable() {
  return kRows;
}

void installHookTable() {
  for (const HookRow& row : kRows) {
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
