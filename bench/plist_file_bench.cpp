// How long the device takes to read a typical preferences file: 1,000 string keys with boolean
// values, as XML and as binary, from memory and from disk.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/foundation/plist_file.h"

namespace {

using platform::plist::Dictionary;
using platform::plist::Format;
using platform::plist::Value;

Value settingsDictionary() {
  Dictionary entries;
  for (int i = 0; i < 1000; ++i) {
    entries.emplace("com.tarrow8.setting." + std::to_string(i) + ".enabled", i % 3 == 0);
  }
  return entries;
}

std::vector<std::uint8_t> encoded(Format format) {
  if (format == Format::Binary) return platform::plist::toBinary(settingsDictionary());
  const std::string xml = platform::plist::toXml(settingsDictionary());
  return std::vector<std::uint8_t>(xml.begin(), xml.end());
}

void parseSettings(benchmark::State& state, Format format) {
  const std::vector<std::uint8_t> bytes = encoded(format);
  for (auto _ : state) {
    platform::plist::ParseResult result = platform::plist::parse(bytes);
    if (!result.ok()) {
      state.SkipWithError(result.error.c_str());
      break;
    }
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void readSettingsFile(benchmark::State& state, Format format) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("plist_file_bench." + std::to_string(::getpid()) + ".plist");
  const platform::plist::WriteResult written =
      platform::plist::writeFileAtomically(path, settingsDictionary(), format);
  if (!written.ok) {
    state.SkipWithError(written.error.c_str());
    return;
  }
  for (auto _ : state) {
    platform::plist::ReadResult result = platform::plist::readFile(path);
    if (!result.ok()) {
      state.SkipWithError(result.error.c_str());
      break;
    }
    benchmark::DoNotOptimize(result);
  }
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

void BM_PlistParseSettingsXml(benchmark::State& state) {
  parseSettings(state, Format::Xml);
}
void BM_PlistParseSettingsBinary(benchmark::State& state) {
  parseSettings(state, Format::Binary);
}
void BM_PlistReadSettingsFileXml(benchmark::State& state) {
  readSettingsFile(state, Format::Xml);
}
void BM_PlistReadSettingsFileBinary(benchmark::State& state) {
  readSettingsFile(state, Format::Binary);
}

BENCHMARK(BM_PlistParseSettingsXml)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlistParseSettingsBinary)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlistReadSettingsFileXml)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlistReadSettingsFileBinary)->Unit(benchmark::kMicrosecond);

}  // namespace
