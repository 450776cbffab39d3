#include "platform/uikit/uiswitch.h"

#include <algorithm>
#include <vector>

#include "platform/dispatch/perform.h"
#include "platform/objc/class_builder.h"
#include "platform/uikit/uitableviewcell.h"
#include "platform/uikit/uiview.h"

namespace platform::uikit {
namespace {

// The platform's switch size, in points.
constexpr double kWidth = 51;
constexpr double kHeight = 31;

struct SwitchBody : ViewBody {
  struct TargetAction {
    id target;  // not retained
    SEL action;
    unsigned long events;
  };
  bool on = false;
  bool enabled = true;
  objc::Strong onTintColor;
  std::vector<TargetAction> targets;
};

SwitchBody* switchBody(id object) {
  return objc::native<SwitchBody>(object);
}
SwitchBody& body(id self) {
  return *switchBody(self);
}

id initWithFrame(id self, SEL, CGRect frame) {
  body(self).frame = CGRectMake(frame.origin.x, frame.origin.y, kWidth, kHeight);
  return self;
}
BOOL isOn(id self, SEL) {
  return body(self).on ? YES : NO;
}
void setOnAnimated(id self, SEL, BOOL on, BOOL) {
  body(self).on = on != NO;
}
void setOn(id self, SEL, BOOL on) {
  sel::setOn_animated(self, on, NO);
}
BOOL isEnabled(id self, SEL) {
  return body(self).enabled ? YES : NO;
}
void setEnabled(id self, SEL, BOOL enabled) {
  body(self).enabled = enabled != NO;
}
id onTintColor(id self, SEL) {
  return body(self).onTintColor;
}
void setOnTintColor(id self, SEL, id color) {
  body(self).onTintColor = color;
}
void addTarget(id self, SEL, id target, SEL action, unsigned long events) {
  if (!action || !events) return;
  auto& targets = body(self).targets;
  for (auto& t : targets) {
    if (t.target == target && sel_isEqual(t.action, action)) {
      t.events |= events;
      return;
    }
  }
  targets.push_back({target, action, events});
}
void removeTarget(id self, SEL, id target, SEL action, unsigned long events) {
  auto& targets = body(self).targets;
  for (auto& t : targets) {
    if (t.target == target && (!action || sel_isEqual(t.action, action))) t.events &= ~events;
  }
  targets.erase(std::remove_if(targets.begin(), targets.end(),
                               [](const SwitchBody::TargetAction& t) { return t.events == 0; }),
                targets.end());
}

}  // namespace

Class UISwitchClass() {
  static Class cls = objc::deviceClass("UISwitch", UIControlClass(), [](objc::ClassBuilder& b) {
    b.body<SwitchBody>()
        .method(sel::initWithFrame, initWithFrame)
        .method(sel::isOn, isOn)
        .method(sel::setOn, setOn)
        .method(sel::setOn_animated, setOnAnimated)
        .method(sel::isEnabled, isEnabled)
        .method(sel::setEnabled, setEnabled)
        .method(sel::onTintColor, onTintColor)
        .method(sel::setOnTintColor, setOnTintColor)
        .method(sel::addTarget_action_forControlEvents, addTarget)
        .method(sel::removeTarget_action_forControlEvents, removeTarget);
  });
  return cls;
}

bool takesTouches(id view) {
  const auto& question = sel::isUserInteractionEnabled;
  for (id v = view; v; v = sel::superview(v)) {
    if (objc::respondsTo(v, question.sel()) && !question(v)) return false;
  }
  return true;
}

std::string flipSwitch(id control) {
  SwitchBody* b = switchBody(control);
  if (!b || !objc::isKindOf(control, UISwitchClass())) return "not a switch";
  if (!b->enabled) return "the switch is disabled";
  if (!takesTouches(control)) return "the switch takes no touches (a view it is in refuses them)";
  objc::Strong keep(control);
  sel::setOn_animated(control, b->on ? NO : YES, YES);
  auto targets = b->targets;  // an action may change the targets
  for (const auto& t : targets) {
    if (t.events & UIControlEventValueChanged)
      dispatch::performWithObject(t.target, t.action, control);
  }
  return "";
}

}  // namespace platform::uikit
