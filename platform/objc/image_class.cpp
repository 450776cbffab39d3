#include "platform/objc/image_class.h"

#include "platform/objc/class_builder.h"

namespace platform::objc {

ImageClass::ImageClass(const char* name, Class parent) : cls_(objc_getClass(name)) {
  if (cls_) {
    prepareDispatchTable(cls_);
    return;
  }
  cls_ = objc_allocateClassPair(parent, name, 0);
  made_ = true;
}

ImageClass& ImageClass::objectIvar(const char* name) {
  if (made_) class_addIvar(cls_, name, sizeof(id), alignof(id) == 8 ? 3 : 2, "@");
  return *this;
}

ImageClass& ImageClass::putMethod(SEL selector, IMP imp, const char* types) {
  if (made_)
    class_addMethod(cls_, selector, imp, types);
  else
    class_replaceMethod(cls_, selector, imp, types);
  return *this;
}

Class ImageClass::done() {
  if (made_) objc_registerClassPair(cls_);
  made_ = false;
  return cls_;
}

}  // namespace platform::objc
