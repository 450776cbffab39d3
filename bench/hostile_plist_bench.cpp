// How long the guarded property-list reader takes to refuse (or read) hostile input: deep nesting,
// shared references that would expand exponentially, and files at and over the size cap.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/foundation/plist_file.h"

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) {
  return {text.begin(), text.end()};
}

// 100,000 nested arrays in XML.
std::vector<std::uint8_t> deepXml() {
  std::string text = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
  for (int i = 0; i < 100000; ++i) text += "<array>";
  for (int i = 0; i < 100000; ++i) text += "</array>";
  return bytesOf(text + "</plist>");
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A binary list of `levels` arrays, each holding the next one twice: 2^levels nodes expanded.
std::vector<std::uint8_t> exponentialBinary(int levels) {
  std::vector<std::uint8_t> out = bytesOf("bplist00");
  std::vector<std::uint64_t> offsets;
  for (int i = 0; i < levels; ++i) {
    offsets.push_back(out.size());
    out.push_back(0xA2);
    out.push_back(static_cast<std::uint8_t>(i + 1));
    out.push_back(static_cast<std::uint8_t>(i + 1));
  }
  offsets.push_back(out.size());
  out.push_back(0xA0);  // the innermost, empty array
  std::uint64_t tableAt = out.size();
  for (std::uint64_t o : offsets) putBigEndian(out, o, 2);
  out.insert(out.end(), 6, 0);
  out.push_back(2);  // offset size
  out.push_back(1);  // reference size
  putBigEndian(out, offsets.size(), 8);
  putBigEndian(out, 0, 8);
  putBigEndian(out, tableAt, 8);
  return out;
}

// An XML string of about `bytes` bytes.
std::vector<std::uint8_t> bigXml(std::size_t bytes) {
  std::string head = "<?xml version=\"1.0\"?><plist version=\"1.0\"><string>";
  std::string tail = "</string></plist>";
  return bytesOf(head + std::string(bytes - head.size() - tail.size(), 'x') + tail);
}

void run(benchmark::State& state, const std::vector<std::uint8_t>& input, bool expectValue) {
  for (auto _ : state) {
    auto result = platform::plist::parse(input);
    if (result.ok() != expectValue)
      state.SkipWithError(("unexpected outcome: " + result.error).c_str());
    benchmark::DoNotOptimize(result);
  }
}

void BM_HostileDeepXml(benchmark::State& state) {
  run(state, deepXml(), false);
}
void BM_HostileExponentialBinary(benchmark::State& state) {
  run(state, exponentialBinary(60), false);
}
void BM_HostileOverSizeCap(benchmark::State& state) {
  run(state, bigXml((std::size_t{4} << 20) + 1), false);
}
void BM_LargestAcceptedXml(benchmark::State& state) {
  run(state, bigXml(std::size_t{4} << 20), true);
}

BENCHMARK(BM_HostileDeepXml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileExponentialBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileOverSizeCap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargestAcceptedXml)->Unit(benchmark::kMillisecond);

}  // namespace
