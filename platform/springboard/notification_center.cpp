#include "platform/springboard/notification_center.h"

#include <map>

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/springboard/bulletin.h"
#include "platform/springboard/bulletin_server.h"
#include "platform/springboard/lock_screen_manager.h"
#include "platform/springboard/newest_first_rows.h"
#include "platform/springboard/notification_cell.h"
#include "platform/uikit/uikit_classes.h"
#include "platform/uikit/uitableview.h"
#include "platform/uikit/uitableviewrowaction.h"
#include "platform/uikit/uiviewcontroller.h"

namespace platform::springboard {
namespace {

using objc::Strong;

// Bulletin infos: the wrapper under which a mode lists a bulletin.

struct InfoBody : objc::NativeBody {
  Strong bulletin;
};

id representedBulletin(id self, SEL) {
  return objc::native<InfoBody>(self)->bulletin;
}

Class infoBaseClass() {
  static Class cls = objc::deviceClass(
      "SBNotificationsBulletinInfo", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<InfoBody>().method(sbsel::representedBulletin, representedBulletin);
      });
  return cls;
}

// A mode's list: bulletin infos, newest first, keyed by bulletinID.

struct ModeBody : objc::NativeBody {
  NewestFirstRows<Strong> rows;
  id table = nil;  // the SBBulletinViewController showing this mode, held weakly
  // The bulletins in the order shown, rebuilt after a change when first asked for.
  std::vector<id> listing;
  bool listingValid = false;
};

// Redraws the mode's table controller when its view is loaded.
void reloadShown(ModeBody* mode) {
  if (mode && mode->table && sel::isViewLoaded(mode->table))
    sel::reloadData(sel::view(mode->table));
}

ModeBody* mode(id self) {
  return objc::native<ModeBody>(self);
}

// The mode's bulletins in the order shown, from the cache when nothing changed since.
const std::vector<id>& listingOf(ModeBody* m) {
  if (m->listingValid) return m->listing;
  std::vector<id>& listed = m->listing;
  listed.clear();
  // Applications in the order of their newest bulletin, each one's bulletins newest first.
  std::vector<std::string> sectionOrder;
  std::map<std::string, std::vector<id>> bySection;
  m->rows.forEach([&](const auto& row) {
    id bulletin = sbsel::representedBulletin(row.payload);
    std::string section = utf8(sbsel::sectionID(bulletin));
    auto& rows = bySection[section];
    if (rows.empty()) sectionOrder.push_back(section);
    rows.push_back(bulletin);
  });
  for (const auto& section : sectionOrder) {
    for (id bulletin : bySection[section]) listed.push_back(bulletin);
  }
  m->listingValid = true;
  return listed;
}

void addBulletin(id self, SEL, id info, id, unsigned long) {
  id bulletin = objc::isKindOf(info, infoBaseClass()) ? sbsel::representedBulletin(info) : nil;
  auto contents = bulletinContents(bulletin);
  if (!contents || !mode(self)) return;
  mode(self)->rows.insert(contents->bulletinID, contents->date, Strong(info));
  mode(self)->listingValid = false;
  reloadShown(mode(self));
}

void removeBulletin(id self, SEL, id info, id) {
  id bulletin = objc::isKindOf(info, infoBaseClass()) ? sbsel::representedBulletin(info) : nil;
  auto contents = bulletinContents(bulletin);
  if (!contents || !mode(self)) return;
  mode(self)->rows.erase(contents->bulletinID);
  mode(self)->listingValid = false;
  reloadShown(mode(self));
}

// The controller.

struct CenterBody : objc::NativeBody, BulletinObserverDelegate {
  bool visible = false;
  Strong bulletinViewController;
  Strong allMode;
  Strong missedMode;
  Strong observer;

  ~CenterBody() override { invalidateObserver(observer); }

