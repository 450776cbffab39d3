#include "platform/uikit/uidatepicker.h"

#include <cmath>

#include "platform/foundation/clock.h"
#include "platform/foundation/nsdate.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/uikit/uiview.h"

namespace platform::uikit {
namespace {

using objc::Strong;

struct PickerBody : ViewBody {
  long mode = UIDatePickerModeDateAndTime;
  Strong date;
  Strong minimumDate;
  Strong maximumDate;
};

PickerBody& picker(id self) {
  return *objc::native<PickerBody>(self);
}

bool isDate(id object) {
  return objc::isKindOf(object, NSDateClass());
}

// Keeps the date within the limits.
void clamp(PickerBody& b) {
  if (!b.date) b.date = nsdate(DeviceClock::shared().nowSeconds());
  double seconds = dateSeconds(b.date);
  if (b.minimumDate && seconds < dateSeconds(b.minimumDate)) {
    b.date = b.minimumDate;
  } else if (b.maximumDate && seconds > dateSeconds(b.maximumDate)) {
    b.date = b.maximumDate;
  }
}

id initWithFrame(id self, SEL, CGRect frame) {
  PickerBody& b = picker(self);
  b.frame = frame;
  clamp(b);
  return self;
}
long mode(id self, SEL) {
  return picker(self).mode;
}
void setMode(id self, SEL, long mode) {
  if (mode >= UIDatePickerModeTime && mode <= UIDatePickerModeCountDownTimer)
    picker(self).mode = mode;
}
id minimumDate(id self, SEL) {
  return picker(self).minimumDate;
}
void setMinimumDate(id self, SEL, id date) {
  picker(self).minimumDate = isDate(date) ? date : nil;
  clamp(picker(self));
}
id maximumDate(id self, SEL) {
  return picker(self).maximumDate;
}
void setMaximumDate(id self, SEL, id date) {
  picker(self).maximumDate = isDate(date) ? date : nil;
  clamp(picker(self));
}
id date(id self, SEL) {
  PickerBody& b = picker(self);
  clamp(b);
  return b.date;
}
void setDateAnimated(id self, SEL, id date, BOOL) {
  if (!isDate(date)) {
    NSException::raise(NSInvalidArgumentException,
                       std::string("-[UIDatePicker setDate:]: ") +
                           (date ? objc::className(date) + std::string(" is not a date")
                                 : std::string("date cannot be nil")));
  }
  picker(self).date = date;
  clamp(picker(self));
}
void setDate(id self, SEL, id date) {
  sel::setDate_animated(self, date, NO);
}

}  // namespace

Class UIDatePickerClass() {
  static Class cls = objc::deviceClass("UIDatePicker", UIControlClass(), [](objc::ClassBuilder& b) {
    b.body<PickerBody>()
        .method(sel::initWithFrame, initWithFrame)
        .method(sel::datePickerMode, mode)
        .method(sel::setDatePickerMode, setMode)
        .method(sel::minimumDate, minimumDate)
        .method(sel::setMinimumDate, setMinimumDate)
        .method(sel::maximumDate, maximumDate)
        .method(sel::setMaximumDate, setMaximumDate)
        .method(sel::date, date)
        .method(sel::setDate, setDate)
        .method(sel::setDate_animated, setDateAnimated);
  });
  return cls;
}

std::string pickDate(id object, double secondsSinceReferenceDate) {
  auto* b = objc::native<PickerBody>(object);
  if (!b) return "not a date picker";
  if (!std::isfinite(secondsSinceReferenceDate)) return "not a date";
  clamp(*b);
  double current = dateSeconds(b->date);
  double keptSeconds = current - 60.0 * std::floor(current / 60.0);
  double minute = 60.0 * std::floor(secondsSinceReferenceDate / 60.0);
  b->date = nsdate(minute + keptSeconds);
  clamp(*b);
  return "";
}

}  // namespace platform::uikit
