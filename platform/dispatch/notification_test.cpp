// The device-wide notification services: the Darwin notify centre, libnotify under it, and the
// distributed notification centre.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/dispatch/darwin_notify_center.h"
#include "platform/dispatch/dispatch_test_support.h"
#include "platform/dispatch/distributed_notification_center.h"
#include "platform/dispatch/libnotify.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform::dispatch::test {
namespace {

// One call of a Darwin observer's callback.
struct DarwinCall {
  const void* observer;
  std::string name;
  bool carriedObjectOrUserInfo;
  ProcessId as;
  bool operator==(const DarwinCall&) const = default;
};
void PrintTo(const DarwinCall& c, std::ostream* os) {
  *os << c.observer << " " << c.name << (c.carriedObjectOrUserInfo ? " +extras" : "") << " as "
      << c.as;
}

std::vector<DarwinCall> gDarwinCalls;

void recordDarwin(CFNotificationCenterRef center, void* observer, CFStringRef name,
                  const void* object, CFDictionaryRef userInfo) {
  EXPECT_EQ(center, CFNotificationCenterGetDarwinNotifyCenter());
  gDarwinCalls.push_back(
      {observer, utf8(name), object != nullptr || userInfo != nil, currentProcess()});
}

class DarwinCenterTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    gDarwinCalls.clear();
  }
  void observe(ProcessId as, const void* observer, const char* name) {
    ProcessScope scope(as);
    CFNotificationCenterAddObserver(center_, observer, recordDarwin, nsstring(name), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
  }
  void post(const char* name) {
    CFNotificationCenterPostNotification(center_, nsstring(name), &board_, nsstring("info"), true);
  }

  CFNotificationCenterRef center_ = CFNotificationCenterGetDarwinNotifyCenter();
  ProcessId board_ = launch("SpringBoard");
  ProcessId prefs_ = launch("Preferences");
  int a_ = 0, b_ = 0;  // their addresses are the observers
};

TEST_F(DarwinCenterTest, DeliversLaterOnTheRunLoopOncePerObserverHoweverOftenPosted) {
  observe(board_, &a_, "com.t8.changed");
  observe(board_, &a_, "com.t8.changed");  // the same registration again
  observe(board_, &a_, "com.t8.other");
  observe(prefs_, &b_, "com.t8.changed");
  for (int i = 0; i < 3; ++i) post("com.t8.changed");
  EXPECT_TRUE(gDarwinCalls.empty()) << "a post never calls back synchronously";

  loop().runDue();
  std::vector<DarwinCall> once = {{&a_, "com.t8.changed", false, board_},
                                  {&b_, "com.t8.changed", false, prefs_}};
  EXPECT_EQ(gDarwinCalls, once);

  gDarwinCalls.clear();
  post("com.t8.changed");
  loop().runDue();
  EXPECT_EQ(gDarwinCalls, once) << "a later post is delivered again";
}

TEST_F(DarwinCenterTest, AnEndedProcessIsNoLongerCalled) {
  observe(board_, &a_, "com.t8.changed");
  observe(prefs_, &b_, "com.t8.changed");
  post("com.t8.changed");
  terminateProcess(prefs_);
  loop().runDue();
  post("com.t8.changed");
  loop().runDue();
  EXPECT_EQ(gDarwinCalls, (std::vector<DarwinCall>{{&a_, "com.t8.changed", false, board_},
                                                   {&a_, "com.t8.changed", false, board_}}));
}

