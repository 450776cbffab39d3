#include "platform/objc/object.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform::objc {
namespace {

// Offsets of the root class's bookkeeping ivars, fixed once the root class exists.
std::ptrdiff_t gRetainCountOffset = 0;
std::ptrdiff_t gBodyOffset = 0;

bool isClassObject(id object) {
  return class_isMetaClass(object_getClass(object));
}

unsigned long& retainSlot(id object) {
  return *reinterpret_cast<unsigned long*>(reinterpret_cast<char*>(object) + gRetainCountOffset);
}

NativeBody*& bodySlot(id object) {
  return *reinterpret_cast<NativeBody**>(reinterpret_cast<char*>(object) + gBodyOffset);
}

// Releases every object-typed ivar the object's classes declare: instance variables are strong.
void releaseObjectIvars(id self) {
  for (Class c = object_getClass(self); c; c = class_getSuperclass(c)) {
    unsigned int count = 0;
    Ivar* ivars = class_copyIvarList(c, &count);
    for (unsigned int i = 0; i < count; ++i) {
      const char* type = ivar_getTypeEncoding(ivars[i]);
      if (type && std::strcmp(type, "@") == 0) {
        id* slot = reinterpret_cast<id*>(reinterpret_cast<char*>(self) + ivar_getOffset(ivars[i]));
        release(std::exchange(*slot, nil));
      }
    }
    free(ivars);
  }
}

// Instance methods of the root class.
id nsInit(id self, SEL) {
  return self;
}
id nsRetain(id self, SEL) {
  return retain(self);
}
void nsRelease(id self, SEL) {
  release(self);
}
id nsAutorelease(id self, SEL) {
  return autorelease(self);
}
unsigned long nsRetainCount(id self, SEL) {
  return retainCount(self);
}
void nsDealloc(id self, SEL) {
  releaseObjectIvars(self);
  delete std::exchange(bodySlot(self), nullptr);
  object_dispose(self);
}
id nsCopy(id self, SEL) {
  return sel::copyWithZone(self, nullptr);
}
id nsMutableCopy(id self, SEL) {
  return sel::mutableCopyWithZone(self, nullptr);
}
Class nsClass(id self, SEL) {
  return object_getClass(self);
}
id nsSelf(id self, SEL) {
  return self;
}
BOOL nsIsKindOfClass(id self, SEL, Class cls) {
  return isKindOf(self, cls) ? YES : NO;
}
BOOL nsIsMemberOfClass(id self, SEL, Class cls) {
  return object_getClass(self) == cls ? YES : NO;
}
BOOL nsRespondsToSelector(id self, SEL, SEL selector) {
  return respondsTo(self, selector) ? YES : NO;
}
BOOL nsIsEqual(id self, SEL, id other) {
  return self == other ? YES : NO;
}
unsigned long nsHash(id self, SEL) {
  return reinterpret_cast<unsigned long>(self);
}
id (*gDefaultDescription)(id) = nullptr;
id nsDescription(id self, SEL) {
  return gDefaultDescription ? gDefaultDescription(self) : nil;
}

// Class methods of the root class.
id nsAlloc(id self, SEL) {
  return allocInstance(reinterpret_cast<Class>(self));
}
id nsNew(id self, SEL) {
  return sel::init(nsAlloc(self, nullptr));
}
id nsClassRetain(id self, SEL) {
  return self;
}
void nsClassRelease(id, SEL) {}
Class nsClassClass(id self, SEL) {
  return reinterpret_cast<Class>(self);
}

// The shared stack of open autorelease pools.
std::vector<std::vector<id>>& poolStack() {
  static auto* stack = new std::vector<std::vector<id>>();
  return *stack;
}

}  // namespace

