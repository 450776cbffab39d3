#include "platform/objc/class_builder.h"

#include <map>
#include <mutex>
#include <stdexcept>
#include <string>

#include "platform/objc/exception.h"

// Rebuilds a class's dispatch table (and its subclasses') from its method lists. Exported by
// GNU libobjc but not declared in its public headers.
extern "C" void __objc_update_dispatch_table_for_class(Class cls);
#include "platform/objc/method_lists.h"

namespace platform::objc {
namespace {

// What one side (instance or class) of a device class held when it was built.
struct OriginalMethods {
  MethodListMark lists;
  std::vector<std::pair<SEL, IMP>> implementations;
};

struct DeviceClassRecord {
  Class cls;
  OriginalMethods instanceSide;
  OriginalMethods classSide;
};

struct Registry {
  std::vector<DeviceClassRecord> classes;
  std::map<Class, std::function<std::unique_ptr<NativeBody>()>> factories;
};

Registry& registry() {
  static Registry* r = new Registry();  // outlives every static that might still send messages
  return *r;
}

OriginalMethods originalMethods(Class cls) {
  OriginalMethods original{markMethodLists(cls), {}};
  unsigned int count = 0;
  Method* methods = class_copyMethodList(cls, &count);
  for (unsigned int i = 0; i < count; ++i) {
    original.implementations.emplace_back(method_getName(methods[i]),
                                          method_getImplementation(methods[i]));
  }
  free(methods);
  return original;
}

// Makes `cls`'s own methods equal to `original` again: the lists added since are taken off, so
// the methods they held are gone, and hooked methods get their original implementation back.
void restoreMethods(Class cls, const OriginalMethods& original) {
  prepareDispatchTable(cls);
  removeMethodListsSince(cls, original.lists);
  unsigned int count = 0;
  Method* methods = class_copyMethodList(cls, &count);
  bool changed = false;
  for (unsigned int i = 0; i < count; ++i) {
    SEL name = method_getName(methods[i]);
    for (const auto& [sel, imp] : original.implementations) {
      if (sel_isEqual(sel, name) && method_getImplementation(methods[i]) != imp) {
        method_setImplementation(methods[i], imp);
        changed = true;
      }
    }
  }
  free(methods);
  if (changed) refreshDispatchTables(cls);
}

}  // namespace

void prepareDispatchTable(Class cls) {
  // Looking a method up installs the class's own table (a no-op once it has one).
  class_getMethodImplementation(cls, sel_registerName("class"));
}

void refreshDispatchTables(Class cls) {
  __objc_update_dispatch_table_for_class(cls);
}

ClassBuilder::ClassBuilder(const char* name, Class superclass)
    : cls_(objc_allocateClassPair(superclass, name, 0)) {
  if (!cls_) {
    NSException::raise(NSInternalInconsistencyException,
                       std::string("class ") + name + " already exists");
  }
}

ClassBuilder& ClassBuilder::addMethod(bool classSide, SEL selector, IMP imp, const char* types) {
  Class target = classSide ? object_getClass(reinterpret_cast<id>(cls_)) : cls_;
  if (!class_addMethod(target, selector, imp, types)) {
    NSException::raise(
        NSInternalInconsistencyException,
        std::string("method ") + sel_getName(selector) + " added twice to " + class_getName(cls_));
  }
  return *this;
}

ClassBuilder& ClassBuilder::addIvar(const char* name, std::size_t size, std::size_t align,
                                    const char* types) {
  auto log2Align = static_cast<unsigned char>(std::log2(static_cast<double>(align)));
  if (!class_addIvar(cls_, name, size, log2Align, types)) {
    NSException::raise(NSInternalInconsistencyException,
                       std::string("ivar ") + name + " cannot be added to " + class_getName(cls_));
  }
  return *this;
}

Class ClassBuilder::build() {
  objc_registerClassPair(cls_);
  Registry& r = registry();
  if (factory_) r.factories[cls_] = factory_;
  r.classes.push_back(
      {cls_, originalMethods(cls_), originalMethods(object_getClass(reinterpret_cast<id>(cls_)))});
  return cls_;
}

Class deviceClass(const char* name, Class superclass,
                  const std::function<void(ClassBuilder&)>& define) {
  if (Class existing = objc_getClass(name)) return existing;
  ClassBuilder builder(name, superclass);
  define(builder);
  return builder.build();
}

void restoreDeviceClasses() {
  for (const DeviceClassRecord& record : registry().classes) {
    restoreMethods(record.cls, record.instanceSide);
    restoreMethods(object_getClass(reinterpret_cast<id>(record.cls)), record.classSide);
  }
}

const std::function<std::unique_ptr<NativeBody>()>* bodyFactoryFor(Class cls) {
  const auto& factories = registry().factories;
  for (Class c = cls; c; c = class_getSuperclass(c)) {
    auto it = factories.find(c);
    if (it != factories.end()) return &it->second;
  }
  return nullptr;
}

id objectIvar(id object, const char* name) {
  if (!object) return nil;
  Ivar ivar = class_getInstanceVariable(object_getClass(object), name);
  if (!ivar) return nil;
  return *reinterpret_cast<id*>(reinterpret_cast<char*>(object) + ivar_getOffset(ivar));
}

void setObjectIvar(id object, const char* name, id value) {
  Ivar ivar = class_getInstanceVariable(object_getClass(object), name);
  if (!ivar) {
    NSException::raise(NSInvalidArgumentException,
                       std::string("class ") + className(object) + " has no ivar " + name);
  }
  id* slot = reinterpret_cast<id*>(reinterpret_cast<char*>(object) + ivar_getOffset(ivar));
  id old = *slot;
  *slot = retain(value);
  release(old);
}

}  // namespace platform::objc
