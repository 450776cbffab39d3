#include "platform/foundation/nsdictionary.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/foundation/collection_description.h"
#include "platform/foundation/format.h"
#include "platform/foundation/nsarray.h"
#include "platform/foundation/nscoder.h"
#include "platform/foundation/nskeyedarchiver.h"
#include "platform/foundation/nskeyedunarchiver.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/object_table.h"
#include "platform/foundation/property_list_objects.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform {
namespace {

using objc::Strong;

struct DictionaryBody : objc::NativeBody {
  detail::ObjectTable table;
};

detail::ObjectTable& tableOf(id self) {
  return objc::native<DictionaryBody>(self)->table;
}

bool isMutable(id self) {
  return objc::isKindOf(self, NSMutableDictionaryClass());
}

id newDictionary(Class cls, id from) {
  id d = objc::allocInstance(cls);
  if (auto* source = objc::native<DictionaryBody>(from)) {
    for (const auto& e : source->table.entries()) tableOf(d).put(e.key, e.value);
  }
  return d;
}

id dictionary(id cls, SEL) {
  return objc::autorelease(newDictionary(reinterpret_cast<Class>(cls), nil));
}
id dictionaryWithDictionary(id cls, SEL, id other) {
  return objc::autorelease(newDictionary(reinterpret_cast<Class>(cls), other));
}
// Reads a property-list file whose root is a dictionary; nil (and the receiver released) for a
// missing file, an unreadable one or one whose root is anything else.
id initWithContentsOfFile(id self, SEL, id path) {
  Strong contents = readDictionaryFile(utf8(path), isMutable(self));
  if (!contents) {
    objc::release(self);
    return nil;
  }
  for (const auto& e : tableOf(contents).entries()) tableOf(self).put(e.key, e.value);
  return self;
}
id dictionaryWithContentsOfFile(id cls, SEL cmd, id path) {
  return objc::autorelease(initWithContentsOfFile(sel::alloc(cls), cmd, path));
}
BOOL writeToFileAtomically(id self, SEL, id path, BOOL) {
  return writeDictionaryFile(self, utf8(path)) ? YES : NO;
}
unsigned long count(id self, SEL) {
  return tableOf(self).size();
}
id objectForKey(id self, SEL, id key) {
  const auto* entry = tableOf(self).find(key);
  return entry ? entry->value.get() : nil;
}
id allKeys(id self, SEL) {
  std::vector<Strong> keys;
  keys.reserve(tableOf(self).size());
  for (const auto& e : tableOf(self).entries()) keys.push_back(e.key);
  return objc::autorelease(nsarray(std::move(keys)).leak());
}
id allValues(id self, SEL) {
  std::vector<Strong> values;
  values.reserve(tableOf(self).size());
  for (const auto& e : tableOf(self).entries()) values.push_back(e.value);
  return objc::autorelease(nsarray(std::move(values)).leak());
}
void enumerateKeysAndObjects(id self, SEL, KeyObjectBlock block) {
  detail::ObjectTable& table = tableOf(self);
  const std::uint64_t before = table.changes();
  BOOL stop = NO;
  // Walks by position, so that a block that changes the table is caught before the walk reads
  // a moved entry.
  for (std::size_t i = 0; i < table.slotCount(); ++i) {
    const detail::ObjectTable::Entry& entry = table.slot(i);
    if (!entry.key) continue;
    block(entry.key, entry.value, &stop);
    if (table.changes() != before) {
      NSException::raise("NSGenericException",
                         formatString("*** Collection <%s: %p> was mutated while being enumerated.",
                                      objc::className(self), static_cast<void*>(self)));
    }
    if (stop) return;
  }
}
BOOL isEqual(id self, SEL, id other) {
  if (self == other) return YES;
  auto* theirs = objc::native<DictionaryBody>(other);
  if (!theirs || theirs->table.size() != tableOf(self).size()) return NO;
  for (const auto& e : tableOf(self).entries()) {
    const auto* match = theirs->table.find(e.key);
    if (!match || !sel::isEqual(e.value, match->value)) return NO;
  }
  return YES;
}
unsigned long hash(id self, SEL) {
  return tableOf(self).size();
}
id copyWithZone(id self, SEL, void*) {
  if (!isMutable(self)) return objc::retain(self);
  return newDictionary(NSDictionaryClass(), self);
}
id mutableCopyWithZone(id self, SEL, void*) {
  return newDictionary(NSMutableDictionaryClass(), self);
}
id description(id self, SEL) {
  std::vector<std::pair<id, id>> entries;
  for (const auto& e : tableOf(self).entries()) entries.emplace_back(e.key, e.value);
  return objc::autorelease(nsstring(detail::describeEntries(entries)).leak());
}

void setObjectForKey(id self, SEL, id value, id key) {
  if (!value || !key) {
    NSException::raise(NSInvalidArgumentException,
                       std::string("-[") + objc::className(self) +
                           " setObject:forKey:]: " + (value ? "key" : "object") + " cannot be nil");
  }
  // Keys are copied, so a key changed later cannot corrupt the table.
  Strong key_copy = Strong::adopt(sel::copy(key));
  tableOf(self).put(key_copy, value);
}
void removeObjectForKey(id self, SEL, id key) {
  tableOf(self).remove(key);
}
void removeAllObjects(id self, SEL) {
  tableOf(self).clear();
}

// References to the keys under "NS.keys" and to their values, in the same order, under
// "NS.objects", as Foundation archives a dictionary.
void encodeWithCoder(id self, SEL, id coder) {
  std::vector<Strong> keys, values;
  for (const auto& e : tableOf(self).entries()) {
    keys.push_back(e.key);
    values.push_back(e.value);
  }
  encodeArrayOfObjects(coder, keys, "NS.keys");
  encodeArrayOfObjects(coder, values, "NS.objects");
}
id initWithCoder(id self, SEL, id coder) {
  const std::vector<Strong> keys = decodeArrayOfObjects(coder, "NS.keys");
  const std::vector<Strong> values = decodeArrayOfObjects(coder, "NS.objects");
  if (keys.size() != values.size()) {
    NSException::raise(NSInvalidUnarchiveOperationException,
                       "-[NSDictionary initWithCoder:]: " + std::to_string(keys.size()) +
                           " NS.keys for " + std::to_string(values.size()) + " NS.objects");
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (!keys[i] || !values[i]) {
      NSException::raise(NSInvalidArgumentException,
                         std::string("*** -[NSDictionary initWithObjects:forKeys:count:]: attempt "
                                     "to insert nil ") +
                             (keys[i] ? "object" : "key") + " from objects[" + std::to_string(i) +
                             "]");
    }
    tableOf(self).put(Strong::adopt(sel::copy(keys[i])), values[i]);
  }
  return self;
}

}  // namespace

