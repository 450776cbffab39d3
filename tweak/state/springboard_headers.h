#pragma once
// The private SpringBoard interfaces the extension relies on, declared once with their true
// signatures, as an extension developer keeps the headers of the classes they hook.

#include <functional>

#include "platform/dispatch/distributed_notification_center.h"
#include "platform/dispatch/timers.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/objc/selector.h"
#include "platform/uikit/geometry.h"

namespace tarrow8::sb {
using platform::objc::Selector;

// SpringBoard (the UIApplication subclass).
inline const Selector<void(id)> applicationDidFinishLaunching{"applicationDidFinishLaunching:"};
inline const Selector<void()> relaunchSpringBoardNow{"_relaunchSpringBoardNow"};

// Methods the extension adds to SpringBoard classes.
inline const Selector<void(id)> gracePeriodTimerFired{"gracePeriodTimerFired:"};
inline const Selector<void(id)> clearTarrowItemsInSection{"clearTarrowItemsInSection:"};

// UIActionSheet / UIAlertView, as far as closing them on a lock-state change needs.
inline const Selector<long()> cancelButtonIndex{"cancelButtonIndex"};
inline const Selector<void(long, BOOL)> dismissWithClickedButtonIndex_animated{
    "dismissWithClickedButtonIndex:animated:"};
inline const Selector<void()> resignKeyWindow{"resignKeyWindow"};

// Blocks SpringBoard passes: a list's reply, and a completion.
using ReplyBlock = std::function<void(BOOL)>;
using CompletionBlock = std::function<void()>;

// UIViewController and UIView.
inline const Selector<void()> loadView{"loadView"};
inline const Selector<void(BOOL)> viewWillAppear{"viewWillAppear:"};
inline const Selector<id(CGRect)> initWithFrame{"initWithFrame:"};

// BBBulletin.
inline const Selector<id()> bulletinID{"bulletinID"};
inline const Selector<id()> sectionID{"sectionID"};
inline const Selector<id()> title{"title"};
inline const Selector<id()> subtitle{"subtitle"};
inline const Selector<id()> message{"message"};
inline const Selector<BOOL()> wantsFullscreenPresentation{"wantsFullscreenPresentation"};
inline const Selector<id()> firstValidObserver{"firstValidObserver"};
inline const Selector<id()> sound{"sound"};
inline const Selector<void(id)> setSound{"setSound:"};

// SBAwayBulletinListItem.
inline const Selector<id(id, id)> initWithBulletin_andObserver{"initWithBulletin:andObserver:"};
inline const Selector<id()> activeBulletin{"activeBulletin"};
inline const Selector<id()> date{"date"};

// BBServer.
inline const Selector<id()> init{"init"};
inline const Selector<void(id, unsigned long, BOOL)>
    publishBulletin_destinations_alwaysToLockScreen{
        "publishBulletin:destinations:alwaysToLockScreen:"};
inline const Selector<void(id)> withdrawBulletinID{"withdrawBulletinID:"};

// SBLockScreenManager.
inline const Selector<id()> sharedInstance{"sharedInstance"};
inline const Selector<BOOL()> isUILocked{"isUILocked"};

// SBLockScreenNotificationListController.
inline const Selector<void(id, id, unsigned long, BOOL, ReplyBlock)>
    observer_addBulletin_forFeed_playLightsAndSirens_withReply{
        "observer:addBulletin:forFeed:playLightsAndSirens:withReply:"};
inline const Selector<void(id, id, BOOL, ReplyBlock)>
    addItem_forBulletin_playLightsAndSirens_withReply{
        "_addItem:forBulletin:playLightsAndSirens:withReply:"};
inline const Selector<void(id)> updateModelAndViewForAdditionOfItem{
    "_updateModelAndViewForAdditionOfItem:"};
inline const Selector<void(id)> updateModelAndViewForRemovalOfItem{
    "_updateModelAndViewForRemovalOfItem:"};
inline const Selector<void(id, id)> observer_removeBulletin{"observer:removeBulletin:"};
inline const Selector<void()> clearItemsForNotificationCenter{"clearItemsForNotificationCenter"};

// SBLockScreenNotificationListView.
inline const Selector<void(BOOL)> disableIdleTimer{"_disableIdleTimer:"};
inline const Selector<void(id, id)> handleAction_forBulletin{"_handleAction:forBulletin:"};

// SBBulletinViewController (Notification Center's table) and SBNotificationCell.
inline const Selector<void()> viewDidLoad{"viewDidLoad"};
inline const Selector<id()> tableView{"tableView"};
inline const Selector<id(id, id)> tableView_cellForRowAtIndexPath{
    "tableView:cellForRowAtIndexPath:"};
inline const Selector<id(id, id)> tableView_editActionsForRowAtIndexPath{
    "tableView:editActionsForRowAtIndexPath:"};
inline const Selector<id(id)> representedBulletinAtIndexPath{"_representedBulletinAtIndexPath:"};
inline const Selector<void()> setTableViewNeedsReload{"setTableViewNeedsReload"};
inline const Selector<void()> reloadTableViewDataIfNecessary{"reloadTableViewDataIfNecessary"};
inline const Selector<void()> layoutSubviews{"layoutSubviews"};
inline const Selector<id()> primaryLabel{"primaryLabel"};
inline const Selector<id(id)> activeBulletinForIndexPath{"_activeBulletinForIndexPath:"};
inline const Selector<id(long)> initWithToneAlert{"initWithToneAlert:"};
inline const Selector<id()> sharedInstanceIfExists{"sharedInstanceIfExists"};
inline const Selector<BOOL()> isVisible{"isVisible"};
inline const Selector<void(BOOL)> dismissAnimated{"dismissAnimated:"};

// Methods the extension adds for the actions menu and reminders.
inline const Selector<void(id)> reminderTimerFired{"reminderTimerFired:"};
inline const Selector<void(id)> tarrow8Actions{"tarrow8Actions:"};
inline const Selector<void(id, long)> alertView_didDismissWithButtonIndex{
    "alertView:didDismissWithButtonIndex:"};
inline const Selector<void(id, long)> actionSheet_didDismissWithButtonIndex{
    "actionSheet:didDismissWithButtonIndex:"};

// Notification Center: its bulletin lists and their infos, and its controller.
inline const Selector<void(id, id, unsigned long)> addBulletin_toSection_forFeed{
    "addBulletin:toSection:forFeed:"};
inline const Selector<void(id, id)> removeBulletin_fromSection{"removeBulletin:fromSection:"};
inline const Selector<id()> representedBulletin{"representedBulletin"};
inline const Selector<BOOL(id, id, CompletionBlock)> handleAction_forBulletin_withCompletion{
    "handleAction:forBulletin:withCompletion:"};

}  // namespace tarrow8::sb
