#pragma once
// Classes that a loaded library (an extension or a settings bundle) defines, made as the runtime
// makes an image's classes when the image loads. The runtime's class table outlives any one load
// of a library, so a class that an earlier load made is found again and its methods pointed at
// the code of the library just loaded.

#include <objc/runtime.h>

#include "platform/objc/selector.h"

namespace platform::objc {

// Makes or refreshes one class of a loaded library.
class ImageClass {
 public:
  // The class `name` under `parent`: made anew when the runtime has no class of that name, else
  // the existing one, which keeps its instance variables and gets the methods given below.
  ImageClass(const char* name, Class parent);
  // Registers the class if done() was not called.
  ~ImageClass() { done(); }
  ImageClass(const ImageClass&) = delete;
  ImageClass& operator=(const ImageClass&) = delete;

  // Adds an object instance variable named `name`; an existing class already has it.
  ImageClass& objectIvar(const char* name);
  // Gives the class `imp` as its method `selector` (added while the class is made, replaced on a
  // class found again). The signature must match the selector's.
  template <class R, class... Args>
  ImageClass& method(const Selector<R(Args...)>& selector, R (*imp)(id, SEL, Args...)) {
    return putMethod(selector.sel(), reinterpret_cast<IMP>(imp), selector.types());
  }
  // Registers a class made anew (once); returns the class, usable from then on.
  Class done();

 private:
  ImageClass& putMethod(SEL selector, IMP imp, const char* types);

  Class cls_ = Nil;
  bool made_ = false;
};

}  // namespace platform::objc
