#include "platform/uikit/uilabel.h"

#include "platform/objc/class_builder.h"
#include "platform/uikit/uicolor.h"
#include "platform/uikit/uiview.h"

namespace platform::uikit {
namespace {

struct LabelBody : ViewBody {
  objc::Strong text;
  objc::Strong textColor;
  bool enabled = true;
};

LabelBody& label(id self) {
  return *objc::native<LabelBody>(self);
}
id text(id self, SEL) {
  return label(self).text;
}
void setText(id self, SEL, id text) {
  label(self).text = objc::Strong::adopt(sel::copy(text));
}
id textColor(id self, SEL) {
  LabelBody& b = label(self);
  if (!b.textColor) b.textColor = uicolor(0, 0, 0, 1);
  return b.textColor;
}
void setTextColor(id self, SEL, id color) {
  label(self).textColor = color;
}
BOOL isEnabled(id self, SEL) {
  return label(self).enabled ? YES : NO;
}
void setEnabled(id self, SEL, BOOL enabled) {
  label(self).enabled = enabled != NO;
}

}  // namespace

Class UILabelClass() {
  static Class cls = objc::deviceClass("UILabel", UIViewClass(), [](objc::ClassBuilder& b) {
    b.body<LabelBody>()
        .method(sel::text, text)
        .method(sel::setText, setText)
        .method(sel::textColor, textColor)
        .method(sel::setTextColor, setTextColor)
        .method(sel::isEnabled, isEnabled)
        .method(sel::setEnabled, setEnabled);
  });
  return cls;
}

}  // namespace platform::uikit
