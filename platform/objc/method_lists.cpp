#include "platform/objc/method_lists.h"

#include <dlfcn.h>
#include <objc/thr.h>

#include <cstdio>
#include <cstdlib>
#include <unordered_set>

#include "platform/objc/selector.h"

// Parts of GNU libobjc that are exported but not declared in its public headers: the lock its
// own class_addMethod holds, and the call that rebuilds a class's dispatch table (and its
// subclasses') from its method lists.
extern "C" objc_mutex_t __objc_runtime_mutex;
extern "C" void __objc_update_dispatch_table_for_class(Class cls);

namespace platform::objc {
namespace {

// GNU libobjc's structures (its module ABI, version 8), as far as the device touches them.
struct GnuMethod {
  SEL name;
  const char* types;
  IMP imp;
};

struct GnuMethodList {
  GnuMethodList* next;
  int count;
  GnuMethod methods[1];
};

struct GnuClass {
  Class isa;
  Class superclass;
  const char* name;
  long version;
  unsigned long info;
  long instanceSize;
  void* ivars;
  GnuMethodList* methods;
};

// The flag libobjc sets in `info` between objc_allocateClassPair and objc_registerClassPair.
constexpr unsigned long kInConstruction = 0x10;

// The class's runtime structure, after checking that the runtime lays it out as declared here.
GnuClass& layout(Class cls) {
  auto& c = *reinterpret_cast<GnuClass*>(cls);
  if (c.name != class_getName(cls) || c.superclass != class_getSuperclass(cls)) {
    std::fprintf(stderr, "objc: this libobjc lays out class %s differently than the device reads\n",
                 class_getName(cls));
    std::abort();
  }
  return c;
}

// The lists the device's class_addMethod allocated and has not freed yet.
std::unordered_set<const GnuMethodList*>& deviceLists() {
  static auto* lists = new std::unordered_set<const GnuMethodList*>();
  return *lists;
}

bool hasOwnMethod(const GnuClass& c, SEL selector) {
  for (const GnuMethodList* list = c.methods; list; list = list->next) {
    for (int i = 0; i < list->count; ++i) {
      if (sel_isEqual(list->methods[i].name, selector)) return true;
    }
  }
  return false;
}

using AddMethod = BOOL (*)(Class, SEL, IMP, const char*);

// libobjc's own class_addMethod, for classes under construction.
AddMethod runtimeAddMethod() {
  static auto add = reinterpret_cast<AddMethod>(dlsym(RTLD_NEXT, "class_addMethod"));
  return add;
}

}  // namespace

MethodListMark markMethodLists(Class cls) {
  return {layout(cls).methods};
}

std::size_t removeMethodListsSince(Class cls, MethodListMark mark) {
  GnuClass& c = layout(cls);
  std::size_t removed = 0;
  objc_mutex_lock(__objc_runtime_mutex);
  while (c.methods && c.methods != mark.head) {
    GnuMethodList* list = c.methods;
    c.methods = list->next;
    removed += static_cast<std::size_t>(list->count);
    // A list from anywhere else has an owner the device does not know; it is only unlinked.
    if (deviceLists().erase(list)) objc_free(list);
  }
  if (removed) __objc_update_dispatch_table_for_class(cls);
  objc_mutex_unlock(__objc_runtime_mutex);
  return removed;
}

}  // namespace platform::objc

using platform::objc::GnuMethodList;

extern "C" BOOL class_addMethod(Class cls, SEL selector, IMP imp, const char* types) {
  if (!cls || !selector || !imp || !types || !*types) return NO;
  // A class under construction keeps its superclass's name where a registered one keeps the
  // pointer, so only the flag is read before the layout can be checked.
  if (reinterpret_cast<platform::objc::GnuClass*>(cls)->info & platform::objc::kInConstruction) {
    return platform::objc::runtimeAddMethod()(cls, selector, imp, types);
  }
  platform::objc::GnuClass& c = platform::objc::layout(cls);
  if (platform::objc::hasOwnMethod(c, selector)) return NO;
  SEL typed = platform::objc::detail::registerSelector(sel_getName(selector), types);
  auto* list = static_cast<GnuMethodList*>(objc_calloc(1, sizeof(GnuMethodList)));
  list->count = 1;
  // Both the selector and its types string belong to the runtime and live as long as it does.
  list->methods[0] = {typed, sel_getTypeEncoding(typed), imp};
  objc_mutex_lock(__objc_runtime_mutex);
  list->next = c.methods;
  c.methods = list;
  platform::objc::deviceLists().insert(list);
  __objc_update_dispatch_table_for_class(cls);
  objc_mutex_unlock(__objc_runtime_mutex);
  return YES;
}
