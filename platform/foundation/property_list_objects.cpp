#include "platform/foundation/property_list_objects.h"

#include "platform/foundation/device_root.h"
#include "platform/foundation/keyed_archiver_uid.h"
#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdata.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/plist_file.h"

namespace platform {

using objc::Strong;

objc::Strong objectFromValue(const plist::Value& value, bool mutableRoot) {
  switch (value.kind()) {
    case plist::Kind::Boolean:
      return nsnumber(value.as<bool>());
    case plist::Kind::Integer: {
      const plist::Integer& integer = value.as<plist::Integer>();
      if (integer.aboveSignedMax())
        return nsnumber(static_cast<unsigned long long>(integer.bits()));
      return nsnumber(static_cast<long long>(*integer.toSigned()));
    }
    case plist::Kind::Real:
      return nsnumber(value.as<double>());
    case plist::Kind::String:
      return nsstring(value.as<std::string>());
    case plist::Kind::Date:
      return nsdate(value.as<plist::Date>().secondsSince2001);
    case plist::Kind::Data:
      return nsdata(value.as<plist::Data>());
    case plist::Kind::Array: {
      Strong array = mutableArray();
      for (const plist::Value& element : value.as<plist::Array>()) {
        sel::addObject(array, objectFromValue(element));
      }
      return mutableRoot ? array : Strong::adopt(sel::copy(array));
    }
    case plist::Kind::Dictionary: {
      Strong dictionary = mutableDictionary();
      for (const auto& [key, element] : value.as<plist::Dictionary>()) {
        setObjectForKey(dictionary, key, objectFromValue(element));
      }
      return mutableRoot ? dictionary : Strong::adopt(sel::copy(dictionary));
    }
    case plist::Kind::Uid:
      return keyedArchiverUid(value.as<plist::Uid>().value);
  }
  return Strong();
}

std::optional<plist::Value> valueFromObject(id object, std::string* error) {
  auto fail = [&](std::string why) -> std::optional<plist::Value> {
    if (error) *error = std::move(why);
    return std::nullopt;
  };
  if (!object) return fail("nil is not a property-list value");
  if (isString(object)) return plist::Value(utf8(object));
  if (isNumber(object)) {
    switch (numberKind(object)) {
      case NumberKind::Boolean:
        return plist::Value(sel::boolValue(object) != NO);
      case NumberKind::Integer:
        if (isUnsignedAboveLongLongMax(object)) {
          return plist::Value(plist::Integer::fromUnsigned(sel::unsignedLongLongValue(object)));
        }
        return plist::Value(static_cast<std::int64_t>(sel::longLongValue(object)));
      case NumberKind::Real:
        return plist::Value(sel::doubleValue(object));
    }
  }
  if (objc::isKindOf(object, NSDateClass())) return plist::Value(plist::Date{dateSeconds(object)});
  if (auto uid = keyedArchiverUidValue(object)) return plist::Value(plist::Uid{*uid});
  if (const auto* bytes = dataBytes(object)) return plist::Value(plist::Data(*bytes));
  if (objc::isKindOf(object, NSArrayClass())) {
    plist::Array elements;
    for (const Strong& element : arrayElements(object)) {
      auto v = valueFromObject(element, error);
      if (!v) return std::nullopt;
      elements.push_back(std::move(*v));
    }
    return plist::Value(std::move(elements));
  }
  if (objc::isKindOf(object, NSDictionaryClass())) {
    plist::Dictionary entries;
    Strong keys = sel::allKeys(object);
    for (const Strong& key : arrayElements(keys)) {
      if (!isString(key))
        return fail(std::string("a dictionary key of class ") + objc::className(key) +
                    " is not a string");
      auto v = valueFromObject(sel::objectForKey(object, key), error);
      if (!v) return std::nullopt;
      entries.emplace(utf8(key), std::move(*v));
    }
    return plist::Value(std::move(entries));
  }
  return fail(std::string("an instance of ") + objc::className(object) +
              " is not a property-list value");
}

objc::Strong readDictionaryFile(std::string_view devicePath, bool mutableRoot) {
  auto path = resolveDevicePath(devicePath);
  if (!path) return Strong();
  plist::ReadResult result = plist::readFile(*path);
  if (!result.value || result.value->kind() != plist::Kind::Dictionary) return Strong();
  return objectFromValue(*result.value, mutableRoot);
}

bool writeDictionaryFile(id dictionary, std::string_view devicePath) {
  auto path = resolveDevicePath(devicePath);
  if (!path) return false;
  auto value = valueFromObject(dictionary);
  if (!value || !plist::isWritable(*value).empty()) return false;
  std::error_code ignored;
  std::filesystem::create_directories(path->parent_path(), ignored);
  return plist::writeFileAtomically(*path, *value).ok;
}

}  // namespace platform
