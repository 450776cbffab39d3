#pragma once
// SpringBoard's screens and services in one running process: the bulletin server, the lock
// screen with its notification list, Notification Center and banners, built when SpringBoard
// finishes launching and gone with the process. It carries out the phone's sequences in the
// order iOS 8 runs them (docs/phone.md) and the user's and applications' actions on them.

#include <memory>
#include <string>
#include <vector>

#include "platform/objc/strong.h"
#include "platform/springboard/bulletin.h"
#include "platform/springboard/bulletin_server.h"

namespace platform::springboard {

class SpringBoardUI {
 public:
  // The running SpringBoard's screens, or null when SpringBoard is not running.
  static SpringBoardUI* running();

  SpringBoardUI();
  ~SpringBoardUI();
  SpringBoardUI(const SpringBoardUI&) = delete;
  SpringBoardUI& operator=(const SpringBoardUI&) = delete;

  // Builds the server, the lock screen (which comes up at once) and Notification Center, each
  // through the platform's own creation methods. Called by SpringBoard's launch.
  void build();

  // The lock screen comes up as the device locks: Notification Center is put away, isUILocked
  // becomes YES and the list's view is about to appear. Runs before the lock state is posted;
  // a lock screen already up only loses Notification Center.
  void lockScreenWillAppear();
  // The display comes on while the lock screen is up: the list's view is about to appear again.
  void lockScreenWillReappear();
  // The device has unlocked: the lock screen goes down and its list is cleared for
  // Notification Center.
  void lockScreenDismissed();

  // An application publishes a bulletin to every destination (lock screen, Notification
  // Center, banner), as BulletinBoard routes it.
  objc::Strong publish(const BulletinContents& contents);
  // An application withdraws its bulletin. Returns false when the server holds no such one.
  bool withdraw(const std::string& bulletinID);
  // The user opens a bulletin shown on the lock screen (its application comes up, which
  // unlocks the device). Returns "" or why it cannot be done.
  std::string openFromLockScreen(const std::string& bulletinID);
  // The user taps a bulletin in Notification Center. Returns "" or why it cannot be done.
  std::string openFromNotificationCenter(const std::string& bulletinID);
  // Pulls Notification Center down, or puts it away.
  void showNotificationCenter();
  void hideNotificationCenter();
  // The user taps the clear button of an application's section in Notification Center.
  // Returns how many bulletins it cleared.
  std::size_t clearNotificationCenterSection(const std::string& sectionID);

  id bulletinServer() const { return server_; }
  id listController() const { return listController_; }
  // The list controller's view (the lock-screen list view), nil before it loads.
  id listView() const;
  id notificationCenter() const { return notificationCenter_; }
  bool notificationCenterVisible() const;
  // The bulletins each screen shows, top first.
  std::vector<id> lockScreenBulletins() const;
  std::vector<id> notificationCenterBulletins() const;

 private:
  class Banners;
  void opened(id bulletin, const char* from);

  objc::Strong window_;
  objc::Strong server_;
  objc::Strong listController_;
  objc::Strong notificationCenter_;
  std::unique_ptr<Banners> banners_;
  objc::Strong bannerObserver_;
};

// The running SpringBoard's bulletin server (nil when none), for lists that register with it.
id runningBulletinServer();

}  // namespace platform::springboard
