#include "platform/preferences/psspecifier.h"

#include <array>
#include <utility>

#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform::preferences {
namespace {

using objc::Strong;

constexpr std::array<std::pair<std::string_view, PSCellType>, 15> kCellTypes{{
    {"PSGroupCell", PSGroupCell},
    {"PSLinkCell", PSLinkCell},
    {"PSLinkListCell", PSLinkListCell},
    {"PSListItemCell", PSListItemCell},
    {"PSTitleValueCell", PSTitleValueCell},
    {"PSSliderCell", PSSliderCell},
    {"PSSwitchCell", PSSwitchCell},
    {"PSStaticTextCell", PSStaticTextCell},
    {"PSEditTextCell", PSEditTextCell},
    {"PSSegmentCell", PSSegmentCell},
    {"PSGiantIconCell", PSGiantIconCell},
    {"PSGiantCell", PSGiantCell},
    {"PSSecureEditTextCell", PSSecureEditTextCell},
    {"PSButtonCell", PSButtonCell},
    {"PSEditTextViewCell", PSEditTextViewCell},
}};

struct SpecifierBody : objc::NativeBody {
  Strong name;
  long cellType = PSGroupCell;
  Strong properties = mutableDictionary();
};

SpecifierBody& body(id self) {
  return *objc::native<SpecifierBody>(self);
}

id propertyForKey(id self, SEL, id key) {
  return key ? sel::objectForKey(body(self).properties, key) : nil;
}
void setProperty(id self, SEL, id value, id key) {
  if (!key) return;
  if (value)
    sel::setObject_forKey(body(self).properties, value, key);
  else
    sel::removeObjectForKey(body(self).properties, key);
}
void removeProperty(id self, SEL, id key) {
  if (key) sel::removeObjectForKey(body(self).properties, key);
}
id properties(id self, SEL) {
  return sel::dictionaryWithDictionary(reinterpret_cast<id>(NSMutableDictionaryClass()),
                                       body(self).properties);
}
id identifier(id self, SEL) {
  id given = objectForKey(body(self).properties, "id");
  return isString(given) ? given : body(self).name.get();
}
void setIdentifier(id self, SEL, id identifier) {
  setProperty(self, nullptr, identifier, CFSTR("id"));
}
id name(id self, SEL) {
  return body(self).name;
}
void setName(id self, SEL, id name) {
  body(self).name = Strong::adopt(sel::copy(name));
}
long cellType(id self, SEL) {
  return body(self).cellType;
}
void setCellType(id self, SEL, long type) {
  body(self).cellType = type;
}

}  // namespace

Class PSSpecifierClass() {
  static Class cls = objc::deviceClass("PSSpecifier", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<SpecifierBody>()
        .method(sel::propertyForKey, propertyForKey)
        .method(sel::setProperty_forKey, setProperty)
        .method(sel::removePropertyForKey, removeProperty)
        .method(sel::properties, properties)
        .method(sel::identifier, identifier)
        .method(sel::setIdentifier, setIdentifier)
        .method(sel::name, name)
        .method(sel::setName, setName)
        .method(sel::cellType, cellType)
        .method(sel::setCellType, setCellType);
  });
  return cls;
}

long cellTypeNamed(std::string_view name) {
  for (const auto& [known, type] : kCellTypes) {
    if (known == name) return type;
  }
  return -1;
}

Strong makeSpecifier(id label, long cellType) {
  Strong specifier = objc::make(PSSpecifierClass());
  sel::setName(specifier, label);
  sel::setCellType(specifier, cellType);
  return specifier;
}

}  // namespace platform::preferences
