#include "platform/foundation/nsarray.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/collection_description.h"
#include "platform/foundation/nscoder.h"
#include "platform/foundation/nskeyedarchiver.h"
#include "platform/foundation/nskeyedunarchiver.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform {
namespace {

using objc::Strong;

struct ArrayBody : objc::NativeBody {
  std::vector<Strong> elements;
};

std::vector<Strong>& elementsOf(id self) {
  return objc::native<ArrayBody>(self)->elements;
}

bool isMutable(id self) {
  return objc::isKindOf(self, NSMutableArrayClass());
}

id newArray(Class cls, std::span<const Strong> elements) {
  id a = objc::allocInstance(cls);
  elementsOf(a).assign(elements.begin(), elements.end());
  return a;
}

[[noreturn]] void raiseBeyondBounds(id self, const char* method, unsigned long index) {
  auto count = elementsOf(self).size();
  std::string range =
      count == 0 ? "for empty array" : "beyond bounds [0 .. " + std::to_string(count - 1) + "]";
  NSException::raise(NSRangeException, std::string("-[") + objc::className(self) + " " + method +
                                           "]: index " + std::to_string(index) + " " + range);
}

void requireObject(id self, id object, const char* method) {
  if (!object) {
    NSException::raise(NSInvalidArgumentException, std::string("-[") + objc::className(self) + " " +
                                                       method + "]: object cannot be nil");
  }
}

id array(id cls, SEL) {
  return objc::autorelease(newArray(reinterpret_cast<Class>(cls), {}));
}
id arrayWithArray(id cls, SEL, id other) {
  return objc::autorelease(newArray(reinterpret_cast<Class>(cls), arrayElements(other)));
}
unsigned long count(id self, SEL) {
  return elementsOf(self).size();
}
id objectAtIndex(id self, SEL, unsigned long index) {
  if (index >= elementsOf(self).size()) raiseBeyondBounds(self, "objectAtIndex:", index);
  return elementsOf(self)[index];
}
id firstObject(id self, SEL) {
  return elementsOf(self).empty() ? nil : elementsOf(self).front().get();
}
id lastObject(id self, SEL) {
  return elementsOf(self).empty() ? nil : elementsOf(self).back().get();
}
unsigned long indexOfObject(id self, SEL, id object) {
  const auto& elements = elementsOf(self);
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (sel::isEqual(elements[i], object)) return i;
  }
  return NSNotFound;
}
BOOL containsObject(id self, SEL cmd, id object) {
  return object && indexOfObject(self, cmd, object) != NSNotFound ? YES : NO;
}
BOOL isEqual(id self, SEL, id other) {
  if (self == other) return YES;
  if (!objc::native<ArrayBody>(other)) return NO;
  const auto& a = elementsOf(self);
  const auto& b = elementsOf(other);
  if (a.size() != b.size()) return NO;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!sel::isEqual(a[i], b[i])) return NO;
  }
  return YES;
}
unsigned long hash(id self, SEL) {
  return elementsOf(self).size();
}
id copyWithZone(id self, SEL, void*) {
  if (!isMutable(self)) return objc::retain(self);
  return newArray(NSArrayClass(), elementsOf(self));
}
id mutableCopyWithZone(id self, SEL, void*) {
  return newArray(NSMutableArrayClass(), elementsOf(self));
}
id description(id self, SEL) {
  std::vector<id> elements;
  for (const Strong& e : elementsOf(self)) elements.push_back(e);
  return objc::autorelease(nsstring(detail::describeList(elements)).leak());
}

void addObject(id self, SEL, id object) {
  requireObject(self, object, "addObject:");
  elementsOf(self).emplace_back(object);
}
void insertObjectAtIndex(id self, SEL, id object, unsigned long index) {
  requireObject(self, object, "insertObject:atIndex:");
  auto& elements = elementsOf(self);
  if (index > elements.size()) raiseBeyondBounds(self, "insertObject:atIndex:", index);
  elements.insert(elements.begin() + static_cast<std::ptrdiff_t>(index), Strong(object));
}
void removeObjectAtIndex(id self, SEL, unsigned long index) {
  auto& elements = elementsOf(self);
  if (index >= elements.size()) raiseBeyondBounds(self, "removeObjectAtIndex:", index);
  Strong keep = elements[index];  // keeps the element alive until the array is consistent
  elements.erase(elements.begin() + static_cast<std::ptrdiff_t>(index));
}
void removeObject(id self, SEL, id object) {
  std::vector<Strong> removed;
  auto& elements = elementsOf(self);
  std::vector<Strong> kept;
  for (Strong& e : elements) (sel::isEqual(e, object) ? removed : kept).push_back(std::move(e));
  elements = std::move(kept);
}
void removeAllObjects(id self, SEL) {
  std::vector<Strong> removed;
  removed.swap(elementsOf(self));
}
void removeLastObject(id self, SEL) {
  auto& elements = elementsOf(self);
  if (elements.empty()) return;
  Strong keep = elements.back();
  elements.pop_back();
}

// References to the elements under "NS.objects", as Foundation archives an array.
void encodeWithCoder(id self, SEL, id coder) {
  encodeArrayOfObjects(coder, elementsOf(self), "NS.objects");
}
id initWithCoder(id self, SEL, id coder) {
  std::vector<Strong> elements = decodeArrayOfObjects(coder, "NS.objects");
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (!elements[i]) {
      NSException::raise(NSInvalidArgumentException,
                         "*** -[NSArray initWithObjects:count:]: attempt to insert nil object "
                         "from objects[" +
                             std::to_string(i) + "]");
    }
  }
  elementsOf(self) = std::move(elements);
  return self;
}

}  // namespace

Class NSArrayClass() {
  static Class cls = objc::deviceClass("NSArray", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<ArrayBody>()
        .classMethod(sel::array, array)
        .classMethod(sel::arrayWithArray, arrayWithArray)
        .method(sel::count, count)
        .method(sel::objectAtIndex, objectAtIndex)
        .method(sel::firstObject, firstObject)
        .method(sel::lastObject, lastObject)
        .method(sel::indexOfObject, indexOfObject)
        .method(sel::containsObject, containsObject)
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

Class NSMutableArrayClass() {
  static Class cls = objc::deviceClass("NSMutableArray", NSArrayClass(), [](objc::ClassBuilder& b) {
    b.method(sel::addObject, addObject)
        .method(sel::insertObject_atIndex, insertObjectAtIndex)
        .method(sel::removeObjectAtIndex, removeObjectAtIndex)
        .method(sel::removeObject, removeObject)
        .method(sel::removeAllObjects, removeAllObjects)
        .method(sel::removeLastObject, removeLastObject);
  });
  return cls;
}

objc::Strong nsarray(std::initializer_list<id> objects) {
  id a = newArray(NSArrayClass(), {});
  for (id o : objects) elementsOf(a).emplace_back(o);
  return Strong::adopt(a);
}

objc::Strong nsarray(std::vector<objc::Strong> elements) {
  id a = newArray(NSArrayClass(), {});
  elementsOf(a) = std::move(elements);
  return Strong::adopt(a);
}

objc::Strong mutableArray() {
  return Strong::adopt(newArray(NSMutableArrayClass(), {}));
}

std::span<const objc::Strong> arrayElements(id array) {
  auto* body = objc::native<ArrayBody>(array);
  if (!body) return {};
  return body->elements;
}

}  // namespace platform
