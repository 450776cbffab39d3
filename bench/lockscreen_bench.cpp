// The lock-screen features on a booted phone with many kept bulletins: the capture handler per
// added item, one clearing with the re-presenting it schedules, and clearing one application's
// section. Run: build/bin/tarrow8-bench --benchmark_filter='BM_(Capture|Represent|ClearSection)'

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_phone.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/object.h"
#include "platform/springboard/bulletin.h"
#include "platform/springboard/list_item.h"
#include "platform/springboard/lock_screen_list.h"
#include "platform/springboard/springboard_host.h"
#include "platform/springboard/springboard_ui.h"
#include "sim/phone.h"

namespace {

namespace sb = platform::springboard;
using platform::objc::Strong;

// A booted phone, locked, with `kept` bulletins kept: `sectionSize` of them from
// "com.example.section", the rest spread over ten other applications.
class KeptPhone : public bench::BenchPhone {
 public:
  explicit KeptPhone(int kept, int sectionSize = 0) {
    for (int i = 0; i < kept; ++i) publish(i, i < sectionSize);
  }

  void publish(int i, bool inSection) {
    sb::BulletinContents c;
    c.bulletinID = "b" + std::to_string(i);
    c.sectionID = inSection ? "com.example.section" : "com.example.app" + std::to_string(i % 10);
    c.title = "Title " + std::to_string(i);
    c.message = "A message of a realistic length for a notification row.";
    c.date = phone_.now() - i;
    phone_.publish(c);
  }

  Strong& keptItems() { return extensionGlobal("_ZN7tarrow89keptItemsE"); }
};

void BM_Capture(benchmark::State& state) {
  KeptPhone phone(static_cast<int>(state.range(0)));
  constexpr int kBatch = 1000;
  std::vector<Strong> items;
  for (int i = 0; i < kBatch; ++i) {
    Strong bulletin = sb::makeBulletin({"new" + std::to_string(i), "com.example.new", "New", "", "",
                                        phone.phone().now() + i, false, ""});
    items.push_back(Strong::adopt(sb::sbsel::initWithBulletin_andObserver(
        sel::alloc(reinterpret_cast<id>(sb::SBAwayBulletinListItemClass())), bulletin, nil)));
  }
  id controller = phone.ui().listController();
  platform::ProcessScope scope(phone.springBoard());
  std::size_t next = 0;
  for (auto _ : state) {
    if (next == items.size()) {
      // Take the batch out again, so that every added item is new and the store stays at N.
      state.PauseTiming();
      for (const Strong& item : items) {
        sel::removeObjectForKey(phone.keptItems(),
                                sb::sbsel::bulletinID(sb::sbsel::activeBulletin(item)));
        sb::sbsel::updateModelAndViewForRemovalOfItem(controller, item);
      }
      next = 0;
      state.ResumeTiming();
    }
    sb::sbsel::updateModelAndViewForAdditionOfItem(controller, items[next++]);
  }
}
BENCHMARK(BM_Capture)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_Represent(benchmark::State& state) {
  KeptPhone phone(static_cast<int>(state.range(0)));
  id controller = phone.ui().listController();
  for (auto _ : state) {
    {
      platform::ProcessScope scope(phone.springBoard());
      sb::sbsel::clearItemsForNotificationCenter(controller);
    }
    phone.phone().wait(0.25);  // the re-presenting routine runs
  }
  state.counters["rows"] = static_cast<double>(sb::listItems(controller).size());
}
BENCHMARK(BM_Represent)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ClearSection(benchmark::State& state) {
  constexpr int kSection = 100;
  KeptPhone phone(static_cast<int>(state.range(0)), kSection);
  static const platform::objc::Selector<void(id)> clear{"clearTarrowItemsInSection:"};
  Strong section = platform::nsstring("com.example.section");
  for (auto _ : state) {
    {
      platform::ProcessScope scope(phone.springBoard());
      clear(phone.ui().listController(), section);
    }
    state.PauseTiming();
    for (int i = 0; i < kSection; ++i) phone.publish(i, true);  // kept again for the next round
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ClearSection)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
