// The extension's settings loader on a booted phone with a 1,000-key settings file, as XML and as
// binary: each iteration posts the settings notification, which makes the extension re-read
// and apply the whole file.

#include <benchmark/benchmark.h>

#include <string>

#include "platform/foundation/device_root.h"
#include "platform/foundation/plist_file.h"
#include "sim/phone.h"

namespace {

void loadSettings(benchmark::State& state, platform::plist::Format format) {
  sim::PhoneOptions options;
  options.extension = TARROW8_EXTENSION;
  sim::Phone phone(options);
  platform::plist::Dictionary entries{{"enabled", true}, {"enableAllApps", false}};
  for (int i = 0; entries.size() < 1000; ++i) {
    entries.emplace("Whitelist-com.example.app" + std::to_string(i), i % 2 == 0);
  }
  auto path = *platform::resolveDevicePath(sim::kSettingsFile);
  std::filesystem::create_directories(path.parent_path());
  platform::plist::writeFileAtomically(path, platform::plist::Value(entries), format);
  phone.boot();
  for (auto _ : state) phone.postDarwin(sim::kPreferencesNotification);
}

void BM_SettingsLoaderXml(benchmark::State& state) {
  loadSettings(state, platform::plist::Format::Xml);
}
void BM_SettingsLoaderBinary(benchmark::State& state) {
  loadSettings(state, platform::plist::Format::Binary);
}
BENCHMARK(BM_SettingsLoaderXml)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SettingsLoaderBinary)->Unit(benchmark::kMicrosecond);

}  // namespace