Class rootClass() {
  static Class root = [] {
    Class existing = objc_getClass("NSObject");
    if (existing) return existing;
    ClassBuilder b("NSObject", Nil);
    b.ivar<Class>("isa").ivar<unsigned long>("_retainCount").ivar<void*>("_body");
    b.method(sel::init, nsInit)
        .method(sel::retain, nsRetain)
        .method(sel::release, nsRelease)
        .method(sel::autorelease, nsAutorelease)
        .method(sel::retainCount, nsRetainCount)
        .method(sel::dealloc, nsDealloc)
        .method(sel::copy, nsCopy)
        .method(sel::mutableCopy, nsMutableCopy)
        .method(sel::class_, nsClass)
        .method(sel::self, nsSelf)
        .method(sel::isKindOfClass, nsIsKindOfClass)
        .method(sel::isMemberOfClass, nsIsMemberOfClass)
        .method(sel::respondsToSelector, nsRespondsToSelector)
        .method(sel::isEqual, nsIsEqual)
        .method(sel::hash, nsHash)
        .method(sel::description, nsDescription);
    b.classMethod(sel::alloc, nsAlloc)
        .classMethod(sel::new_, nsNew)
        .classMethod(sel::retain, nsClassRetain)
        .classMethod(sel::release, nsClassRelease)
        .classMethod(sel::autorelease, nsClassRetain)
        .classMethod(sel::class_, nsClassClass)
        .classMethod(sel::self, nsSelf)
        .classMethod(sel::respondsToSelector, nsRespondsToSelector)
        .classMethod(sel::isEqual, nsIsEqual)
        .classMethod(sel::hash, nsHash)
        .classMethod(sel::description, nsDescription);
    Class cls = b.build();
    gRetainCountOffset = ivar_getOffset(class_getInstanceVariable(cls, "_retainCount"));
    gBodyOffset = ivar_getOffset(class_getInstanceVariable(cls, "_body"));
    return cls;
  }();
  return root;
}

id allocInstance(Class cls) {
  rootClass();
  id object = class_createInstance(cls, 0);
  retainSlot(object) = 1;
  if (const auto* factory = bodyFactoryFor(cls)) bodySlot(object) = (*factory)().release();
  return object;
}

NativeBody* nativeBody(id object) {
  if (!object || isClassObject(object)) return nullptr;
  return bodySlot(object);
}

id retain(id object) {
  if (object && !isClassObject(object)) ++retainSlot(object);
  return object;
}

void release(id object) {
  if (!object || isClassObject(object)) return;
  unsigned long& count = retainSlot(object);
  if (count == 0) {
    NSException::raise(NSInternalInconsistencyException,
                       std::string("over-release of an instance of ") + className(object));
  }
  if (--count == 0) sel::dealloc(object);
}

unsigned long retainCount(id object) {
  if (!object) return 0;
  if (isClassObject(object)) return static_cast<unsigned long>(-1);
  return retainSlot(object);
}

id autorelease(id object) {
  if (!object || isClassObject(object)) return object;
  auto& stack = poolStack();
  if (stack.empty()) {
    static bool warned = false;
    if (!warned) {
      std::fprintf(stderr,
                   "objc: an instance of %s autoreleased with no pool in place - just leaking\n",
                   className(object));
      warned = true;
    }
    return object;
  }
  stack.back().push_back(object);
  return object;
}

AutoreleasePool::AutoreleasePool() : depth_(poolStack().size()) {
  poolStack().emplace_back();
}

AutoreleasePool::~AutoreleasePool() {
  auto& stack = poolStack();
  // Objects released here may autorelease more into this same pool; drain until quiet.
  while (stack.size() > depth_ + 1) stack.pop_back();
  while (!stack[depth_].empty()) {
    std::vector<id> objects;
    objects.swap(stack[depth_]);
    for (id object : objects) release(object);
  }
  stack.pop_back();
}

void AutoreleasePool::drainInnermost() {
  auto& stack = poolStack();
  if (stack.empty()) return;
  while (!stack.back().empty()) {
    std::vector<id> objects;
    objects.swap(stack.back());
    for (id object : objects) release(object);
  }
}

bool isKindOf(id object, Class cls) {
  if (!object || !cls) return false;
  for (Class c = object_getClass(object); c; c = class_getSuperclass(c)) {
    if (c == cls) return true;
  }
  return false;
}

bool respondsTo(id object, SEL selector) {
  return object && selector && class_respondsToSelector(object_getClass(object), selector);
}

const char* className(id object) {
  if (!object) return "nil";
  if (isClassObject(object)) return class_getName(reinterpret_cast<Class>(object));
  return class_getName(object_getClass(object));
}

void setDefaultDescription(id (*describe)(id object)) {
  gDefaultDescription = describe;
}

Strong make(Class cls) {
  return Strong::adopt(sel::init(sel::alloc(reinterpret_cast<id>(cls))));
}

}  // namespace platform::objc
