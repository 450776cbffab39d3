#include "platform/preferences/pstablecell.h"

#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/preferences/psspecifier.h"
#include "platform/uikit/uilabel.h"
#include "platform/uikit/uiswitch.h"
#include "platform/uikit/uitableviewcell.h"
#include "platform/uikit/uiview.h"

namespace platform::preferences {
namespace {

using objc::Strong;

constexpr const char* kSpecifier = "_specifier";
constexpr const char* kValue = "_value";
constexpr const char* kControl = "_control";
constexpr const char* kType = "_type";

long* typeSlot(id self) {
  Ivar ivar = class_getInstanceVariable(object_getClass(self), kType);
  return reinterpret_cast<long*>(reinterpret_cast<char*>(self) + ivar_getOffset(ivar));
}

// The text a value shows as: a string itself, a number its decimal or boolean form, anything
// else its description.
Strong shownText(id value) {
  if (!value) return nil;
  if (isString(value)) return Strong(value);
  if (isNumber(value) && numberKind(value) == NumberKind::Boolean)
    return nsstring(sel::boolValue(value) ? "YES" : "NO");
  if (isNumber(value)) return Strong(sel::stringValue(value));
  return Strong(sel::description(value));
}

id initWithSpecifier(id self, SEL, long style, id reuseIdentifier, id specifier) {
  self = sel::initWithStyle_reuseIdentifier(self, style, reuseIdentifier);
  if (!self) return nil;
  objc::setObjectIvar(self, kSpecifier, specifier);
  *typeSlot(self) = specifier ? sel::cellType(specifier) : PSStaticTextCell;
  sel::setText(sel::textLabel(self), sel::name(specifier));
  return self;
}
id specifier(id self, SEL) {
  return objc::objectIvar(self, kSpecifier);
}
void setSpecifier(id self, SEL, id specifier) {
  objc::setObjectIvar(self, kSpecifier, specifier);
}
long type(id self, SEL) {
  return *typeSlot(self);
}
id noControl(id, SEL) {
  return nil;
}
id value(id self, SEL) {
  return objc::objectIvar(self, kValue);
}
void setValue(id self, SEL, id value) {
  objc::setObjectIvar(self, kValue, value);
  if (id detail = sel::detailTextLabel(self)) sel::setText(detail, shownText(value));
}

// PSSwitchTableCell.

id initSwitchCell(id self, SEL cmd, long style, id reuseIdentifier, id specifier) {
  IMP inherited = class_getMethodImplementation(PSTableCellClass(), cmd);
  self = objc::callSaved(inherited, sel::initWithStyle_reuseIdentifier_specifier, self, cmd, style,
                         reuseIdentifier, specifier);
  if (!self) return nil;
  Strong control = uikit::makeView(uikit::UISwitchClass(), CGRectZero);
  objc::setObjectIvar(self, kControl, control);
  sel::addSubview(sel::contentView(self), control);
  sel::setSelectionStyle(self, uikit::UITableViewCellSelectionStyleNone);
  return self;
}
id control(id self, SEL) {
  return objc::objectIvar(self, kControl);
}
void setSwitchValue(id self, SEL, id value) {
  objc::setObjectIvar(self, kValue, value);
  bool on = value && objc::respondsTo(value, sel::boolValue.sel()) && sel::boolValue(value);
  sel::setOn(objc::objectIvar(self, kControl), on ? YES : NO);
}

}  // namespace

Class PSTableCellClass() {
  static Class cls =
      objc::deviceClass("PSTableCell", uikit::UITableViewCellClass(), [](objc::ClassBuilder& b) {
        b.ivar<id>(kSpecifier)
            .ivar<id>(kValue)
            .ivar<long>(kType)
            .method(sel::initWithStyle_reuseIdentifier_specifier, initWithSpecifier)
            .method(sel::specifier, specifier)
            .method(sel::setSpecifier, setSpecifier)
            .method(sel::type, type)
            .method(sel::control, noControl)
            .method(sel::value, value)
            .method(sel::setValue, setValue);
      });
  return cls;
}

Class PSSwitchTableCellClass() {
  static Class cls =
      objc::deviceClass("PSSwitchTableCell", PSTableCellClass(), [](objc::ClassBuilder& b) {
        b.ivar<id>(kControl)
            .method(sel::initWithStyle_reuseIdentifier_specifier, initSwitchCell)
            .method(sel::control, control)
            .method(sel::setValue, setSwitchValue);
      });
  return cls;
}

Strong makeCellForSpecifier(id specifier) {
  long type = sel::cellType(specifier);
  Class cls = type == PSSwitchCell ? PSSwitchTableCellClass() : PSTableCellClass();
  long style = type == PSTitleValueCell ? uikit::UITableViewCellStyleValue1
                                        : uikit::UITableViewCellStyleDefault;
  Strong cell = Strong::adopt(sel::initWithStyle_reuseIdentifier_specifier(
      sel::alloc(reinterpret_cast<id>(cls)), style, nil, specifier));
  if (type == PSLinkCell || type == PSLinkListCell)
    sel::setAccessoryType(cell, uikit::UITableViewCellAccessoryDisclosureIndicator);
  return cell;
}

}  // namespace platform::preferences
