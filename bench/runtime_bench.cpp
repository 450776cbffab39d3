// The cost of a message send on the device: GNU libobjc's raw dispatch (objc_msg_lookup, then
// the call), the typed send, a send through one hook that calls its saved implementation, and a
// send to nil, side by side.

#include <benchmark/benchmark.h>

#include "platform/objc/class_builder.h"
#include "platform/objc/object.h"
#include "platform/objc/substrate.h"

namespace {

using platform::objc::Selector;

const Selector<long(long)> plainAdd{"benchPlainAdd:"};
const Selector<long(long)> hookedAdd{"benchHookedAdd:"};

long add(id, SEL, long v) {
  return v + 1;
}

IMP gSavedAdd = nullptr;
long hookedAddImp(id self, SEL cmd, long v) {
  return reinterpret_cast<long (*)(id, SEL, long)>(gSavedAdd)(self, cmd, v);
}

Class benchClass() {
  static Class cls = [] {
    Class c = platform::objc::deviceClass(
        "BenchTarget", platform::objc::rootClass(),
        [](platform::objc::ClassBuilder& b) { b.method(plainAdd, add).method(hookedAdd, add); });
    MSHookMessageEx(c, hookedAdd.sel(), reinterpret_cast<IMP>(hookedAddImp), &gSavedAdd);
    return c;
  }();
  return cls;
}

void BM_RawDispatch(benchmark::State& state) {
  platform::objc::Strong target = platform::objc::make(benchClass());
  id receiver = target;
  SEL sel = plainAdd.sel();
  long v = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(receiver);
    IMP imp = objc_msg_lookup(receiver, sel);
    v = reinterpret_cast<long (*)(id, SEL, long)>(imp)(receiver, sel, v);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_RawDispatch);

// Sends `selector` in a loop to a live object (or to nil when `toNil`).
void sendLoop(benchmark::State& state, const Selector<long(long)>& selector, bool toNil) {
  platform::objc::Strong target = platform::objc::make(benchClass());
  id receiver = toNil ? nil : target.get();
  long v = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(receiver);
    v = selector(receiver, v);
    benchmark::DoNotOptimize(v);
  }
}

void BM_TypedSend(benchmark::State& state) {
  sendLoop(state, plainAdd, false);
}
void BM_HookedSend(benchmark::State& state) {
  sendLoop(state, hookedAdd, false);
}
void BM_NilSend(benchmark::State& state) {
  sendLoop(state, plainAdd, true);
}
BENCHMARK(BM_TypedSend);
BENCHMARK(BM_HookedSend);
BENCHMARK(BM_NilSend);

}  // namespace
