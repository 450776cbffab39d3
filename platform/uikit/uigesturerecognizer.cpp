#include "platform/uikit/uigesturerecognizer.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/dispatch/perform.h"
#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"
#include "platform/objc/class_builder.h"
#include "platform/uikit/uiview.h"

namespace platform::uikit {
namespace {

using objc::Strong;

struct RecognizerBody : objc::NativeBody {
  struct TargetAction {
    id target;  // not retained
    SEL action;
  };
  std::vector<TargetAction> targets;
  long state = UIGestureRecognizerStatePossible;
  id view = nil;      // not retained
  id delegate = nil;  // not retained
  bool enabled = true;
};

struct LongPressBody : RecognizerBody {
  double minimumPressDuration = 0.5;
};

RecognizerBody& body(id self) {
  return *objc::native<RecognizerBody>(self);
}

id initWithTarget(id self, SEL, id target, SEL action) {
  if (target && action) body(self).targets.push_back({target, action});
  return self;
}
void addTarget(id self, SEL, id target, SEL action) {
  if (target && action) body(self).targets.push_back({target, action});
}
long state(id self, SEL) {
  return body(self).state;
}
id view(id self, SEL) {
  return body(self).view;
}
id delegate(id self, SEL) {
  return body(self).delegate;
}
void setDelegate(id self, SEL, id delegate) {
  body(self).delegate = delegate;
}
BOOL isEnabled(id self, SEL) {
  return body(self).enabled ? YES : NO;
}
void setEnabled(id self, SEL, BOOL enabled) {
  body(self).enabled = enabled != NO;
}
double minimumPressDuration(id self, SEL) {
  return objc::native<LongPressBody>(self)->minimumPressDuration;
}
void setMinimumPressDuration(id self, SEL, double seconds) {
  objc::native<LongPressBody>(self)->minimumPressDuration = seconds;
}

// Sends every target its action with the recognizer, in the order they were added.
void sendActions(id recognizer) {
  auto targets = body(recognizer).targets;  // an action may add targets
  for (const auto& [target, action] : targets)
    dispatch::performWithObject(target, action, recognizer);
}

// Whether either recognizer's delegate lets the two recognize together.
bool allowedTogether(id a, id b) {
  const auto& question = sel::gestureRecognizer_shouldRecognizeSimultaneouslyWithGestureRecognizer;
  for (auto [asked, other] : {std::pair{a, b}, std::pair{b, a}}) {
    id d = body(asked).delegate;
    if (objc::respondsTo(d, question.sel()) && question(d, asked, other)) return true;
  }
  return false;
}

DeviceTime afterSeconds(DeviceTime start, double seconds) {
  return start + static_cast<DeviceTime>(std::llround(seconds * kNanosPerSecond));
}

}  // namespace

Class UIGestureRecognizerClass() {
  static Class cls =
      objc::deviceClass("UIGestureRecognizer", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<RecognizerBody>()
            .method(sel::initWithTarget_action, initWithTarget)
            .method(sel::addTarget_action, addTarget)
            .method(sel::state, state)
            .method(sel::view, view)
            .method(sel::delegate, delegate)
            .method(sel::setDelegate, setDelegate)
            .method(sel::isEnabled, isEnabled)
            .method(sel::setEnabled, setEnabled);
      });
  return cls;
}

Class UILongPressGestureRecognizerClass() {
  static Class cls = objc::deviceClass(
      "UILongPressGestureRecognizer", UIGestureRecognizerClass(), [](objc::ClassBuilder& b) {
        b.body<LongPressBody>()
            .method(sel::minimumPressDuration, minimumPressDuration)
            .method(sel::setMinimumPressDuration, setMinimumPressDuration);
      });
  return cls;
}

id recognizerView(id recognizer) {
  auto* b = objc::native<RecognizerBody>(recognizer);
  return b ? b->view : nil;
}

void setRecognizerView(id recognizer, id view) {
  if (auto* b = objc::native<RecognizerBody>(recognizer)) b->view = view;
}

std::size_t pressView(id view, double holdSeconds) {
  ViewBody* viewState = viewBody(view);
  if (!viewState || !(holdSeconds >= 0)) return 0;
  Strong pressed(view);
  std::vector<Strong> presses;
  for (const Strong& r : viewState->gestureRecognizers) {
    if (objc::native<LongPressBody>(r) && body(r).enabled) presses.push_back(r);
  }
  std::stable_sort(presses.begin(), presses.end(), [](const Strong& a, const Strong& b) {
    return objc::native<LongPressBody>(a)->minimumPressDuration <
           objc::native<LongPressBody>(b)->minimumPressDuration;
  });
  auto began = std::make_shared<std::vector<Strong>>();
  RunLoop& loop = RunLoop::main();
  DeviceTime start = DeviceClock::shared().now();
  ProcessId owner = viewState->process;
  for (const Strong& r : presses) {
    double minimum = objc::native<LongPressBody>(r)->minimumPressDuration;
    if (!(minimum <= holdSeconds)) continue;
    loop.postFor(owner, afterSeconds(start, std::max(0.0, minimum)), [r, pressed, began] {
      if (recognizerView(r) != pressed.get() || !body(r).enabled) return;
      for (const Strong& other : *began) {
        if (!allowedTogether(other, r)) {
          body(r).state = UIGestureRecognizerStateFailed;
          return;
        }
      }
      body(r).state = UIGestureRecognizerStateBegan;
      began->push_back(r);
      sendActions(r);
    });
  }
  loop.postFor(owner, afterSeconds(start, holdSeconds), [presses, began] {
    for (const Strong& r : *began) {
      body(r).state = UIGestureRecognizerStateEnded;
      sendActions(r);
    }
    for (const Strong& r : presses) body(r).state = UIGestureRecognizerStatePossible;
  });
  loop.runUntil(afterSeconds(start, holdSeconds));
  return began->size();
}

}  // namespace platform::uikit
