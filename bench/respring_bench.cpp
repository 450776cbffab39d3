// Relaunching SpringBoard with the extension installed. The argument is how many launches the
// host process has already been through before the timed ones: on the phone each launch is a
// new process, so the time per launch and the heap left behind must not rise with it.

#include <benchmark/benchmark.h>

#include "sim/phone.h"
#include "sim/process_memory.h"

namespace {

void BM_Respring(benchmark::State& state) {
  sim::PhoneOptions options;
  options.extension = TARROW8_EXTENSION;
  sim::Phone phone(options);
  phone.boot();
  for (int64_t i = 0; i < state.range(0); ++i) phone.respring();
  const auto heapBefore = static_cast<double>(sim::heapBytesInUse());
  for (auto _ : state) phone.respring();
  state.counters["heap_per_launch"] =
      benchmark::Counter((static_cast<double>(sim::heapBytesInUse()) - heapBefore) /
                         static_cast<double>(state.iterations()));
}
BENCHMARK(BM_Respring)
    ->ArgName("before")
    ->Arg(0)
    ->Arg(1000)
    ->Arg(5000)
    ->Iterations(1000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
