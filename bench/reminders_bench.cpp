// Reminders on a booted phone with many stored: the marker handler's work for one cell's layout
// pass, and reminder firing with none or many due. Run:
// build/bin/tarrow8-bench --benchmark_filter='BM_(MarkerPass|ReminderTimer)'

#include <benchmark/benchmark.h>

#include <string>

#include "bench/allocation_counter.h"
#include "bench/bench_phone.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nskeyedarchiver.h"
#include "platform/foundation/nsstring.h"
#include "platform/springboard/bulletin_server.h"
#include "platform/springboard/notification_center.h"
#include "platform/springboard/springboard_host.h"
#include "platform/springboard/springboard_ui.h"
#include "platform/uikit/uitableview.h"
#include "platform/uikit/uiview.h"
#include "sim/phone.h"

namespace {

namespace sb = platform::springboard;
using platform::objc::Strong;

const platform::objc::Selector<void(id)> reminderTimerFired{"reminderTimerFired:"};

// A booted, unlocked phone with Notification Center's list loaded and `count` reminders stored,
// each `dueIn` seconds from now (negative: already due).
class RemindersPhone : public bench::BenchPhone {
 public:
  RemindersPhone() {
    phone_.unlock();
    phone_.showNotificationCenter();
    sb::BulletinContents c;
    c.bulletinID = "b0";
    c.sectionID = "com.apple.MobileSMS";
    c.title = "Anna";
    c.date = phone_.now();
    phone_.publish(c);
    phone_.wait(1);
  }

  void fill(int count, double dueIn, int first = 0) {
    platform::ProcessScope scope(springBoard());
    platform::objc::AutoreleasePool pool;
    id bulletin = sb::publishedBulletin(ui().bulletinServer(), "b0");
    id archive = sel::archivedDataWithRootObject(
        reinterpret_cast<id>(platform::NSKeyedArchiverClass()), bulletin);
    // Entries keyed by the constant strings the extension's own entries use.
    for (int i = first; i < first + count; ++i) {
      Strong entry = platform::mutableDictionary();
      sel::setObject_forKey(entry, platform::nsdate(phone_.now() + dueIn + i), CFSTR("fireDate"));
      sel::setObject_forKey(entry, platform::nsstring("Anna"), CFSTR("title"));
      sel::setObject_forKey(entry, platform::nsstring("com.apple.MobileSMS"), CFSTR("sectionID"));
      sel::setObject_forKey(entry, archive, CFSTR("bulletin"));
      platform::setObjectForKey(reminders(), "r" + std::to_string(i), entry);
    }
  }

  id controller() { return sb::bulletinListController(ui().notificationCenter()); }
  Strong& reminders() { return extensionGlobal("_ZN7tarrow89remindersE"); }
};

void BM_MarkerPass(benchmark::State& state) {
  RemindersPhone phone;
  phone.fill(static_cast<int>(state.range(0)) - 1, 3600);
  phone.fill(1, 7200, -1);  // one more, so the key below exists
  {
    platform::ProcessScope scope(phone.springBoard());
    platform::objc::AutoreleasePool pool;
    Strong entry = Strong(platform::objectForKey(phone.reminders(), "r0"));
    platform::setObjectForKey(phone.reminders(), "b0", entry);  // the shown bulletin has one
  }
  id table = sel::view(phone.controller());
  sel::reloadData(table);
  auto rows = platform::uikit::shownRows(table);
  if (rows.empty()) {
    state.SkipWithError("Notification Center shows no row");
    return;
  }
  id cell = rows.front().cell;
  platform::ProcessScope scope(phone.springBoard());
  sel::layoutSubviews(cell);  // the first pass makes the marker
  std::int64_t allocations = 0;
  for (auto _ : state) {
    platform::objc::AutoreleasePool pool;
    bench::startCountingAllocations();
    sel::layoutSubviews(cell);
    allocations += bench::stopCountingAllocations();
  }
  state.counters["allocs"] =
      static_cast<double>(allocations) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MarkerPass)->Arg(10000)->Unit(benchmark::kNanosecond);

void BM_ReminderTimer(benchmark::State& state) {
  RemindersPhone phone;
  phone.fill(static_cast<int>(state.range(0)), 3600);
  id controller = phone.controller();
  platform::ProcessScope scope(phone.springBoard());
  for (auto _ : state) {
    platform::objc::AutoreleasePool pool;
    reminderTimerFired(controller, nil);
  }
}
// Two sizes, to show the walk growing linearly with the store.
BENCHMARK(BM_ReminderTimer)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_ReminderTimerDue(benchmark::State& state) {
  RemindersPhone phone;
  int due = static_cast<int>(state.range(0));
  id controller = phone.controller();
  for (auto _ : state) {
    state.PauseTiming();
    phone.fill(due, -60);
    state.ResumeTiming();
    {
      platform::ProcessScope scope(phone.springBoard());
      platform::objc::AutoreleasePool pool;
      reminderTimerFired(controller, nil);
    }
    state.PauseTiming();
    phone.phone().wait(0);  // the republished bulletins reach the lists
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ReminderTimerDue)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
