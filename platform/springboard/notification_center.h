#pragma once
// Notification Center: its controller (SBNotificationCenterController), which is shown and
// hidden and handles the user's taps, and its bulletin lists. Each mode of the centre is an
// SBBulletinObserverViewController that receives the bulletins it lists wrapped in infos of the
// mode's own class: SBNotificationsAllModeBulletinInfo for the list of all notifications, and
// SBNotificationsMissedModeBulletinInfo for the missed list (bulletins that arrived while the
// lock screen was up). Within the all-notifications list, applications are ordered by their
// newest bulletin and each application's bulletins newest first; SBBulletinViewController shows
// that list as one table section and offers SpringBoard's "Clear" swipe action on each row.

#include <functional>
#include <string>
#include <vector>

#include "platform/objc/object.h"

namespace platform::springboard {

// The classes of Notification Center, created on first use.
Class SBNotificationCenterControllerClass();
Class SBBulletinObserverViewControllerClass();
Class SBNotificationsAllModeViewControllerClass();
Class SBNotificationsMissedModeViewControllerClass();
Class SBNotificationsAllModeBulletinInfoClass();
Class SBNotificationsMissedModeBulletinInfoClass();
Class SBBulletinViewControllerClass();

// A new bulletin info of class `infoClass` representing `bulletin`.
objc::Strong makeBulletinInfo(Class infoClass, id bulletin);

// Makes the process's Notification Center controller (what sharedInstanceIfExists answers from
// then on) with its two modes, observing bulletins through a new observer that the caller
// registers with the server. Returns the controller.
objc::Strong makeNotificationCenter();
// Forgets the shared controller, as when SpringBoard's process ends.
void resetNotificationCenter();
// The observer through which the controller receives bulletins.
id notificationCenterObserver(id controller);
// The mode view controllers: the all-notifications list and the missed list.
id allModeViewController(id controller);
id missedModeViewController(id controller);

// The centre's SBBulletinViewController, the table of the all-notifications mode. Its view loads
// the first time the centre is shown.
id bulletinListController(id controller);

// The bulletins a mode lists, top first.
std::vector<id> listedBulletins(id modeViewController);
// The info under which a mode lists `bulletinID`, or nil.
id listedInfo(id modeViewController, const std::string& bulletinID);
// The bulletinIDs a mode lists for the application `sectionID`, top first.
std::vector<std::string> listedSection(id modeViewController, const std::string& sectionID);

// Called by the controller when the user opened a bulletin it lists; set by SpringBoard.
void setNotificationCenterActionHandler(std::function<void(id bulletin)> handler);

}  // namespace platform::springboard

namespace platform::springboard::sbsel {
using objc::Selector;
inline const Selector<void(id, id, unsigned long)> addBulletin_toSection_forFeed{
    "addBulletin:toSection:forFeed:"};
inline const Selector<void(id, id)> removeBulletin_fromSection{"removeBulletin:fromSection:"};
inline const Selector<id()> representedBulletin{"representedBulletin"};
inline const Selector<id()> sharedInstanceIfExists{"sharedInstanceIfExists"};
inline const Selector<BOOL()> isVisible{"isVisible"};
inline const Selector<void(BOOL)> presentAnimated{"presentAnimated:"};
inline const Selector<void(BOOL)> dismissAnimated{"dismissAnimated:"};
using CompletionBlock = std::function<void()>;
// SBBulletinViewController.
inline const Selector<id()> tableView{"tableView"};
inline const Selector<id(id)> representedBulletinAtIndexPath{"_representedBulletinAtIndexPath:"};
inline const Selector<void()> setTableViewNeedsReload{"setTableViewNeedsReload"};
inline const Selector<void()> reloadTableViewDataIfNecessary{"reloadTableViewDataIfNecessary"};
inline const Selector<BOOL(id, id, CompletionBlock)> handleAction_forBulletin_withCompletion{
    "handleAction:forBulletin:withCompletion:"};
}  // namespace platform::springboard::sbsel
