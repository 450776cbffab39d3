#include "platform/springboard/lock_screen_list.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/foundation/clock.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/springboard/bulletin.h"
#include "platform/springboard/bulletin_server.h"
#include "platform/springboard/delivery_log.h"
#include "platform/springboard/list_item.h"
#include "platform/springboard/newest_first_rows.h"
#include "platform/springboard/notification_cell.h"
#include "platform/springboard/springboard_ui.h"
#include "platform/uikit/uikit_classes.h"
#include "platform/uikit/uitableview.h"

namespace platform::springboard {
namespace {

using objc::Strong;

struct ListViewBody : uikit::ViewBody {
  id controller = nil;  // the owning controller, held weakly
  bool keepsDisplayAwake = false;
};

struct ControllerBody : objc::NativeBody, BulletinObserverDelegate {
  id self = nil;
  Strong view;
  NewestFirstRows<Strong> rows;  // items, keyed by their bulletin's identifier
  // The bulletins BulletinBoard delivered to this list since it was last cleared; only their
  // withdrawals reach it (items others add back are not BulletinBoard's).
  std::unordered_set<std::string> delivered;
  Strong observer;

  ~ControllerBody() override {
    invalidateObserver(observer);
    if (auto* v = objc::native<ListViewBody>(view)) v->controller = nil;
  }

