// The main run loop and libdispatch: ordering, the virtual clock, cancellation, processes
// that end or crash, and delayed blocks.

#include "platform/dispatch/dispatch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/dispatch/dispatch_test_support.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform::dispatch::test {
namespace {

constexpr DeviceTime kSecond = kNanosPerSecond;

// What ran, with the clock's reading and the process it ran as.
struct Ran {
  std::string label;
  DeviceTime at;
  ProcessId as;
  bool operator==(const Ran&) const = default;
};
void PrintTo(const Ran& r, std::ostream* os) {
  *os << r.label << "@" << r.at - kStart << " as " << r.as;
}

class RunLoopTest : public DeviceTest {
 protected:
  // Queues an event that records itself when it runs.
  EventId record(const std::string& label, DeviceTime due) {
    return loop().post(due, [this, label] { ran_.push_back({label, now(), currentProcess()}); });
  }
  std::vector<std::string> labels() const {
    std::vector<std::string> out;
    for (const Ran& r : ran_) out.push_back(r.label);
    return out;
  }
  std::vector<Ran> ran_;
};

TEST_F(RunLoopTest, RunsByDueTimeThenByQueueOrderIncludingEventsQueuedByEvents) {
  record("A", kStart + 2 * kSecond);
  loop().post(kStart + kSecond, [this] {
    ran_.push_back({"B", now(), currentProcess()});
    record("E", now());                     // due now: after D, already queued for this time
    record("F", kStart + kSecond * 3 / 2);  // between the two ticks
    record("G", kStart);                    // already past: ahead of everything still queued
  });
  record("C", kStart + 2 * kSecond);
  record("D", kStart + kSecond);

  loop().runUntil(kStart + 5 * kSecond);

  std::vector<Ran> expected = {
      {"B", kStart + kSecond, kDeviceProcess},         {"G", kStart + kSecond, kDeviceProcess},
      {"D", kStart + kSecond, kDeviceProcess},         {"E", kStart + kSecond, kDeviceProcess},
      {"F", kStart + kSecond * 3 / 2, kDeviceProcess}, {"A", kStart + 2 * kSecond, kDeviceProcess},
      {"C", kStart + 2 * kSecond, kDeviceProcess},
  };
  EXPECT_EQ(ran_, expected);
  EXPECT_EQ(now(), kStart + 5 * kSecond);
  EXPECT_EQ(loop().pendingCount(), 0u);
}

TEST_F(RunLoopTest, RunUntilStopsExactlyAtItsTime) {
  struct Case {
    DeviceTime due, until;
    bool runs;
  };
  const Case cases[] = {
      {kStart + 1, kStart + 1, true},
      {kStart + 2, kStart + 1, false},
      {kStart + kSecond, kStart + kSecond - 1, false},
      {kStart, kStart, true},
      {kStart - kSecond, kStart, true},  // overdue events run without moving the clock back
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "due " << c.due - kStart << " until " << c.until - kStart);
    DeviceClock::shared().setVirtual(kStart);
    ran_.clear();
    loop().reset();
    record("x", c.due);
    loop().runUntil(c.until);
    EXPECT_EQ(ran_.size(), c.runs ? 1u : 0u);
    if (c.runs) EXPECT_EQ(ran_[0].at, std::max(c.due, kStart));
    EXPECT_EQ(now(), c.until);
    EXPECT_EQ(loop().nextDue(), c.runs ? std::nullopt : std::optional<DeviceTime>(c.due));
  }
}

TEST_F(RunLoopTest, RunDueRunsOnlyWhatIsDueNowAndLeavesTheClock) {
  record("later", kStart + 1);
  loop().post(kStart, [this] {
    ran_.push_back({"now", now(), currentProcess()});
    record("queued-for-now", now());
  });
  EXPECT_TRUE(ran_.empty()) << "posting never runs synchronously";

  EXPECT_EQ(loop().runDue(), 2u);
  EXPECT_EQ(labels(), (std::vector<std::string>{"now", "queued-for-now"}));
  EXPECT_EQ(now(), kStart);
  EXPECT_EQ(loop().nextDue(), kStart + 1);

  loop().runFor(1e-9);
  EXPECT_EQ(labels().back(), "later");
}

TEST_F(RunLoopTest, CancelledEventsNeverRunAndReleaseWhatTheyHeld) {
  objc::Strong held = objc::make(objc::rootClass());
  EventId first = record("first", kStart + 1);
  EventId second = loop().post(kStart + 2, [held] { FAIL() << "cancelled event ran"; });
  EventId third = record("third", kStart + 3);
  loop().post(kStart + 1, [&] { EXPECT_TRUE(loop().cancel(third)); });
  EXPECT_EQ(objc::retainCount(held), 2u);

  EXPECT_TRUE(loop().cancel(second));
  EXPECT_FALSE(loop().cancel(second)) << "a second cancel finds nothing";
  EXPECT_EQ(objc::retainCount(held), 1u) << "the block's captures go with it";
  loop().runFor(1);

  EXPECT_EQ(labels(), (std::vector<std::string>{"first"}));
  EXPECT_FALSE(loop().cancel(first)) << "an event that ran is not queued";
  EXPECT_FALSE(loop().cancel(0));
}

