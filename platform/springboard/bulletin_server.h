#pragma once
// BulletinBoard's server (BBServer) and its observers (BBObserver). Applications publish and
// withdraw bulletins through the server; each list that shows bulletins holds an observer, and
// the server delivers to it later on the run loop, as over the platform's connection.
//
// Destination bits of publishBulletin:destinations:alwaysToLockScreen::
//   1 (kDestinationAlert)              a banner with lights and sound while the lock screen is down
//   2 (kDestinationNotificationCenter) listed in Notification Center
//   4 (kDestinationLockScreen)         added to the lock-screen list while the lock screen is up,
//                                      or whatever the lock state when alwaysToLockScreen is YES
// A bulletin reaching the lock screen or a banner is delivered with playLightsAndSirens YES.

#include <string>

#include "platform/objc/object.h"

namespace platform::springboard {

inline constexpr unsigned long kDestinationAlert = 1;
inline constexpr unsigned long kDestinationNotificationCenter = 2;
inline constexpr unsigned long kDestinationLockScreen = 4;
inline constexpr unsigned long kAllDestinations = 7;

// The classes "BBServer" and "BBObserver", created on first use.
Class BBServerClass();
Class BBObserverClass();

// What an observer passes on to the list it serves.
class BulletinObserverDelegate {
 public:
  virtual ~BulletinObserverDelegate() = default;
  // A bulletin for the observer's feed arrived.
  virtual void observerAddedBulletin(id observer, id bulletin, unsigned long feed,
                                     bool playLightsAndSirens) = 0;
  // A bulletin the observer was given has been withdrawn.
  virtual void observerRemovedBulletin(id observer, id bulletin) = 0;
};

// A new observer for the destinations in `feed`, passing deliveries to `delegate` (not owned;
// it must outlive the observer's registration or call invalidateObserver first).
objc::Strong makeObserver(unsigned long feed, BulletinObserverDelegate* delegate);
// Ends an observer: it is no longer valid and receives nothing more.
void invalidateObserver(id observer);
// Whether `observer` is a BBObserver that has not been invalidated.
bool observerIsValid(id observer);

// Adds an observer to the server's list, in order: earlier observers receive a bulletin first.
void addServerObserver(id server, id observer);
// The bulletin the server holds under `bulletinID`, or nil.
id publishedBulletin(id server, const std::string& bulletinID);

}  // namespace platform::springboard

namespace platform::springboard::sbsel {
using objc::Selector;
inline const Selector<void(id, unsigned long, BOOL)>
    publishBulletin_destinations_alwaysToLockScreen{
        "publishBulletin:destinations:alwaysToLockScreen:"};
inline const Selector<void(id)> withdrawBulletinID{"withdrawBulletinID:"};
}  // namespace platform::springboard::sbsel
