#include "platform/uikit/uiapplication.h"

#include <set>

#include "platform/foundation/nsarray.h"
#include "platform/objc/class_builder.h"
#include "platform/uikit/uikit_classes.h"
#include "platform/uikit/uiwindow.h"

namespace platform::uikit {
namespace {

objc::Strong& sharedApp() {
  static auto* app = new objc::Strong();
  return *app;
}

std::set<ProcessId>& inBackground() {
  static auto* pids = [] {
    onProcessExit([](ProcessId pid) { inBackground().erase(pid); });
    return new std::set<ProcessId>();
  }();
  return *pids;
}

id sharedApplication(id, SEL) {
  return sharedApp();
}
id keyWindow(id, SEL) {
  return keyWindowOf(currentProcess());
}
id windows(id, SEL) {
  objc::Strong list = mutableArray();
  for (id window : windowsOf(currentProcess())) sel::addObject(list, window);
  return objc::autorelease(list.leak());
}

}  // namespace

Class UIResponderClass() {
  static Class cls =
      objc::deviceClass("UIResponder", objc::rootClass(), [](objc::ClassBuilder&) {});
  return cls;
}

Class UIApplicationClass() {
  static Class cls = [] {
    Class made = objc::deviceClass("UIApplication", UIResponderClass(), [](objc::ClassBuilder& b) {
      b.classMethod(sel::sharedApplication, sharedApplication)
          .method(sel::keyWindow, keyWindow)
          .method(sel::windows, windows);
    });
    defineFrameworkClasses();
    return made;
  }();
  return cls;
}

void setSharedApplication(id application) {
  sharedApp() = application;
}

void setApplicationInBackground(ProcessId pid, bool background) {
  if (background && isRunning(pid))
    inBackground().insert(pid);
  else
    inBackground().erase(pid);
}

bool applicationInBackground(ProcessId pid) {
  return inBackground().count(pid) > 0;
}

}  // namespace platform::uikit
