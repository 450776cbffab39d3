#include "platform/springboard/springboard_ui.h"

#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/springboard/delivery_log.h"
#include "platform/springboard/list_item.h"
#include "platform/springboard/lock_screen_list.h"
#include "platform/springboard/lock_screen_manager.h"
#include "platform/springboard/notification_center.h"
#include "platform/springboard/springboard_classes.h"
#include "platform/springboard/springboard_host.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uikit_classes.h"
#include "platform/uikit/uiwindow.h"

namespace platform::springboard {
namespace {

using objc::Strong;

id alloc(Class cls) {
  return sel::alloc(reinterpret_cast<id>(cls));
}

// Runs `work` as SpringBoard once the current event has returned.
void later(std::function<void()> work) {
  RunLoop::main().post(DeviceClock::shared().now(), std::move(work));
}

}  // namespace

// Banners: bulletins that arrive while the lock screen is down alert with lights and sound.
class SpringBoardUI::Banners : public BulletinObserverDelegate {
 public:
  void observerAddedBulletin(id, id bulletin, unsigned long, bool play) override {
    auto contents = bulletinContents(bulletin);
    if (!contents) return;
    DeliveryLog::shared().recordDelivery({contents->bulletinID, "banner", play,
                                          play ? contents->sound : "",
                                          DeviceClock::shared().nowSeconds()});
  }
  void observerRemovedBulletin(id, id) override {}
};

SpringBoardUI* SpringBoardUI::running() {
  return springBoardUI(sel::sharedApplication(reinterpret_cast<id>(uikit::UIApplicationClass())));
}

SpringBoardUI::SpringBoardUI() : banners_(std::make_unique<Banners>()) {}

SpringBoardUI::~SpringBoardUI() {
  setLockScreenActionHandler(nullptr);
  setNotificationCenterActionHandler(nullptr);
  invalidateObserver(bannerObserver_);
  resetNotificationCenter();
  resetLockScreenManager();
}

void SpringBoardUI::build() {
  setLockScreenUp(true);  // SpringBoard comes up on the lock screen
  // SpringBoard's own window, which holds the home and lock screens and is its key window.
  window_ = Strong::adopt(sel::initWithFrame(
      sel::alloc(reinterpret_cast<id>(uikit::UIWindowClass())), uikit::mainScreenBounds()));
  sel::makeKeyAndVisible(window_);
  server_ = Strong::adopt(sel::init(alloc(BBServerClass())));
  listController_ = Strong::adopt(sel::init(alloc(SBLockScreenNotificationListControllerClass())));
  sel::view(listController_);  // loads the list, whose observer registers with the server
  notificationCenter_ = makeNotificationCenter();
  addServerObserver(server_, notificationCenterObserver(notificationCenter_));
  bannerObserver_ = makeObserver(kDestinationAlert, banners_.get());
  addServerObserver(server_, bannerObserver_);
  setLockScreenActionHandler([this](id bulletin) { opened(bulletin, "lock screen"); });
  setNotificationCenterActionHandler(
      [this](id bulletin) { opened(bulletin, "Notification Center"); });
  sel::viewWillAppear(listController_, NO);
}

void SpringBoardUI::lockScreenWillAppear() {
  if (notificationCenterVisible()) sbsel::dismissAnimated(notificationCenter_, NO);
  if (lockScreenIsUp()) return;
  setLockScreenUp(true);
  sel::viewWillAppear(listController_, YES);
}

void SpringBoardUI::lockScreenWillReappear() {
  if (lockScreenIsUp()) sel::viewWillAppear(listController_, YES);
}

void SpringBoardUI::lockScreenDismissed() {
  if (!lockScreenIsUp()) return;
  setLockScreenUp(false);
  sbsel::clearItemsForNotificationCenter(listController_);
}

Strong SpringBoardUI::publish(const BulletinContents& contents) {
  Strong bulletin = makeBulletin(contents);
  sbsel::publishBulletin_destinations_alwaysToLockScreen(server_, bulletin, kAllDestinations, NO);
  return bulletin;
}

bool SpringBoardUI::withdraw(const std::string& bulletinID) {
  if (!publishedBulletin(server_, bulletinID)) return false;
  sbsel::withdrawBulletinID(server_, nsstring(bulletinID));
  return true;
}

std::string SpringBoardUI::openFromLockScreen(const std::string& bulletinID) {
  if (!lockScreenIsUp()) return "the lock screen is not shown (the device is unlocked)";
  for (id bulletin : lockScreenBulletins()) {
    if (utf8(sbsel::bulletinID(bulletin)) == bulletinID) {
      sbsel::handleAction_forBulletin(listView(), nil, bulletin);
      return "";
    }
  }
  return "the lock screen shows no bulletin " + bulletinID;
}

std::string SpringBoardUI::openFromNotificationCenter(const std::string& bulletinID) {
  if (!notificationCenterVisible()) return "Notification Center is not shown (use nc show)";
  id info = listedInfo(allModeViewController(notificationCenter_), bulletinID);
  if (!info) return "Notification Center lists no bulletin " + bulletinID;
  Strong bulletin = sbsel::representedBulletin(info);
  sbsel::handleAction_forBulletin_withCompletion(notificationCenter_, nil, bulletin, nullptr);
  return "";
}

void SpringBoardUI::opened(id bulletin, const char* from) {
  auto contents = bulletinContents(bulletin);
  if (!contents) return;
  DeliveryLog::shared().recordOpening({contents->bulletinID, contents->sectionID, from});
  // The application comes up once the gesture has finished: Notification Center goes away,
  // the device unlocks, and the bulletin, now handled, leaves Notification Center.
  later([this, bulletin = Strong(bulletin), section = contents->sectionID] {
    if (notificationCenterVisible()) sbsel::dismissAnimated(notificationCenter_, YES);
    if (SpringBoardHost::shared().locked()) SpringBoardHost::shared().unlock();
    later([this, bulletin, section] {
      std::string bulletinID = utf8(sbsel::bulletinID(bulletin));
      Strong sectionName = nsstring(section);
      for (id list : {allModeViewController(notificationCenter_),
                      missedModeViewController(notificationCenter_)}) {
        if (id info = listedInfo(list, bulletinID))
          sbsel::removeBulletin_fromSection(list, Strong(info), sectionName);
      }
    });
  });
}

void SpringBoardUI::showNotificationCenter() {
  sbsel::presentAnimated(notificationCenter_, YES);
}

void SpringBoardUI::hideNotificationCenter() {
  sbsel::dismissAnimated(notificationCenter_, YES);
}

std::size_t SpringBoardUI::clearNotificationCenterSection(const std::string& sectionID) {
  std::size_t cleared = 0;
  Strong section = nsstring(sectionID);
  for (id list : {allModeViewController(notificationCenter_),
                  missedModeViewController(notificationCenter_)}) {
    std::vector<std::string> ids = listedSection(list, sectionID);
    if (list == allModeViewController(notificationCenter_)) cleared = ids.size();
    for (const std::string& bulletinID : ids) {
      if (id info = listedInfo(list, bulletinID))
        sbsel::removeBulletin_fromSection(list, Strong(info), section);
    }
  }
  return cleared;
}

id SpringBoardUI::listView() const {
  return sel::isViewLoaded(listController_) ? sel::view(listController_) : nil;
}

bool SpringBoardUI::notificationCenterVisible() const {
  return sbsel::isVisible(notificationCenter_) != NO;
}

std::vector<id> SpringBoardUI::lockScreenBulletins() const {
  std::vector<id> shown;
  id view = listView();
  id table = objc::objectIvar(view, "_tableView");
  long rows = sel::numberOfRowsInSection(table, 0);
  for (long row = 0; row < rows; ++row) {
    Strong path = indexPath(row, 0);
    shown.push_back(sbsel::activeBulletinForIndexPath(view, path));
  }
  return shown;
}

std::vector<id> SpringBoardUI::notificationCenterBulletins() const {
  return listedBulletins(allModeViewController(notificationCenter_));
}

id runningBulletinServer() {
  SpringBoardUI* ui = SpringBoardUI::running();
  return ui ? ui->bulletinServer() : nil;
}

}  // namespace platform::springboard