TEST_F(DarwinCenterTest, RemovalStopsEvenDeliveriesAlreadyOnTheirWay) {
  struct Case {
    const char* what;
    void (*remove)(CFNotificationCenterRef, const void* observer);
    bool removerIsOwner;
    std::vector<std::string> delivered;
  };
  const Case cases[] = {
      {"one name",
       [](CFNotificationCenterRef c, const void* o) {
         CFNotificationCenterRemoveObserver(c, o, CFSTR("com.t8.x"), nullptr);
       },
       true,
       {"com.t8.y"}},
      {"every name",
       [](CFNotificationCenterRef c, const void* o) {
         CFNotificationCenterRemoveObserver(c, o, nil, nullptr);
       },
       true,
       {}},
      {"every observer",
       [](CFNotificationCenterRef c, const void* o) {
         CFNotificationCenterRemoveEveryObserver(c, o);
       },
       true,
       {}},
      {"another process's call",
       [](CFNotificationCenterRef c, const void* o) {
         CFNotificationCenterRemoveEveryObserver(c, o);
       },
       false,
       {"com.t8.x", "com.t8.y"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gDarwinCalls.clear();
    resetForNewDevice();
    observe(board_, &a_, "com.t8.x");
    observe(board_, &a_, "com.t8.y");
    post("com.t8.x");
    post("com.t8.y");
    {
      ProcessScope as(c.removerIsOwner ? board_ : prefs_);
      c.remove(center_, &a_);
    }
    loop().runDue();
    std::vector<std::string> names;
    for (const DarwinCall& call : gDarwinCalls) names.push_back(call.name);
    EXPECT_EQ(names, c.delivered);
  }
}

TEST_F(DarwinCenterTest, IsOneServiceWithLibnotify) {
  observe(board_, &a_, "com.t8.fromNotify");
  std::vector<int> handled;
  int token = 0;
  {
    ProcessScope as(prefs_);
    ASSERT_EQ(notify_register_dispatch("com.t8.fromCF", &token, dispatch_get_main_queue(),
                                       [&](int t) { handled.push_back(t); }),
              NOTIFY_STATUS_OK);
  }
  notify_post("com.t8.fromNotify");
  post("com.t8.fromCF");
  loop().runDue();
  EXPECT_EQ(gDarwinCalls, (std::vector<DarwinCall>{{&a_, "com.t8.fromNotify", false, board_}}));
  EXPECT_EQ(handled, std::vector<int>{token});
}

TEST_F(DarwinCenterTest, ASuspendedProcessGetsEachNameOnceWhenItResumes) {
  observe(prefs_, &b_, "com.t8.changed");
  setProcessSuspended(prefs_, true);
  post("com.t8.changed");
  loop().runDue();
  post("com.t8.changed");
  loop().runDue();
  EXPECT_TRUE(gDarwinCalls.empty());

  setProcessSuspended(prefs_, false);
  loop().runDue();
  EXPECT_EQ(gDarwinCalls, (std::vector<DarwinCall>{{&b_, "com.t8.changed", false, prefs_}}));
}

class LibnotifyTest : public DeviceTest {
 protected:
  int registerCheck(ProcessId as, const char* name) {
    ProcessScope scope(as);
    int token = -1;
    EXPECT_EQ(notify_register_check(name, &token), NOTIFY_STATUS_OK);
    return token;
  }
  std::uint64_t state(ProcessId as, int token) {
    ProcessScope scope(as);
    std::uint64_t value = 99;
    EXPECT_EQ(notify_get_state(token, &value), NOTIFY_STATUS_OK);
    return value;
  }

  ProcessId board_ = launch("SpringBoard");
  ProcessId prefs_ = launch("Preferences");
};

TEST_F(LibnotifyTest, StateIsSharedByEveryTokenOfANameWhileTheNameIsRegistered) {
  int boardToken = registerCheck(board_, "com.t8.state");
  int prefsToken = registerCheck(prefs_, "com.t8.state");
  int otherName = registerCheck(prefs_, "com.t8.elsewhere");
  EXPECT_NE(boardToken, prefsToken);
  EXPECT_EQ(state(prefs_, prefsToken), 0u);
  {
    ProcessScope as(board_);
    ASSERT_EQ(notify_set_state(boardToken, 42), NOTIFY_STATUS_OK);
  }
  EXPECT_EQ(state(prefs_, prefsToken), 42u);
  EXPECT_EQ(state(prefs_, otherName), 0u);

  {
    ProcessScope as(board_);
    notify_cancel(boardToken);
  }
  EXPECT_EQ(state(prefs_, prefsToken), 42u) << "another token still holds the name";
  terminateProcess(prefs_);
  EXPECT_EQ(state(board_, registerCheck(board_, "com.t8.state")), 0u)
      << "the state went with the last registration";
}

TEST_F(LibnotifyTest, TokensThatTheCallerDoesNotHoldAreRejected) {
  int cancelled = registerCheck(board_, "com.t8.x");
  {
    ProcessScope as(board_);
    ASSERT_EQ(notify_cancel(cancelled), NOTIFY_STATUS_OK);
  }
  int othersToken = registerCheck(prefs_, "com.t8.x");
  const int tokens[] = {12345, cancelled, othersToken};

  ProcessScope as(board_);
  for (int token : tokens) {
    SCOPED_TRACE(token);
    std::uint64_t value = 7;
    int check = 7;
    EXPECT_EQ(notify_get_state(token, &value), NOTIFY_STATUS_INVALID_TOKEN);
    EXPECT_EQ(notify_set_state(token, 1), NOTIFY_STATUS_INVALID_TOKEN);
    EXPECT_EQ(notify_check(token, &check), NOTIFY_STATUS_INVALID_TOKEN);
    EXPECT_EQ(notify_cancel(token), NOTIFY_STATUS_INVALID_TOKEN);
    EXPECT_FALSE(notify_is_valid_token(token));
    EXPECT_EQ(value, 7u);
  }
  int token = 0;
  EXPECT_EQ(notify_post(nullptr), NOTIFY_STATUS_INVALID_NAME);
  EXPECT_EQ(notify_register_check(nullptr, &token), NOTIFY_STATUS_INVALID_NAME);
  EXPECT_EQ(notify_register_dispatch("com.t8.x", &token, nullptr, [](int) {}),
            NOTIFY_STATUS_INVALID_REQUEST);
  EXPECT_EQ(state(prefs_, othersToken), 0u) << "the rejected set changed nothing";
}

TEST_F(LibnotifyTest, FailingStateReadsLeaveTheValueAndOtherNamesAlone) {
  int failing = registerCheck(board_, "com.t8.failing");
  int other = registerCheck(board_, "com.t8.other");
  {
    ProcessScope as(board_);
    ASSERT_EQ(notify_set_state(failing, 5), NOTIFY_STATUS_OK);
    ASSERT_EQ(notify_set_state(other, 6), NOTIFY_STATUS_OK);
  }
  platform::dispatch::setStateReadsFail("com.t8.failing", true);
  {
    ProcessScope as(board_);
    std::uint64_t value = 7;
    EXPECT_EQ(notify_get_state(failing, &value), NOTIFY_STATUS_FAILED);
    EXPECT_EQ(value, 7u);
  }
  EXPECT_EQ(state(board_, other), 6u);
  platform::dispatch::setStateReadsFail("com.t8.failing", false);
  EXPECT_EQ(state(board_, failing), 5u) << "the state itself was kept";
  platform::dispatch::setStateReadsFail("com.t8.failing", true);
  platform::dispatch::resetNotifyCenter();
  EXPECT_EQ(state(board_, registerCheck(board_, "com.t8.failing")), 0u) << "a reset heals reads";
}

TEST_F(LibnotifyTest, HandlersRunLaterOncePerBatchWithTheirToken) {
  std::vector<std::pair<int, ProcessId>> calls;
  auto handler = [&](int token) { calls.push_back({token, currentProcess()}); };
  int kept = 0, dropped = 0;
  {
    ProcessScope as(board_);
    ASSERT_EQ(notify_register_dispatch("com.t8.go", &kept, dispatch_get_main_queue(), handler),
              NOTIFY_STATUS_OK);
    ASSERT_EQ(notify_register_dispatch("com.t8.go", &dropped, dispatch_get_main_queue(), handler),
              NOTIFY_STATUS_OK);
  }
  notify_post("com.t8.go");
  notify_post("com.t8.go");
  EXPECT_TRUE(calls.empty());
  {
    ProcessScope as(board_);
    notify_cancel(dropped);
  }
  loop().runDue();
  EXPECT_EQ(calls, (std::vector<std::pair<int, ProcessId>>{{kept, board_}}));

  notify_post("com.t8.go");
  loop().runDue();
  EXPECT_EQ(calls.size(), 2u);
}

TEST_F(LibnotifyTest, CheckReportsWhetherTheNameWasPostedSinceTheLastCheck) {
  int token = registerCheck(prefs_, "com.t8.poll");
  ProcessScope as(prefs_);
  auto check = [&] {
    int posted = -1;
    EXPECT_EQ(notify_check(token, &posted), NOTIFY_STATUS_OK);
    return posted;
  };
  EXPECT_EQ(check(), 1) << "the first check always reports";
  EXPECT_EQ(check(), 0);
  notify_post("com.t8.poll");
  notify_post("com.t8.poll");
  EXPECT_EQ(check(), 1);
  EXPECT_EQ(check(), 0);
}

// One delivery to a block observer: which observer, and what it saw.
struct Seen {
  int observer;
  std::string name;
  ProcessId as;
};

class DistributedCenterTest : public DeviceTest {
 protected:
  // Registers a block observer that records deliveries under `index`.
  objc::Strong observe(int index, const char* name, const char* object, ProcessId as) {
    ProcessScope scope(as);
    objc::Strong nameObject = name ? nsstring(name) : objc::Strong();
    objc::Strong objectObject = object ? nsstring(object) : objc::Strong();
    return sel::addObserverForName_object_queue_usingBlock(
        center_, nameObject, objectObject, mainOperationQueue(), [this, index](id note) {
          seen_.push_back({index, utf8(sel::name(note)), currentProcess()});
          notes_.push_back(note);
        });
  }
  void post(const char* name, const char* object, id userInfo = nil) {
    sel::postNotificationName_object_userInfo(center_, nsstring(name),
                                              object ? nsstring(object) : objc::Strong(), userInfo);
  }

  id center_ = sel::defaultCenter(reinterpret_cast<id>(NSDistributedNotificationCenterClass()));
  ProcessId board_ = launch("SpringBoard");
  ProcessId prefs_ = launch("Preferences");
  std::vector<Seen> seen_;
  std::vector<objc::Strong> notes_;
};

TEST_F(DistributedCenterTest, ObserversMatchByNameAndSenderNilMatchingAll) {
  observe(0, nullptr, nullptr, board_);
  observe(1, "A", nullptr, board_);
  observe(2, "A", "sender1", prefs_);
  observe(3, "B", nullptr, prefs_);
  observe(4, nullptr, "sender1", board_);
  struct Case {
    const char* name;
    const char* object;
    std::set<int> reached;
  };
  const Case cases[] = {
      {"A", nullptr, {0, 1}},
      {"A", "sender1", {0, 1, 2, 4}},
      {"B", "sender2", {0, 3}},
      {"C", "sender1", {0, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.name << "/" << (c.object ? c.object : "nil"));
    seen_.clear();
    post(c.name, c.object);
    EXPECT_TRUE(seen_.empty()) << "delivery waits for the run loop";
    loop().runDue();
    std::set<int> reached;
    for (const Seen& s : seen_) {
      reached.insert(s.observer);
      EXPECT_EQ(s.name, c.name);
      EXPECT_EQ(s.as, s.observer == 2 || s.observer == 3 ? prefs_ : board_);
    }
    EXPECT_EQ(reached, c.reached);
    EXPECT_EQ(seen_.size(), c.reached.size());
  }
}

TEST_F(DistributedCenterTest, ObserversGetACopyOfTheUserInfoAsPosted) {
  observe(0, "com.t8.settings", nullptr, board_);
  objc::Strong info = mutableDictionary();
  setObjectForKey(info, "enabled", nsstring("YES"));
  {
    ProcessScope as(prefs_);
    sel::postNotificationName_object_userInfo_deliverImmediately(
        center_, nsstring("com.t8.settings"), nsstring("prefs"), info, YES);
  }
  setObjectForKey(info, "enabled", nsstring("NO"));
  loop().runDue();

  ASSERT_EQ(notes_.size(), 1u);
  id delivered = sel::userInfo(notes_[0]);
  EXPECT_NE(delivered, info.get());
  EXPECT_EQ(utf8(objectForKey(delivered, "enabled")), "YES");
  EXPECT_EQ(utf8(sel::object(notes_[0])), "prefs");
  EXPECT_EQ(seen_[0].as, board_);
}

const objc::Selector<void(id)> noticed{"dtNoticed:"};
std::vector<std::string> gNoticed;
void noticedImp(id, SEL, id note) {
  gNoticed.push_back(utf8(sel::name(note)));
}
Class noticingClass() {
  return objc::deviceClass("DtNoticing", objc::rootClass(),
                           [](objc::ClassBuilder& b) { b.method(noticed, noticedImp); });
}

TEST_F(DistributedCenterTest, RemovedObserversAreNotCalledEvenForPostsOnTheirWay) {
  gNoticed.clear();
  objc::Strong target = objc::make(noticingClass());
  {
    ProcessScope as(board_);
    sel::addObserver_selector_name_object(center_, target, noticed.sel(), nsstring("com.t8.x"),
                                          nil);
  }
  objc::Strong removed = observe(0, "com.t8.x", nullptr, board_);
  observe(1, "com.t8.x", nullptr, prefs_);
  objc::AutoreleasePool::drainInnermost();  // the centre alone keeps the tokens now

  post("com.t8.x", nullptr);
  loop().runDue();
  EXPECT_EQ(gNoticed, std::vector<std::string>{"com.t8.x"});
  ASSERT_EQ(seen_.size(), 2u);

  post("com.t8.x", nullptr);
  sel::removeObserver(center_, removed);
  sel::removeObserver(center_, target);
  seen_.clear();
  loop().runDue();
  EXPECT_EQ(gNoticed.size(), 1u);
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].observer, 1);
}

TEST_F(DistributedCenterTest, AnEndedProcessIsNoLongerCalled) {
  observe(0, "com.t8.x", nullptr, board_);
  observe(1, "com.t8.x", nullptr, prefs_);
  post("com.t8.x", nullptr);
  terminateProcess(prefs_);
  loop().runDue();
  post("com.t8.x", nullptr);
  loop().runDue();
  ASSERT_EQ(seen_.size(), 2u);
  EXPECT_EQ(seen_[0].observer, 0);
  EXPECT_EQ(seen_[1].observer, 0);
}

TEST_F(DistributedCenterTest, TheMainQueueRunsOperationsOnTheRunLoop) {
  id queueClass = reinterpret_cast<id>(NSOperationQueueClass());
  EXPECT_EQ(sel::mainQueue(queueClass), sel::currentQueue(queueClass));
  std::vector<ProcessId> ran;
  {
    ProcessScope as(prefs_);
    sel::addOperationWithBlock(sel::mainQueue(queueClass),
                               [&] { ran.push_back(currentProcess()); });
  }
  EXPECT_TRUE(ran.empty());
  loop().runDue();
  EXPECT_EQ(ran, std::vector<ProcessId>{prefs_});
}

}  // namespace
}  // namespace platform::dispatch::test
