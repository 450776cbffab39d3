#include "platform/dispatch/distributed_notification_center.h"

#include <cstdint>
#include <map>
#include <vector>

#include "platform/dispatch/perform.h"
#include "platform/dispatch/run_loop.h"
#include "platform/foundation/process.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

// One registration: a block with its token, or a target and selector.
struct Registration {
  ProcessId owner;
  objc::Strong name;    // nil: every name
  objc::Strong object;  // nil: every sender
  objc::Strong token;   // the block form's observer token
  NotificationBlock block;
  id target = nil;  // the selector form's observer, not retained
  SEL selector = nullptr;
};

struct DistributedCenter {
  std::uint64_t nextId = 1;
  std::map<std::uint64_t, Registration> registrations;  // by id: delivery in registration order
};

// Removes the registrations `matches` selects; their blocks are destroyed afterwards, since
// releasing what they captured may reach the centre again.
template <class Predicate>
void removeWhere(std::map<std::uint64_t, Registration>& registrations, Predicate matches) {
  std::vector<Registration> removed;
  for (auto it = registrations.begin(); it != registrations.end();) {
    if (matches(it->second)) {
      removed.push_back(std::move(it->second));
      it = registrations.erase(it);
    } else {
      ++it;
    }
  }
}

DistributedCenter& state() {
  static DistributedCenter* c = [] {
    auto* made = new DistributedCenter();
    onProcessExit([](ProcessId pid) {
      removeWhere(state().registrations, [pid](const Registration& r) { return r.owner == pid; });
    });
    return made;
  }();
  return *c;
}

Class observerTokenClass() {
  static Class cls =
      objc::deviceClass("__NSObserver", objc::rootClass(), [](objc::ClassBuilder&) {});
  return cls;
}

bool matches(const Registration& r, id name, id object) {
  if (r.name && !sel::isEqual(r.name, name)) return false;
  if (r.object && (object == nil || !sel::isEqual(r.object, object))) return false;
  return true;
}

void deliver(std::uint64_t registration, id note) {
  auto it = state().registrations.find(registration);
  if (it == state().registrations.end()) return;
  if (it->second.block) {
    NotificationBlock block = it->second.block;  // the block may remove its own registration
    block(note);
  } else {
    dispatch::performWithObject(it->second.target, it->second.selector, note);
  }
}

id defaultCenterOf(id, SEL) {
  return distributedNotificationCenter();
}

id addObserverForName(id, SEL, id name, id object, id, NotificationBlock block) {
  if (!block) return nil;
  objc::Strong token = objc::make(observerTokenClass());
  Registration r{currentProcess(), objc::Strong::adopt(sel::copy(name)), object, token,
                 std::move(block)};
  state().registrations.emplace(state().nextId++, std::move(r));
  return objc::autorelease(token.leak());
}

void addObserverSelector(id, SEL, id observer, SEL selector, id name, id object) {
  if (observer == nil || selector == nullptr) return;
  Registration r{currentProcess(), objc::Strong::adopt(sel::copy(name)), object, nil, nullptr};
  r.target = observer;
  r.selector = selector;
  state().registrations.emplace(state().nextId++, std::move(r));
}

void removeObserver(id, SEL, id observer) {
  if (observer == nil) return;
  removeWhere(state().registrations, [observer](const Registration& r) {
    return r.token.get() == observer || r.target == observer;
  });
}

void post(id, SEL, id name, id object, id userInfo, BOOL) {
  if (name == nil) return;
  // What every receiver sees is fixed now: a copy of the details, as a distributed
  // notification carries them out of the sender.
  objc::Strong note = notification(objc::Strong::adopt(sel::copy(name)), object,
                                   objc::Strong::adopt(sel::copy(userInfo)));
  for (const auto& [registration, r] : state().registrations) {
    if (!matches(r, name, object)) continue;
    RunLoop::main().postFor(r.owner, DeviceClock::shared().now(),
                            [registration = registration, note] { deliver(registration, note); });
  }
}

void postWithUserInfo(id self, SEL cmd, id name, id object, id userInfo) {
  post(self, cmd, name, object, userInfo, NO);
}

void postWithObject(id self, SEL cmd, id name, id object) {
  post(self, cmd, name, object, nil, NO);
}

}  // namespace

Class NSDistributedNotificationCenterClass() {
  static Class cls = objc::deviceClass(
      "NSDistributedNotificationCenter", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.method(sel::addObserverForName_object_queue_usingBlock, addObserverForName)
            .method(sel::addObserver_selector_name_object, addObserverSelector)
            .method(sel::removeObserver, removeObserver)
            .method(sel::postNotificationName_object, postWithObject)
            .method(sel::postNotificationName_object_userInfo, postWithUserInfo)
            .method(sel::postNotificationName_object_userInfo_deliverImmediately, post)
            .classMethod(sel::defaultCenter, defaultCenterOf);
      });
  return cls;
}

id distributedNotificationCenter() {
  static id center = objc::make(NSDistributedNotificationCenterClass()).leak();
  return center;
}

namespace dispatch {

void resetDistributedNotificationCenter() {
  removeWhere(state().registrations, [](const Registration&) { return true; });
}

}  // namespace dispatch
}  // namespace platform
