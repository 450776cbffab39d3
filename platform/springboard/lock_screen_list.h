#pragma once
// The lock screen's notification list: its controller (SBLockScreenNotificationListController),
// which holds the rows, newest first, and receives bulletins through its observer; and its view
// (SBLockScreenNotificationListView), whose table shows them.
//
// A list holds at most one row per bulletinID: an item arriving for a bulletin already shown
// replaces that row, and takes the place its own date gives it. A withdrawal reaches the list
// only for bulletins BulletinBoard delivered to it since it was last cleared: rows added back by
// anyone else are not BulletinBoard's to take away.

#include <functional>

#include "platform/objc/object.h"

namespace platform::springboard {

// The classes "SBLockScreenNotificationListController" and "SBLockScreenNotificationListView".
Class SBLockScreenNotificationListControllerClass();
Class SBLockScreenNotificationListViewClass();

// The items the controller shows, top first.
std::vector<id> listItems(id controller);
// Whether the list has a row for `bulletinID`.
bool listShowsBulletin(id controller, const std::string& bulletinID);
// Whether the list view keeps the display awake (`_disableIdleTimer:` YES last).
bool listKeepsDisplayAwake(id view);

// Called by the list view when the user acts on (opens) a bulletin; set by SpringBoard.
void setLockScreenActionHandler(std::function<void(id bulletin)> handler);

}  // namespace platform::springboard

namespace platform::springboard::sbsel {
using objc::Selector;
// The block a list may call once it has taken a bulletin; nil is allowed.
using ReplyBlock = std::function<void(BOOL)>;
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
// The list view.
inline const Selector<id(id)> activeBulletinForIndexPath{"_activeBulletinForIndexPath:"};
inline const Selector<void(id, id)> handleAction_forBulletin{"_handleAction:forBulletin:"};
inline const Selector<void(BOOL)> disableIdleTimer{"_disableIdleTimer:"};
}  // namespace platform::springboard::sbsel
