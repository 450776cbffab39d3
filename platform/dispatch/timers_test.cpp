// PCSimpleTimer on the main run loop, and NSRunLoop.

#include "platform/dispatch/timers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dispatch/dispatch_test_support.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform::dispatch::test {
namespace {

// One firing as the target saw it.
struct Firing {
  id timer;
  DeviceTime at;
  ProcessId as;
  bool valid;
  std::string userInfo;
};
std::vector<Firing> gFirings;

const objc::Selector<void(id)> timerFired{"dtTimerFired:"};
void timerFiredImp(id, SEL, id timer) {
  gFirings.push_back({timer, DeviceClock::shared().now(), currentProcess(),
                      sel::isValid(timer) == YES, utf8(sel::userInfo(timer))});
}
Class targetClass() {
  return objc::deviceClass("DtTimerTarget", objc::rootClass(),
                           [](objc::ClassBuilder& b) { b.method(timerFired, timerFiredImp); });
}

class TimerTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    gFirings.clear();
  }
  // A timer for `seconds` after the test's start, aimed at `target`, not yet scheduled.
  objc::Strong timer(double seconds, id target, id userInfo = nil) {
    id made = sel::alloc(reinterpret_cast<id>(PCSimpleTimerClass()));
    return objc::Strong::adopt(sel::initWithFireDate_serviceIdentifier_target_selector_userInfo(
        made, nsdate(static_cast<double>(kStart) / kNanosPerSecond + seconds),
        nsstring("com.t8.reminders"), target, timerFired.sel(), userInfo));
  }
  void schedule(id t, ProcessId as) {
    ProcessScope scope(as);
    sel::scheduleInRunLoop(t, sel::mainRunLoop(reinterpret_cast<id>(NSRunLoopClass())));
  }

  objc::Strong target_ = objc::make(targetClass());
  ProcessId board_ = launch("SpringBoard");
};

TEST_F(TimerTest, FiresOnceAtItsDateWithItselfAsTheArgument) {
  objc::Strong t = timer(10.5, target_, nsstring("bulletin-7"));
  schedule(t, board_);
  DeviceTime due = kStart + 10'500'000'000;

  loop().runUntil(due - 1);
  EXPECT_TRUE(gFirings.empty());
  loop().runUntil(due);
  ASSERT_EQ(gFirings.size(), 1u);
  EXPECT_EQ(gFirings[0].timer, t.get());
  EXPECT_EQ(gFirings[0].at, due);
  EXPECT_EQ(gFirings[0].as, board_);
  EXPECT_TRUE(gFirings[0].valid) << "a timer is valid inside its own firing";
  EXPECT_EQ(gFirings[0].userInfo, "bulletin-7");

  schedule(t, board_);  // a fired timer cannot be scheduled again
  loop().runFor(3600);
  EXPECT_EQ(gFirings.size(), 1u);
  EXPECT_FALSE(sel::isValid(t));
  EXPECT_EQ(sel::userInfo(t), nil) << "a fired timer lets go of its user info";
  EXPECT_EQ(objc::retainCount(target_), 1u) << "and of its target";
}

TEST_F(TimerTest, InvalidatedTimersNeverFireAndLetGoOfTheirTarget) {
  objc::Strong scheduled = timer(1, target_);
  objc::Strong unscheduled = timer(1, target_);
  schedule(scheduled, board_);
  EXPECT_EQ(objc::retainCount(target_), 3u);

  sel::invalidate(scheduled);
  sel::invalidate(unscheduled);
  schedule(unscheduled, board_);
  loop().runFor(5);

  EXPECT_TRUE(gFirings.empty());
  EXPECT_FALSE(sel::isValid(scheduled));
  EXPECT_EQ(objc::retainCount(target_), 1u);
  EXPECT_EQ(loop().pendingCount(), 0u);
}

TEST_F(TimerTest, TheRunLoopKeepsAScheduledTimerAliveUntilItFires) {
  objc::Strong info = nsstring("only the timer holds this");
  {
    objc::Strong t = timer(2, target_, info);
    schedule(t, board_);
  }
  EXPECT_EQ(objc::retainCount(info), 2u);
  loop().runFor(2);
  ASSERT_EQ(gFirings.size(), 1u);
  EXPECT_EQ(gFirings[0].userInfo, "only the timer holds this");
  EXPECT_EQ(objc::retainCount(info), 1u) << "the fired timer is gone with what it held";
}

TEST_F(TimerTest, APastFireDateFiresAtTheNextRun) {
  objc::Strong t = timer(-30, target_);
  schedule(t, board_);
  EXPECT_TRUE(gFirings.empty());
  loop().runDue();
  ASSERT_EQ(gFirings.size(), 1u);
  EXPECT_EQ(gFirings[0].at, kStart);
}

TEST_F(TimerTest, ATargetWithoutTheSelectorCrashesOnlyItsProcess) {
  ProcessId prefs = launch("Preferences");
  objc::Strong plain = objc::make(objc::rootClass());
  objc::Strong broken = timer(1, plain);
  objc::Strong working = timer(1, target_);
  schedule(broken, prefs);
  schedule(working, board_);

  loop().runFor(1);

  ASSERT_EQ(crashes_.size(), 1u);
  EXPECT_EQ(crashes_[0].pid, prefs);
  EXPECT_NE(crashes_[0].reason.find("dtTimerFired:]: unrecognized selector"), std::string::npos)
      << crashes_[0].reason;
  EXPECT_FALSE(isRunning(prefs));
  ASSERT_EQ(gFirings.size(), 1u);
  EXPECT_EQ(gFirings[0].as, board_);
  EXPECT_FALSE(sel::isValid(broken)) << "the crashed firing still ends the timer";
}

TEST_F(TimerTest, AnEndedProcesssTimersAreInvalidatedEvenWhenStillReferenced) {
  ProcessId prefs = launch("Preferences");
  objc::Strong t = timer(1, target_);
  schedule(t, prefs);
  terminateProcess(prefs);
  loop().runFor(5);
  EXPECT_TRUE(gFirings.empty());
  EXPECT_FALSE(sel::isValid(t));
  EXPECT_EQ(objc::retainCount(target_), 1u);
}

TEST_F(TimerTest, TheMainAndCurrentRunLoopAreOneObject) {
  id cls = reinterpret_cast<id>(NSRunLoopClass());
  EXPECT_NE(sel::mainRunLoop(cls), nil);
  EXPECT_EQ(sel::mainRunLoop(cls), sel::currentRunLoop(cls));
  EXPECT_EQ(objc_getClass("PCSimpleTimer"), PCSimpleTimerClass());
}

}  // namespace
}  // namespace platform::dispatch::test