Class NSDictionaryClass() {
  static Class cls =
      objc::deviceClass("NSDictionary", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<DictionaryBody>()
            .classMethod(sel::dictionary, dictionary)
            .classMethod(sel::dictionaryWithDictionary, dictionaryWithDictionary)
            .classMethod(sel::dictionaryWithContentsOfFile, dictionaryWithContentsOfFile)
            .method(sel::initWithContentsOfFile, initWithContentsOfFile)
            .method(sel::writeToFile_atomically, writeToFileAtomically)
            .method(sel::count, count)
            .method(sel::objectForKey, objectForKey)
            .method(sel::allKeys, allKeys)
            .method(sel::allValues, allValues)
            .method(sel::enumerateKeysAndObjectsUsingBlock, enumerateKeysAndObjects)
            .method(sel::isEqual, isEqual)
            .method(sel::hash, hash)
            .method(sel::copyWithZone, copyWithZone)
            .method(sel::mutableCopyWithZone, mutableCopyWithZone)
            .method(sel::description, description)
            .method(sel::encodeWithCoder, encodeWithCoder)
            .method(sel::initWithCoder, initWithCoder);
      });
  return cls;
}

Class NSMutableDictionaryClass() {
  static Class cls =
      objc::deviceClass("NSMutableDictionary", NSDictionaryClass(), [](objc::ClassBuilder& b) {
        b.method(sel::setObject_forKey, setObjectForKey)
            .method(sel::removeObjectForKey, removeObjectForKey)
            .method(sel::removeAllObjects, removeAllObjects);
      });
  return cls;
}

objc::Strong mutableDictionary() {
  return Strong::adopt(newDictionary(NSMutableDictionaryClass(), nil));
}

id objectForKey(id dictionary, std::string_view key) {
  if (!objc::native<DictionaryBody>(dictionary)) return nil;
  return objectForKey(dictionary, nullptr, nsstring(key));
}

void setObjectForKey(id dictionary, std::string_view key, id value) {
  sel::setObject_forKey(dictionary, value, nsstring(key));
}

}  // namespace platform