  void observerAddedBulletin(id, id bulletin, unsigned long feed, bool) override {
    auto contents = bulletinContents(bulletin);
    if (!contents) return;
    Strong section = nsstring(contents->sectionID);
    Strong info = makeBulletinInfo(SBNotificationsAllModeBulletinInfoClass(), bulletin);
    sbsel::addBulletin_toSection_forFeed(allMode, info, section, feed);
    if (lockScreenIsUp()) {
      Strong missed = makeBulletinInfo(SBNotificationsMissedModeBulletinInfoClass(), bulletin);
      sbsel::addBulletin_toSection_forFeed(missedMode, missed, section, feed);
    }
  }
  void observerRemovedBulletin(id, id bulletin) override {
    auto contents = bulletinContents(bulletin);
    if (!contents) return;
    Strong section = nsstring(contents->sectionID);
    for (id list : {allMode.get(), missedMode.get()}) {
      if (const auto* row = mode(list)->rows.find(contents->bulletinID))
        sbsel::removeBulletin_fromSection(list, Strong(row->payload), section);
    }
  }
};

CenterBody& center(id self) {
  return *objc::native<CenterBody>(self);
}

Strong& sharedCenter() {
  static auto* shared = new Strong();
  return *shared;
}

std::function<void(id)>& actionHandler() {
  static auto* handler = new std::function<void(id)>();
  return *handler;
}

id sharedInstanceIfExists(id, SEL) {
  return sharedCenter();
}
BOOL isVisible(id self, SEL) {
  return center(self).visible ? YES : NO;
}
// The centre's list loads its view the first time the centre comes down, as iOS 8 does.
void presentAnimated(id self, SEL, BOOL) {
  sel::view(center(self).bulletinViewController);
  center(self).visible = true;
}
void dismissAnimated(id self, SEL, BOOL) {
  center(self).visible = false;
}
// The user tapped a bulletin: handled (YES) when the centre lists it.
BOOL handleAction(id self, SEL, id, id bulletin, sbsel::CompletionBlock completion) {
  auto contents = bulletinContents(bulletin);
  bool listed = contents && mode(center(self).allMode)->rows.contains(contents->bulletinID);
  if (listed && actionHandler()) actionHandler()(bulletin);
  if (completion) completion();
  return listed ? YES : NO;
}

// SBBulletinViewController: Notification Center's table of the all-notifications mode.

struct ListBody : objc::NativeBody {
  id mode = nil;  // the mode whose bulletins it shows, held weakly
  bool needsReload = false;
};

ListBody& list(id self) {
  return *objc::native<ListBody>(self);
}

id bulletinAt(id self, long row) {
  ModeBody* m = mode(list(self).mode);
  if (!m) return nil;
  const std::vector<id>& shown = listingOf(m);
  return row >= 0 && row < static_cast<long>(shown.size()) ? shown[static_cast<std::size_t>(row)]
                                                           : nil;
}

void listLoadView(id self, SEL) {
  Strong table = Strong::adopt(sel::initWithFrame(
      sel::alloc(reinterpret_cast<id>(uikit::UITableViewClass())), CGRectMake(0, 0, 320, 568)));
  sel::setDataSource(table, self);
  sel::setDelegate(table, self);
  sel::setView(self, table);
}
id listTableView(id self, SEL) {
  return sel::isViewLoaded(self) ? sel::view(self) : nil;
}
long listRows(id self, SEL, id, long) {
  ModeBody* m = mode(list(self).mode);
  return m ? static_cast<long>(listingOf(m).size()) : 0;
}
id listCell(id self, SEL, id table, id indexPath) {
  return notificationCellFor(table, bulletinAt(self, sel::row(indexPath)));
}
id representedBulletin(id self, SEL, id indexPath) {
  if (!indexPath || sel::section(indexPath) != 0) return nil;
  return bulletinAt(self, sel::row(indexPath));
}
// SpringBoard's own swipe action: "Clear" takes the row's bulletin out of Notification Center.
id listEditActions(id self, SEL, id, id) {
  Strong controller = self;
  id clear = sel::rowActionWithStyle_title_handler(
      reinterpret_cast<id>(uikit::UITableViewRowActionClass()), 1, CFSTR("Clear"),
      [controller](id, id indexPath) {
        id bulletin = representedBulletin(controller, nullptr, indexPath);
        auto contents = bulletinContents(bulletin);
        id center = sharedCenter();
        if (!contents || !center) return;
        Strong section = nsstring(contents->sectionID);
        for (id mode : {allModeViewController(center), missedModeViewController(center)}) {
          if (id info = listedInfo(mode, contents->bulletinID))
            sbsel::removeBulletin_fromSection(mode, Strong(info), section);
        }
      });
  return objc::autorelease(nsarray({clear}).leak());
}
void setNeedsReload(id self, SEL) {
  list(self).needsReload = true;
}
void reloadIfNecessary(id self, SEL) {
  if (!list(self).needsReload) return;
  list(self).needsReload = false;
  if (sel::isViewLoaded(self)) sel::reloadData(sel::view(self));
}

Class defineMode(const char* name) {
  return objc::deviceClass(name, SBBulletinObserverViewControllerClass(),
                           [](objc::ClassBuilder&) {});
}

Class defineInfo(const char* name) {
  return objc::deviceClass(name, infoBaseClass(), [](objc::ClassBuilder&) {});
}

}  // namespace

