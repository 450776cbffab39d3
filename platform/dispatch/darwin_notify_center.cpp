#include "platform/dispatch/darwin_notify_center.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/dispatch/libnotify.h"
#include "platform/foundation/process.h"
#include "platform/objc/strong.h"

struct __CFNotificationCenter {
  const char* kind;
};

namespace platform::dispatch {
namespace {

// One observer of one name in one process, carried by a libnotify registration.
struct Observer {
  ProcessId owner;
  const void* observer;
  std::string name;
  objc::Strong nameObject;  // handed to the callback
  CFNotificationCallback callBack;
  int token;
};

struct DarwinCenter {
  std::uint64_t nextId = 1;
  std::map<std::uint64_t, Observer> observers;
};

DarwinCenter& darwin() {
  static DarwinCenter* c = [] {
    auto* made = new DarwinCenter();
    // libnotify drops the process's tokens itself; only the records go here.
    onProcessExit([](ProcessId pid) {
      std::vector<Observer> dropped;
      for (auto it = darwin().observers.begin(); it != darwin().observers.end();) {
        if (it->second.owner == pid) {
          dropped.push_back(std::move(it->second));
          it = darwin().observers.erase(it);
        } else {
          ++it;
        }
      }
    });
    return made;
  }();
  return *c;
}

void callObserver(std::uint64_t key) {
  auto it = darwin().observers.find(key);
  if (it == darwin().observers.end()) return;
  // Copies: the callback may remove its own registration.
  CFNotificationCallback callBack = it->second.callBack;
  void* observer = const_cast<void*>(it->second.observer);
  objc::Strong name = it->second.nameObject;
  callBack(CFNotificationCenterGetDarwinNotifyCenter(), observer, name, nullptr, nil);
}

// Removes the calling process's registrations of `observer` for `name` (all names when empty).
void removeObservers(const void* observer, const std::string* name) {
  std::vector<Observer> removed;
  for (auto it = darwin().observers.begin(); it != darwin().observers.end();) {
    const Observer& o = it->second;
    if (o.owner == currentProcess() && o.observer == observer && (!name || o.name == *name)) {
      notify_cancel(o.token);
      removed.push_back(std::move(it->second));
      it = darwin().observers.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace

void resetDarwinNotifyCenter() {
  std::map<std::uint64_t, Observer> dropped;
  dropped.swap(darwin().observers);
}

}  // namespace platform::dispatch

using platform::dispatch::darwin;

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
  static __CFNotificationCenter center{"darwin"};
  return &center;
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef, const void* observer,
                                     CFNotificationCallback callBack, CFStringRef name, const void*,
                                     CFNotificationSuspensionBehavior) {
  if (name == nil || !callBack) return;
  std::string text = platform::utf8(name);
  for (auto& [key, o] : darwin().observers) {
    if (o.owner == platform::currentProcess() && o.observer == observer && o.name == text) {
      o.callBack = callBack;
      return;
    }
  }
  std::uint64_t key = darwin().nextId++;
  int token = 0;
  notify_register_dispatch(text.c_str(), &token, dispatch_get_main_queue(),
                           [key](int) { platform::dispatch::callObserver(key); });
  darwin().observers.emplace(key, platform::dispatch::Observer{platform::currentProcess(), observer,
                                                               text, name, callBack, token});
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef, const void* observer,
                                        CFStringRef name, const void*) {
  if (name == nil) {
    platform::dispatch::removeObservers(observer, nullptr);
    return;
  }
  std::string text = platform::utf8(name);
  platform::dispatch::removeObservers(observer, &text);
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef, const void* observer) {
  platform::dispatch::removeObservers(observer, nullptr);
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef, CFStringRef name, const void*,
                                          CFDictionaryRef, Boolean) {
  if (name == nil) return;
  notify_post(platform::utf8(name).c_str());
}
