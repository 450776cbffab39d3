#pragma once
// A phone for the benchmarks: the extension installed and switched on, SpringBoard booted, and
// readers for SpringBoard's objects and the extension's globals.

#include "platform/foundation/plist_value.h"
#include "platform/objc/strong.h"
#include "platform/springboard/springboard_host.h"
#include "platform/springboard/springboard_ui.h"
#include "sim/phone.h"

namespace bench {

class BenchPhone {
 public:
  // Writes the settings file with the extension enabled and boots SpringBoard (locked).
  BenchPhone() : phone_(options()) {
    phone_.changeSettings({{"enabled", platform::plist::Value(true)}}, false);
    phone_.boot();
  }

  sim::Phone& phone() { return phone_; }
  platform::springboard::SpringBoardUI& ui() {
    return *platform::springboard::SpringBoardUI::running();
  }
  platform::ProcessId springBoard() {
    return platform::springboard::SpringBoardHost::shared().pid();
  }
  // The extension's global named by its mangled symbol. REQUIRES: the extension is loaded.
  platform::objc::Strong& extensionGlobal(const char* mangled) {
    return *static_cast<platform::objc::Strong*>(phone_.extensionSymbol(mangled));
  }

 protected:
  sim::Phone phone_;

 private:
  static sim::PhoneOptions options() {
    sim::PhoneOptions o;
    o.extension = TARROW8_EXTENSION;
    return o;
  }
};

}  // namespace bench
