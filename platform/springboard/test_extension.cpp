// A minimal extension for the host's tests: its constructor records that it ran, adds a method
// to SpringBoard and hooks applicationDidFinishLaunching: to record the order of events.

#include <string>

#include "platform/objc/substrate.h"
#include "platform/springboard/springboard_classes.h"

namespace {

// Starts empty in every freshly loaded copy; a function-local static, because the constructor
// may run before this file's other globals are initialised.
std::string& events() {
  static std::string log;
  return log;
}
IMP gSavedLaunch = nullptr;

const char* testMarker(id, SEL) {
  return "added by the test extension";
}

void launched(id self, SEL cmd, id app) {
  events() += "launch;";
  reinterpret_cast<void (*)(id, SEL, id)>(gSavedLaunch)(self, cmd, app);
}

__attribute__((constructor)) void start() {
  events() += "constructor;";
  Class springBoard = objc_getClass("SpringBoard");
  class_addMethod(springBoard, sel_registerName("testMarker"), reinterpret_cast<IMP>(testMarker),
                  "*@:");
  MSHookMessageEx(springBoard, sel_registerName("applicationDidFinishLaunching:"),
                  reinterpret_cast<IMP>(launched), &gSavedLaunch);
}

}  // namespace

// What happened in this copy of the library, in order.
extern "C" const char* TestExtensionEvents() {
  return events().c_str();
}
