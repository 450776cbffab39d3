#include "platform/foundation/nsdateformatter.h"

#include <optional>
#include <string>

#include "platform/foundation/device_locale.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

struct FormatterBody : objc::NativeBody {
  Region region = deviceRegion();
  unsigned long dateStyle = NSDateFormatterNoStyle;
  unsigned long timeStyle = NSDateFormatterNoStyle;
  std::optional<std::string> pattern;  // set by setDateFormat:, cleared by a style
};

FormatterBody& body(id self) {
  return *objc::native<FormatterBody>(self);
}

DateStyle styleOf(unsigned long style) {
  switch (style) {
    case NSDateFormatterShortStyle:
      return DateStyle::Short;
    case NSDateFormatterMediumStyle:
      return DateStyle::Medium;
    case NSDateFormatterLongStyle:
      return DateStyle::Long;
    case NSDateFormatterFullStyle:
      return DateStyle::Full;
    default:
      return DateStyle::None;
  }
}

void setDateStyle(id self, SEL, unsigned long style) {
  body(self).dateStyle = style;
  body(self).pattern.reset();
}
unsigned long dateStyle(id self, SEL) {
  return body(self).dateStyle;
}
void setTimeStyle(id self, SEL, unsigned long style) {
  body(self).timeStyle = style;
  body(self).pattern.reset();
}
unsigned long timeStyle(id self, SEL) {
  return body(self).timeStyle;
}
void setDateFormat(id self, SEL, id format) {
  body(self).pattern = utf8(format);
}
id dateFormat(id self, SEL) {
  const FormatterBody& b = body(self);
  const std::string pattern =
      b.pattern ? *b.pattern : datePattern(styleOf(b.dateStyle), styleOf(b.timeStyle), b.region);
  return objc::autorelease(nsstring(pattern).leak());
}
id stringFromDate(id self, SEL, id date) {
  if (!date) return nil;
  const double seconds = sel::timeIntervalSinceReferenceDate(date);
  const FormatterBody& b = body(self);
  const std::string text =
      b.pattern ? formatDatePattern(seconds, *b.pattern, b.region)
                : formatDate(seconds, styleOf(b.dateStyle), styleOf(b.timeStyle), b.region);
  return objc::autorelease(nsstring(text).leak());
}

}  // namespace

Class NSDateFormatterClass() {
  static Class cls =
      objc::deviceClass("NSDateFormatter", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<FormatterBody>()
            .method(sel::setDateStyle, setDateStyle)
            .method(sel::dateStyle, dateStyle)
            .method(sel::setTimeStyle, setTimeStyle)
            .method(sel::timeStyle, timeStyle)
            .method(sel::setDateFormat, setDateFormat)
            .method(sel::dateFormat, dateFormat)
            .method(sel::stringFromDate, stringFromDate);
      });
  return cls;
}

}  // namespace platform
