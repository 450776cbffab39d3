#pragma once
// A booted phone for whole-device tests of the extension, with readers for what the tests
// check: the extension's stores and flags, both screens, the log and what the phone played.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/nslog.h"
#include "platform/foundation/plist_value.h"
#include "platform/objc/strong.h"
#include "platform/springboard/delivery_log.h"
#include "platform/springboard/springboard_host.h"
#include "platform/springboard/springboard_ui.h"
#include "sim/phone.h"
#include "sim/screens.h"

namespace sim::testing {

using platform::plist::Value;
using platform::springboard::BulletinContents;

class PhoneTest : public ::testing::Test {
 protected:
  void SetUp() override { makePhone(); }
  void TearDown() override { phone_.reset(); }

  // A fresh phone with the extension installed and nothing launched.
  void makePhone() {
    phone_.reset();
    PhoneOptions options;
    options.extension = TARROW8_EXTENSION;
    phone_ = std::make_unique<Phone>(options);
    start_ = phone_->now();
  }

  // Writes the settings (enabled plus `settings`) and launches SpringBoard.
  void boot(const std::map<std::string, std::optional<Value>>& settings = {}) {
    std::map<std::string, std::optional<Value>> all = {{"enabled", Value(true)}};
    for (const auto& [key, value] : settings) all[key] = value;
    ASSERT_EQ(phone_->changeSettings(all, false), "");
    ASSERT_TRUE(phone_->boot());
  }
  // Changes settings as the pane does (with its notification).
  void settings(const std::map<std::string, std::optional<Value>>& changes) {
    ASSERT_EQ(phone_->changeSettings(changes), "");
  }

  // Publishes bulletin `id` of `app`, dated `minutes` after the phone's start (now when absent).
  void publish(const std::string& id, const std::string& app = "com.apple.MobileSMS",
               std::optional<double> minutes = std::nullopt, bool fullscreen = false) {
    BulletinContents c;
    c.bulletinID = id;
    c.sectionID = app;
    c.title = "title of " + id;
    c.date = minutes ? start_ + *minutes * 60 : phone_->now();
    c.fullscreen = fullscreen;
    ASSERT_EQ(phone_->publish(c), "");
  }
  // Unlocks, then locks again after a while, and lets the re-presenting run.
  void unlockAndLockAgain() {
    phone_->unlock();
    phone_->wait(1);
    phone_->lock();
    phone_->wait(0.25);
  }

  // The IDs of a store of the extension, sorted.
  std::vector<std::string> store(const char* name) {
    std::vector<std::string> ids;
    auto state = phone_->extensionState();
    if (!state) return ids;
    for (const Value& v : state->find(name)->as<platform::plist::Array>())
      ids.push_back(v.as<std::string>());
    return ids;
  }
  std::vector<std::string> kept() { return store("keptItems"); }
  std::vector<std::string> removed() { return store("removedBulletinIDs"); }
  bool flag(const char* name) {
    auto state = phone_->extensionState();
    return state && state->find("flags")->find(name)->as<bool>();
  }
  std::vector<std::string> lockScreen() { return rowIDs(lockScreenShot()->rows); }
  std::vector<std::string> notificationCenter() { return rowIDs(notificationCenterShot()->rows); }

  // The extension's global named by its mangled symbol.
  platform::objc::Strong& global(const char* mangled) {
    auto* s = static_cast<platform::objc::Strong*>(phone_->extensionSymbol(mangled));
    EXPECT_NE(s, nullptr) << mangled;
    return *s;
  }
  platform::objc::Strong& keptItems() { return global("_ZN7tarrow89keptItemsE"); }
  platform::objc::Strong& removedIDs() { return global("_ZN7tarrow818removedBulletinIDsE"); }

  platform::springboard::SpringBoardUI& ui() {
    return *platform::springboard::SpringBoardUI::running();
  }
  // Runs `work` as SpringBoard (as a hook or an event of its own would), then what it made due.
  template <class Work>
  void asSpringBoard(Work work) {
    {
      platform::ProcessScope scope(platform::springboard::SpringBoardHost::shared().pid());
      platform::objc::AutoreleasePool pool;
      work();
    }
    phone_->wait(0);
  }

  // Lines logged since the phone was made.
  std::vector<std::string> logged() {
    std::vector<std::string> lines;
    for (const auto& e : platform::loggedLines()) lines.push_back(e.message);
    return lines;
  }
  // Whether the last delivery of `id` played lights and sound.
  std::optional<bool> played(const std::string& id) {
    const auto* d = platform::springboard::DeliveryLog::shared().lastDelivery(id);
    return d ? std::optional<bool>(d->played) : std::nullopt;
  }

  static std::vector<std::string> ids(std::initializer_list<const char*> list) {
    return {list.begin(), list.end()};
  }

  std::unique_ptr<Phone> phone_;
  double start_ = 0;  // the device time the phone started at
};

}  // namespace sim::testing
