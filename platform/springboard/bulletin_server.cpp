#include "platform/springboard/bulletin_server.h"

#include <map>
#include <string>
#include <vector>

#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/springboard/bulletin.h"
#include "platform/springboard/lock_screen_manager.h"

namespace platform::springboard {
namespace {

using objc::Strong;

struct ObserverBody : objc::NativeBody {
  unsigned long feed = 0;
  BulletinObserverDelegate* delegate = nullptr;
  bool valid = true;
};

ObserverBody* observerBody(id observer) {
  return objc::native<ObserverBody>(observer);
}

struct ServerBody : objc::NativeBody {
  std::map<std::string, Strong> bulletins;
  std::vector<Strong> observers;
};

ServerBody& server(id self) {
  return *objc::native<ServerBody>(self);
}

// Queues one delivery to an observer, as the platform's connection does.
void deliverLater(id observer, std::function<void(BulletinObserverDelegate&)> call) {
  RunLoop::main().post(DeviceClock::shared().now(),
                       [observer = Strong(observer), call = std::move(call)] {
                         ObserverBody* b = observerBody(observer);
                         if (b && b->valid && b->delegate) call(*b->delegate);
                       });
}

void publish(id self, SEL, id bulletin, unsigned long destinations, BOOL alwaysToLockScreen) {
  auto contents = bulletinContents(bulletin);
  if (!contents || contents->bulletinID.empty()) return;
  server(self).bulletins[contents->bulletinID] = bulletin;
  bool lockScreenUp = lockScreenIsUp();
  unsigned long feeds = destinations & kDestinationNotificationCenter;
  if ((destinations & kDestinationLockScreen) && (alwaysToLockScreen || lockScreenUp))
    feeds |= kDestinationLockScreen;
  if ((destinations & kDestinationAlert) && !lockScreenUp) feeds |= kDestinationAlert;
  for (const Strong& observer : server(self).observers) {
    ObserverBody* b = observerBody(observer);
    unsigned long feed = b->feed & feeds;
    if (!b->valid || feed == 0) continue;
    addBulletinObserver(bulletin, observer);
    bool alerts = (feed & (kDestinationLockScreen | kDestinationAlert)) != 0;
    deliverLater(observer, [observer = observer.get(), bulletin = Strong(bulletin), feed,
                            alerts](BulletinObserverDelegate& d) {
      d.observerAddedBulletin(observer, bulletin, feed, alerts);
    });
  }
}

void withdraw(id self, SEL, id bulletinID) {
  auto found = server(self).bulletins.find(utf8(bulletinID));
  if (found == server(self).bulletins.end()) return;
  Strong bulletin = found->second;
  server(self).bulletins.erase(found);
  for (const Strong& observer : server(self).observers) {
    deliverLater(observer, [observer = observer.get(), bulletin](BulletinObserverDelegate& d) {
      d.observerRemovedBulletin(observer, bulletin);
    });
  }
}

}  // namespace

Class BBServerClass() {
  static Class cls = objc::deviceClass("BBServer", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<ServerBody>()
        .method(sbsel::publishBulletin_destinations_alwaysToLockScreen, publish)
        .method(sbsel::withdrawBulletinID, withdraw);
  });
  return cls;
}

Class BBObserverClass() {
  static Class cls = objc::deviceClass("BBObserver", objc::rootClass(),
                                       [](objc::ClassBuilder& b) { b.body<ObserverBody>(); });
  return cls;
}

Strong makeObserver(unsigned long feed, BulletinObserverDelegate* delegate) {
  Strong observer = objc::make(BBObserverClass());
  observerBody(observer)->feed = feed;
  observerBody(observer)->delegate = delegate;
  return observer;
}

void invalidateObserver(id observer) {
  if (ObserverBody* b = observerBody(observer)) {
    b->valid = false;
    b->delegate = nullptr;
  }
}

bool observerIsValid(id observer) {
  ObserverBody* b = observerBody(observer);
  return b && b->valid;
}

void addServerObserver(id serverObject, id observer) {
  if (objc::native<ServerBody>(serverObject) && observerBody(observer))
    server(serverObject).observers.emplace_back(observer);
}

id publishedBulletin(id serverObject, const std::string& bulletinID) {
  auto* b = objc::native<ServerBody>(serverObject);
  if (!b) return nil;
  auto found = b->bulletins.find(bulletinID);
  return found == b->bulletins.end() ? nil : found->second.get();
}

}  // namespace platform::springboard