  void observerAddedBulletin(id from, id bulletin, unsigned long feed, bool play) override {
    if (auto bulletinID = bulletinIdentifier(bulletin)) delivered.insert(*bulletinID);
    sbsel::observer_addBulletin_forFeed_playLightsAndSirens_withReply(self, from, bulletin, feed,
                                                                      play ? YES : NO, nullptr);
  }
  void observerRemovedBulletin(id from, id bulletin) override {
    auto bulletinID = bulletinIdentifier(bulletin);
    if (!bulletinID || !delivered.erase(*bulletinID) || !rows.contains(*bulletinID)) return;
    sbsel::observer_removeBulletin(self, from, bulletin);
  }
};

ControllerBody& controller(id self) {
  return *objc::native<ControllerBody>(self);
}

// The identifier of the item's bulletin, "" when it has none.
std::string bulletinIDOfItem(id item) {
  return bulletinIdentifier(sbsel::activeBulletin(item)).value_or("");
}

void loadView(id self, SEL) {
  ControllerBody& b = controller(self);
  b.self = self;
  CGRect bounds = CGRectMake(0, 0, 320, 568);
  Strong view = Strong::adopt(sel::initWithFrame(
      sel::alloc(reinterpret_cast<id>(SBLockScreenNotificationListViewClass())), bounds));
  if (auto* v = objc::native<ListViewBody>(view)) v->controller = self;
  b.view = view;
  objc::setObjectIvar(self, "_view", view);
  b.observer = makeObserver(kDestinationLockScreen, &b);
  objc::setObjectIvar(self, "_observer", b.observer);
  addServerObserver(runningBulletinServer(), b.observer);
}

void observerAddBulletin(id self, SEL, id observer, id bulletin, unsigned long, BOOL play,
                         sbsel::ReplyBlock reply) {
  Strong item = Strong::adopt(sbsel::initWithBulletin_andObserver(
      sel::alloc(reinterpret_cast<id>(SBAwayBulletinListItemClass())), bulletin, observer));
  sbsel::addItem_forBulletin_playLightsAndSirens_withReply(self, item, bulletin, play,
                                                           std::move(reply));
}

void addItem(id self, SEL, id item, id bulletin, BOOL play, sbsel::ReplyBlock reply) {
  if (auto bulletinID = bulletinIdentifier(bulletin)) {
    DeliveryLog::shared().recordDelivery({*bulletinID, "lock screen", play != NO,
                                          play ? bulletinSoundName(bulletin) : "",
                                          DeviceClock::shared().nowSeconds()});
  }
  sbsel::updateModelAndViewForAdditionOfItem(self, item);
  if (reply) reply(YES);
}

void addition(id self, SEL, id item) {
  if (!objc::isKindOf(item, SBAwayBulletinListItemClass())) return;
  controller(self).rows.insert(bulletinIDOfItem(item), dateSeconds(sbsel::date(item)),
                               Strong(item));
}

void removal(id self, SEL, id item) {
  if (!item) return;
  ControllerBody& b = controller(self);
  std::string bulletinID =
      objc::isKindOf(item, SBAwayBulletinListItemClass()) ? bulletinIDOfItem(item) : "";
  // The row presenting that bulletin goes, whichever item object it holds.
  if (!bulletinID.empty()) {
    b.rows.erase(bulletinID);
    return;
  }
  b.rows.eraseFirst([item](const Strong& shown) { return shown.get() == item; });
}

void observerRemoveBulletin(id self, SEL, id, id bulletin) {
  auto bulletinID = bulletinIdentifier(bulletin);
  if (!bulletinID) return;
  if (const auto* row = controller(self).rows.find(*bulletinID))
    sbsel::updateModelAndViewForRemovalOfItem(self, Strong(row->payload));
}

void clearItems(id self, SEL) {
  controller(self).rows.clear();
  controller(self).delivered.clear();
}

// The list view.

std::function<void(id)>& actionHandler() {
  static auto* handler = new std::function<void(id)>();
  return *handler;
}

id listViewInitWithFrame(id self, SEL, CGRect frame) {
  objc::native<ListViewBody>(self)->frame = frame;
  Strong table = Strong::adopt(
      sel::initWithFrame(sel::alloc(reinterpret_cast<id>(uikit::UITableViewClass())), frame));
  sel::setDataSource(table, self);
  sel::setDelegate(table, self);
  objc::setObjectIvar(self, "_tableView", table);
  return self;
}
long numberOfRows(id self, SEL, id, long) {
  auto* b = objc::native<ControllerBody>(objc::native<ListViewBody>(self)->controller);
  return b ? static_cast<long>(b->rows.size()) : 0;
}
id activeBulletinForIndexPath(id self, SEL, id indexPath) {
  auto* b = objc::native<ControllerBody>(objc::native<ListViewBody>(self)->controller);
  long row = sel::row(indexPath);
  if (!b || !indexPath || sel::section(indexPath) != 0 || row < 0 ||
      row >= static_cast<long>(b->rows.size()))
    return nil;
  return sbsel::activeBulletin(b->rows.at(static_cast<std::size_t>(row)).payload);
}
id cellForRow(id self, SEL, id table, id indexPath) {
  return notificationCellFor(table, activeBulletinForIndexPath(self, nullptr, indexPath));
}
// SpringBoard offers no swipe actions of its own on the lock screen.
id editActionsForRow(id, SEL, id, id) {
  return nil;
}
void handleAction(id, SEL, id, id bulletin) {
  if (actionHandler()) actionHandler()(bulletin);
}
void disableIdleTimer(id self, SEL, BOOL disable) {
  objc::native<ListViewBody>(self)->keepsDisplayAwake = disable != NO;
}

}  // namespace

Class SBLockScreenNotificationListControllerClass() {
  static Class cls = objc::deviceClass(
      "SBLockScreenNotificationListController", uikit::UIViewControllerClass(),
      [](objc::ClassBuilder& b) {
        b.ivar<id>("_observer")
            .body<ControllerBody>()
            .method(sel::loadView, loadView)
            .method(sbsel::observer_addBulletin_forFeed_playLightsAndSirens_withReply,
                    observerAddBulletin)
            .method(sbsel::addItem_forBulletin_playLightsAndSirens_withReply, addItem)
            .method(sbsel::updateModelAndViewForAdditionOfItem, addition)
            .method(sbsel::updateModelAndViewForRemovalOfItem, removal)
            .method(sbsel::observer_removeBulletin, observerRemoveBulletin)
            .method(sbsel::clearItemsForNotificationCenter, clearItems);
      });
  return cls;
}

Class SBLockScreenNotificationListViewClass() {
  static Class cls = objc::deviceClass(
      "SBLockScreenNotificationListView", uikit::UIViewClass(), [](objc::ClassBuilder& b) {
        b.ivar<id>("_tableView")
            .body<ListViewBody>()
            .method(sel::initWithFrame, listViewInitWithFrame)
            .method(sel::tableView_numberOfRowsInSection, numberOfRows)
            .method(sel::tableView_cellForRowAtIndexPath, cellForRow)
            .method(sel::tableView_editActionsForRowAtIndexPath, editActionsForRow)
            .method(sbsel::activeBulletinForIndexPath, activeBulletinForIndexPath)
            .method(sbsel::handleAction_forBulletin, handleAction)
            .method(sbsel::disableIdleTimer, disableIdleTimer);
      });
  return cls;
}

std::vector<id> listItems(id controllerObject) {
  std::vector<id> items;
  if (auto* b = objc::native<ControllerBody>(controllerObject)) {
    b->rows.forEach([&](const auto& row) { items.push_back(row.payload); });
  }
  return items;
}

bool listShowsBulletin(id controllerObject, const std::string& bulletinID) {
  auto* b = objc::native<ControllerBody>(controllerObject);
  return b && b->rows.contains(bulletinID);
}

bool listKeepsDisplayAwake(id view) {
  auto* b = objc::native<ListViewBody>(view);
  return b && b->keepsDisplayAwake;
}

void setLockScreenActionHandler(std::function<void(id bulletin)> handler) {
  actionHandler() = std::move(handler);
}

}  // namespace platform::springboard