TEST_F(RunLoopTest, EventsRunAsTheirProcessAndEndWithIt) {
  ProcessId board = launch("SpringBoard");
  ProcessId prefs = launch("Preferences");
  {
    ProcessScope as(prefs);
    record("prefs", kStart + 1);
    record("prefs-later", kStart + 5);
  }
  {
    ProcessScope as(board);
    record("board", kStart + 2);
  }
  loop().postFor(prefs, kStart + 3, [this] {
    ran_.push_back({"for-prefs", now(), currentProcess()});
  });
  ASSERT_EQ(loop().pendingCount(), 4u);

  loop().runUntil(kStart + 1);
  terminateProcess(prefs);
  EXPECT_EQ(loop().pendingCount(), 1u) << "the ended process's events are dropped at once";
  {
    ProcessScope as(prefs);
    EXPECT_EQ(record("posthumous", kStart + 2), 0u);
  }
  loop().runFor(10);

  EXPECT_EQ(ran_, (std::vector<Ran>{{"prefs", kStart + 1, prefs}, {"board", kStart + 2, board}}));
}

TEST_F(RunLoopTest, AnExceptionInAnEventCrashesOnlyItsOwner) {
  ProcessId crashing = launch("Preferences");
  ProcessId other = launch("SpringBoard");
  {
    ProcessScope as(crashing);
    loop().post(kStart + 1, [] { NSException::raise(NSRangeException, "index 3 beyond bounds"); });
    record("crashing-later", kStart + 2);
  }
  {
    ProcessScope as(other);
    record("other", kStart + 1);
    record("other-later", kStart + 2);
  }
  loop().post(kStart + 1, [] { NSException::raise(NSInvalidArgumentException, "device hiccup"); });
  record("device-later", kStart + 2);

  loop().runFor(3);

  ASSERT_EQ(crashes_.size(), 2u);
  EXPECT_EQ(crashes_[0].pid, crashing);
  EXPECT_EQ(crashes_[0].reason, "index 3 beyond bounds");
  EXPECT_EQ(crashes_[1].pid, kDeviceProcess);
  EXPECT_FALSE(isRunning(crashing));
  EXPECT_TRUE(isRunning(other));
  EXPECT_EQ(labels(), (std::vector<std::string>{"other", "other-later", "device-later"}));
}

struct Counted : objc::NativeBody {
  static inline int alive = 0;
  Counted() { ++alive; }
  ~Counted() override { --alive; }
};

Class countedClass() {
  return objc::deviceClass("DtCounted", objc::rootClass(),
                           [](objc::ClassBuilder& b) { b.body<Counted>(); });
}

TEST_F(RunLoopTest, EachEventDrainsItsOwnAutoreleasePool) {
  Class cls = countedClass();
  int aliveAfterFirst = -1;
  loop().post(kStart, [cls] { objc::autorelease(objc::make(cls).leak()); });
  loop().post(kStart, [&] { aliveAfterFirst = Counted::alive; });
  loop().runDue();
  EXPECT_EQ(aliveAfterFirst, 0);
}

TEST_F(RunLoopTest, DispatchAfterRunsAtItsDelayOnTheMainQueue) {
  ProcessId board = launch("SpringBoard");
  ProcessScope as(board);
  dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC / 4), dispatch_get_main_queue(),
                 [this] {
                   ran_.push_back({"after", now(), currentProcess()});
                 });
  dispatch_async(dispatch_get_main_queue(), [this] {
    ran_.push_back({"async", now(), currentProcess()});
  });
  dispatch_after(DISPATCH_TIME_FOREVER, dispatch_get_main_queue(),
                 [] { FAIL() << "forever came"; });
  EXPECT_TRUE(ran_.empty());
  EXPECT_EQ(loop().pendingCount(), 2u);

  loop().runUntil(kStart + NSEC_PER_SEC / 4 - 1);
  EXPECT_EQ(labels(), (std::vector<std::string>{"async"}));
  loop().runFor(1);
  EXPECT_EQ(ran_.back(), (Ran{"after", kStart + 250'000'000, board}));
}

TEST_F(RunLoopTest, DispatchTimesAreAbsolutePointsOnTheDeviceClock) {
  DeviceClock::shared().setVirtual(0);  // the reference date itself must not read as "now"
  dispatch_time_t atReference = dispatch_time(DISPATCH_TIME_NOW, 0);
  dispatch_time_t inThree =
      dispatch_time(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC), 2 * NSEC_PER_SEC);
  DeviceClock::shared().advanceTo(10 * kSecond);

  struct Case {
    const char* what;
    dispatch_time_t time;
    DeviceTime expected;
  };
  const Case cases[] = {
      {"taken at the reference date", atReference, 0},
      {"sums compose", inThree, 3 * kSecond},
      {"now is read when used", DISPATCH_TIME_NOW, 10 * kSecond},
      {"negative deltas",
       dispatch_time(DISPATCH_TIME_NOW, -4 * static_cast<std::int64_t>(NSEC_PER_SEC)), 6 * kSecond},
  };
  for (const Case& c : cases) EXPECT_EQ(deviceTimeOf(c.time), c.expected) << c.what;

  EXPECT_EQ(dispatch_time(DISPATCH_TIME_FOREVER, -1), DISPATCH_TIME_FOREVER);
  EXPECT_EQ(dispatch_time(DISPATCH_TIME_NOW, INT64_MAX), DISPATCH_TIME_FOREVER);
  EXPECT_NE(atReference, DISPATCH_TIME_NOW);
}

}  // namespace
}  // namespace platform::dispatch::test
