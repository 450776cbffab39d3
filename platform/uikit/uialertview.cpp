#include "platform/uikit/uialertview.h"

#include <cctype>
#include <cstring>
#include <string>

#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform::uikit {
namespace {

using objc::Strong;

constexpr const char* kAccessoryViewKey = "accessoryView";
constexpr const char* NSUnknownKeyException = "NSUnknownKeyException";

struct AlertBody : ModalBody {
  AlertBody() : ModalBody(ModalKind::Alert) {}
  Strong message;
  Strong accessoryView;
};

AlertBody& alert(id self) {
  return *objc::native<AlertBody>(self);
}

id initWithTitle(id self, SEL, id title, id message, id delegate, id cancelTitle, id otherTitle) {
  self = sel::initWithFrame(self, CGRectZero);
  if (!self) return nil;
  sel::setTitle(self, title);
  sel::setMessage(self, message);
  alert(self).delegate = delegate;
  if (cancelTitle) alert(self).cancelButtonIndex = sel::addButtonWithTitle(self, cancelTitle);
  if (otherTitle) sel::addButtonWithTitle(self, otherTitle);
  return self;
}
id message(id self, SEL) {
  return alert(self).message;
}
void setMessage(id self, SEL, id message) {
  alert(self).message = Strong::adopt(sel::copy(message));
}
void show(id self, SEL) {
  showModal(self, nil);
}

// The method of `object`'s class named `name` with exactly the encoding `types`, if any.
SEL accessorFor(id object, const std::string& name, const char* types) {
  SEL selector = sel_registerName(name.c_str());
  Method method = class_getInstanceMethod(object_getClass(object), selector);
  if (!method || std::strcmp(method_getTypeEncoding(method), types) != 0) return nullptr;
  return selector;
}

[[noreturn]] void raiseUnknownKey(id self, const char* method, const std::string& key) {
  NSException::raise(NSUnknownKeyException,
                     std::string("[<") + objc::className(self) + "> " + method +
                         "]: this class is not key value coding-compliant for the key " + key +
                         ".");
}

void setValueForKey(id self, SEL, id value, id key) {
  std::string name = utf8(key);
  if (name == kAccessoryViewKey) {
    alert(self).accessoryView = value;
    return;
  }
  if (!name.empty()) {
    std::string setter = "set" + name + ":";
    setter[3] = static_cast<char>(std::toupper(static_cast<unsigned char>(setter[3])));
    if (SEL s = accessorFor(self, setter, "v@:@")) {
      reinterpret_cast<void (*)(id, SEL, id)>(
          class_getMethodImplementation(object_getClass(self), s))(self, s, value);
      return;
    }
  }
  raiseUnknownKey(self, "setValue:forUndefinedKey:", name);
}
id valueForKey(id self, SEL, id key) {
  std::string name = utf8(key);
  if (name == kAccessoryViewKey) return alert(self).accessoryView;
  if (SEL s = name.empty() ? nullptr : accessorFor(self, name, "@@:")) {
    return reinterpret_cast<id (*)(id, SEL)>(
        class_getMethodImplementation(object_getClass(self), s))(self, s);
  }
  raiseUnknownKey(self, "valueForUndefinedKey:", name);
}

}  // namespace

Class UIAlertViewClass() {
  static Class cls = objc::deviceClass("UIAlertView", UIViewClass(), [](objc::ClassBuilder& b) {
    b.body<AlertBody>();
    addModalMethods(b);
    b.method(sel::initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles, initWithTitle)
        .method(sel::message, message)
        .method(sel::setMessage, setMessage)
        .method(sel::show, show)
        .method(sel::setValue_forKey, setValueForKey)
        .method(sel::valueForKey, valueForKey);
  });
  return cls;
}

id alertAccessoryView(id object) {
  auto* b = objc::native<AlertBody>(object);
  return b ? b->accessoryView.get() : nil;
}

}  // namespace platform::uikit
