#include "platform/foundation/nsset.h"

#include <string>
#include <vector>

#include "platform/foundation/collection_description.h"
#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/object_table.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform {
namespace {

using objc::Strong;

struct SetBody : objc::NativeBody {
  detail::ObjectTable table;  // each member is its own key; values are unused
};

detail::ObjectTable& tableOf(id self) {
  return objc::native<SetBody>(self)->table;
}

id newSet(Class cls, id from) {
  id s = objc::allocInstance(cls);
  if (auto* source = objc::native<SetBody>(from)) {
    for (const auto& e : source->table.entries()) tableOf(s).put(e.key, e.key);
  }
  return s;
}

id set(id cls, SEL) {
  return objc::autorelease(newSet(reinterpret_cast<Class>(cls), nil));
}
unsigned long count(id self, SEL) {
  return tableOf(self).size();
}
BOOL containsObject(id self, SEL, id object) {
  return tableOf(self).find(object) ? YES : NO;
}
id member(id self, SEL, id object) {
  const auto* e = tableOf(self).find(object);
  return e ? e->key.get() : nil;
}
id allObjects(id self, SEL) {
  Strong all = mutableArray();
  for (const auto& e : tableOf(self).entries()) sel::addObject(all, e.key);
  return objc::autorelease(sel::copy(all));
}
BOOL isEqual(id self, SEL, id other) {
  if (self == other) return YES;
  auto* theirs = objc::native<SetBody>(other);
  if (!theirs || theirs->table.size() != tableOf(self).size()) return NO;
  for (const auto& e : tableOf(self).entries()) {
    if (!theirs->table.find(e.key)) return NO;
  }
  return YES;
}
unsigned long hash(id self, SEL) {
  return tableOf(self).size();
}
id copyWithZone(id self, SEL, void*) {
  if (!objc::isKindOf(self, NSMutableSetClass())) return objc::retain(self);
  return newSet(NSSetClass(), self);
}
id mutableCopyWithZone(id self, SEL, void*) {
  return newSet(NSMutableSetClass(), self);
}
id description(id self, SEL) {
  std::vector<id> members;
  for (const auto& e : tableOf(self).entries()) members.push_back(e.key);
  std::string text = "{(" + detail::describeList(members, "", "").substr(0) + ")}";
  return objc::autorelease(nsstring(text).leak());
}

void addObject(id self, SEL, id object) {
  if (!object) {
    NSException::raise(NSInvalidArgumentException, std::string("-[") + objc::className(self) +
                                                       " addObject:]: object cannot be nil");
  }
  if (!tableOf(self).find(object)) tableOf(self).put(object, object);
}
void removeObject(id self, SEL, id object) {
  tableOf(self).remove(object);
}
void removeAllObjects(id self, SEL) {
  tableOf(self).clear();
}

}  // namespace

Class NSSetClass() {
  static Class cls = objc::deviceClass("NSSet", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<SetBody>()
        .classMethod(sel::set, set)
        .method(sel::count, count)
        .method(sel::containsObject, containsObject)
        .method(sel::member, member)
        .method(sel::allObjects, allObjects)
        .method(sel::isEqual, isEqual)
        .method(sel::hash, hash)
        .method(sel::copyWithZone, copyWithZone)
        .method(sel::mutableCopyWithZone, mutableCopyWithZone)
        .method(sel::description, description);
  });
  return cls;
}

Class NSMutableSetClass() {
  static Class cls = objc::deviceClass("NSMutableSet", NSSetClass(), [](objc::ClassBuilder& b) {
    b.method(sel::addObject, addObject)
        .method(sel::removeObject, removeObject)
        .method(sel::removeAllObjects, removeAllObjects);
  });
  return cls;
}

objc::Strong mutableSet() {
  return Strong::adopt(newSet(NSMutableSetClass(), nil));
}

}  // namespace platform
