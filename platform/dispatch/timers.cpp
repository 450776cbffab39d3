#include "platform/dispatch/timers.h"

#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "platform/dispatch/perform.h"
#include "platform/dispatch/run_loop.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/process.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

struct TimerBody;

// The timers queued on the run loop, so that a terminated process's timers are invalidated
// even when something else still references them.
std::set<TimerBody*>& scheduled();

struct TimerBody : objc::NativeBody {
  id self = nil;  // the timer this body belongs to
  objc::Strong fireDate;
  objc::Strong serviceIdentifier;
  objc::Strong target;
  objc::Strong userInfo;
  SEL selector = nullptr;
  bool valid = true;
  bool disableSystemWaking = false;
  ProcessId owner = kDeviceProcess;
  EventId event = 0;
  ~TimerBody() override { scheduled().erase(this); }
};

TimerBody& body(id self) {
  return *objc::native<TimerBody>(self);
}

DeviceTime deviceTimeOfDate(id date) {
  double nanos = dateSeconds(date, DeviceClock::shared().nowSeconds()) * kNanosPerSecond;
  constexpr double kLimit = 9.0e18;  // distantFuture and distantPast saturate
  if (nanos >= kLimit) return std::numeric_limits<DeviceTime>::max();
  if (nanos <= -kLimit) return std::numeric_limits<DeviceTime>::min();
  return std::llround(nanos);
}

void invalidateTimer(id timer) {
  objc::Strong keep = timer;  // cancelling may drop the run loop's reference, the last one
  TimerBody& b = body(timer);
  b.valid = false;
  scheduled().erase(&b);
  RunLoop::main().cancel(std::exchange(b.event, 0));
  objc::Strong target = std::move(b.target);
  objc::Strong userInfo = std::move(b.userInfo);
}

std::set<TimerBody*>& scheduled() {
  static auto* timers = [] {
    auto* made = new std::set<TimerBody*>();
    onProcessExit([](ProcessId pid) {
      std::vector<objc::Strong> ended;
      for (TimerBody* b : scheduled()) {
        if (b->owner == pid) ended.emplace_back(b->self);
      }
      for (const objc::Strong& timer : ended) invalidateTimer(timer);
    });
    return made;
  }();
  return *timers;
}

void fire(id timer) {
  TimerBody& b = body(timer);
  b.event = 0;
  scheduled().erase(&b);
  if (!b.valid) return;
  // A one-shot timer is invalid once its callout returns, or once it raised.
  struct InvalidateAfter {
    id timer;
    ~InvalidateAfter() { invalidateTimer(timer); }
  } after{timer};
  dispatch::performWithObject(b.target, b.selector, timer);
}

id initWithFireDate(id self, SEL, id date, id service, id target, SEL selector, id userInfo) {
  TimerBody& b = body(self);
  b.self = self;
  b.fireDate = date;
  b.serviceIdentifier = objc::Strong::adopt(sel::copy(service));
  b.target = target;
  b.selector = selector;
  b.userInfo = userInfo;
  return self;
}

id initWithTimeInterval(id self, SEL cmd, double interval, id service, id target, SEL selector,
                        id userInfo) {
  objc::Strong date = nsdate(DeviceClock::shared().nowSeconds() + interval);
  return initWithFireDate(self, cmd, date, service, target, selector, userInfo);
}

void scheduleInRunLoop(id self, SEL, id) {
  TimerBody& b = body(self);
  if (!b.valid || b.event) return;
  b.owner = currentProcess();
  b.event = RunLoop::main().post(deviceTimeOfDate(b.fireDate),
                                 [timer = objc::Strong(self)] { fire(timer); });
  if (b.event) scheduled().insert(&b);
}

void invalidate(id self, SEL) {
  invalidateTimer(self);
}
BOOL isValid(id self, SEL) {
  return body(self).valid ? YES : NO;
}
id userInfoOf(id self, SEL) {
  return body(self).userInfo;
}
id fireDateOf(id self, SEL) {
  return body(self).fireDate;
}
id serviceIdentifierOf(id self, SEL) {
  return body(self).serviceIdentifier;
}
void setDisableSystemWaking(id self, SEL, BOOL disable) {
  body(self).disableSystemWaking = disable;
}
BOOL disableSystemWaking(id self, SEL) {
  return body(self).disableSystemWaking ? YES : NO;
}

id mainRunLoopOf(id, SEL) {
  return mainRunLoopObject();
}

}  // namespace

Class NSRunLoopClass() {
  static Class cls = objc::deviceClass("NSRunLoop", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.classMethod(sel::mainRunLoop, mainRunLoopOf).classMethod(sel::currentRunLoop, mainRunLoopOf);
  });
  return cls;
}

id mainRunLoopObject() {
  static id loop = objc::make(NSRunLoopClass()).leak();
  return loop;
}

Class PCSimpleTimerClass() {
  static Class cls =
      objc::deviceClass("PCSimpleTimer", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.method(sel::initWithFireDate_serviceIdentifier_target_selector_userInfo, initWithFireDate)
            .method(sel::initWithTimeInterval_serviceIdentifier_target_selector_userInfo,
                    initWithTimeInterval)
            .method(sel::scheduleInRunLoop, scheduleInRunLoop)
            .method(sel::invalidate, invalidate)
            .method(sel::isValid, isValid)
            .method(sel::userInfo, userInfoOf)
            .method(sel::fireDate, fireDateOf)
            .method(sel::serviceIdentifier, serviceIdentifierOf)
            .method(sel::setDisableSystemWaking, setDisableSystemWaking)
            .method(sel::disableSystemWaking, disableSystemWaking)
            .body<TimerBody>();
      });
  return cls;
}

namespace dispatch {

void resetTimers() {
  std::vector<objc::Strong> all;
  for (TimerBody* b : scheduled()) all.emplace_back(b->self);
  for (const objc::Strong& timer : all) invalidateTimer(timer);
}

}  // namespace dispatch
}  // namespace platform