Class SBBulletinObserverViewControllerClass() {
  static Class cls =
      objc::deviceClass("SBBulletinObserverViewController", uikit::UIViewControllerClass(),
                        [](objc::ClassBuilder& b) {
                          b.body<ModeBody>()
                              .method(sbsel::addBulletin_toSection_forFeed, addBulletin)
                              .method(sbsel::removeBulletin_fromSection, removeBulletin);
                        });
  return cls;
}

Class SBNotificationsAllModeViewControllerClass() {
  static Class cls = defineMode("SBNotificationsAllModeViewController");
  return cls;
}
Class SBNotificationsMissedModeViewControllerClass() {
  static Class cls = defineMode("SBNotificationsMissedModeViewController");
  return cls;
}
Class SBNotificationsAllModeBulletinInfoClass() {
  static Class cls = defineInfo("SBNotificationsAllModeBulletinInfo");
  return cls;
}
Class SBNotificationsMissedModeBulletinInfoClass() {
  static Class cls = defineInfo("SBNotificationsMissedModeBulletinInfo");
  return cls;
}

Class SBBulletinViewControllerClass() {
  static Class cls = objc::deviceClass(
      "SBBulletinViewController", uikit::UIViewControllerClass(), [](objc::ClassBuilder& b) {
        b.body<ListBody>()
            .method(sel::loadView, listLoadView)
            .method(sbsel::tableView, listTableView)
            .method(sel::tableView_numberOfRowsInSection, listRows)
            .method(sel::tableView_cellForRowAtIndexPath, listCell)
            .method(sel::tableView_editActionsForRowAtIndexPath, listEditActions)
            .method(sbsel::representedBulletinAtIndexPath, representedBulletin)
            .method(sbsel::setTableViewNeedsReload, setNeedsReload)
            .method(sbsel::reloadTableViewDataIfNecessary, reloadIfNecessary);
      });
  return cls;
}

Class SBNotificationCenterControllerClass() {
  static Class cls = objc::deviceClass(
      "SBNotificationCenterController", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<CenterBody>()
            .classMethod(sbsel::sharedInstanceIfExists, sharedInstanceIfExists)
            .method(sbsel::isVisible, isVisible)
            .method(sbsel::presentAnimated, presentAnimated)
            .method(sbsel::dismissAnimated, dismissAnimated)
            .method(sbsel::handleAction_forBulletin_withCompletion, handleAction);
      });
  return cls;
}

Strong makeBulletinInfo(Class infoClass, id bulletin) {
  Strong info = objc::make(infoClass);
  objc::native<InfoBody>(info)->bulletin = bulletin;
  return info;
}

Strong makeNotificationCenter() {
  Strong controller = objc::make(SBNotificationCenterControllerClass());
  CenterBody& b = center(controller);
  b.allMode = objc::make(SBNotificationsAllModeViewControllerClass());
  b.missedMode = objc::make(SBNotificationsMissedModeViewControllerClass());
  b.bulletinViewController = objc::make(SBBulletinViewControllerClass());
  list(b.bulletinViewController).mode = b.allMode;
  mode(b.allMode)->table = b.bulletinViewController;
  b.observer = makeObserver(kDestinationNotificationCenter, &b);
  sharedCenter() = controller;
  return controller;
}

id bulletinListController(id controller) {
  auto* b = objc::native<CenterBody>(controller);
  return b ? b->bulletinViewController.get() : nil;
}

void resetNotificationCenter() {
  sharedCenter().reset();
}

id notificationCenterObserver(id controller) {
  auto* b = objc::native<CenterBody>(controller);
  return b ? b->observer.get() : nil;
}
id allModeViewController(id controller) {
  auto* b = objc::native<CenterBody>(controller);
  return b ? b->allMode.get() : nil;
}
id missedModeViewController(id controller) {
  auto* b = objc::native<CenterBody>(controller);
  return b ? b->missedMode.get() : nil;
}

std::vector<id> listedBulletins(id modeViewController) {
  ModeBody* m = mode(modeViewController);
  return m ? listingOf(m) : std::vector<id>();
}

id listedInfo(id modeViewController, const std::string& bulletinID) {
  ModeBody* m = mode(modeViewController);
  const auto* row = m ? m->rows.find(bulletinID) : nullptr;
  return row ? row->payload.get() : nil;
}

std::vector<std::string> listedSection(id modeViewController, const std::string& sectionID) {
  std::vector<std::string> ids;
  for (id bulletin : listedBulletins(modeViewController)) {
    if (utf8(sbsel::sectionID(bulletin)) == sectionID)
      ids.push_back(utf8(sbsel::bulletinID(bulletin)));
  }
  return ids;
}

void setNotificationCenterActionHandler(std::function<void(id bulletin)> handler) {
  actionHandler() = std::move(handler);
}

}  // namespace platform::springboard
