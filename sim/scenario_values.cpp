#include "sim/scenario_values.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/foundation/clock.h"
#include "platform/foundation/device_locale.h"
#include "platform/foundation/format.h"

namespace sim {
namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Seconds since the reference date of "YYYY-MM-DDTHH:MM:SSZ" (UTC), or nothing.
std::optional<double> parseUtcDate(const std::string& text) {
  int y, mo, d, h, mi, s;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2dZ%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6)
    return std::nullopt;
  if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59) return std::nullopt;
  std::tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  std::time_t t = timegm(&tm);
  if (tm.tm_mday != d) return std::nullopt;  // e.g. February 30th rolled over
  return static_cast<double>(t) - static_cast<double>(platform::kSecondsFrom1970To2001);
}

}  // namespace

std::optional<std::vector<Word>> splitWords(const std::string& line, std::string* error) {
  std::vector<Word> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i >= line.size() || line[i] == '#') break;
    Word word;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) {
      if (line[i] != '"') {
        word.text.push_back(line[i++]);
        continue;
      }
      if (word.quoteAt == std::string::npos) word.quoteAt = word.text.size();
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c != '\\') {
          word.text.push_back(c);
          continue;
        }
        if (i >= line.size()) break;
        char e = line[i++];
        switch (e) {
          case 'n':
            word.text.push_back('\n');
            break;
          case 't':
            word.text.push_back('\t');
            break;
          case '"':
            word.text.push_back('"');
            break;
          case '\\':
            word.text.push_back('\\');
            break;
          case 'x': {
            int hi = i < line.size() ? hexDigit(line[i]) : -1;
            int lo = i + 1 < line.size() ? hexDigit(line[i + 1]) : -1;
            if (hi < 0 || lo < 0) {
              if (error) *error = "\\x needs two hex digits, e.g. \\x00";
              return std::nullopt;
            }
            word.text.push_back(static_cast<char>(hi * 16 + lo));
            i += 2;
            break;
          }
          default:
            if (error)
              *error = std::string("unknown escape \\") + e + " (use \\\" \\\\ \\n \\t or \\xNN)";
            return std::nullopt;
        }
      }
      if (!closed) {
        if (error) *error = "a quoted text is not closed (add the closing \")";
        return std::nullopt;
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

namespace {

// The longest duration accepted: ten years of 366 days.
constexpr double kLongestDuration = 366.0 * 24 * 3600 * 10;

// The seconds in a duration, or nothing with the reason in *why.
std::optional<double> readDuration(const std::string& text, std::string* why) {
  auto fail = [&](std::string reason) -> std::optional<double> {
    if (why) *why = std::move(reason);
    return std::nullopt;
  };
  std::size_t unitAt = 0;
  while (unitAt < text.size() &&
         (std::isdigit(static_cast<unsigned char>(text[unitAt])) || text[unitAt] == '.'))
    ++unitAt;
  std::string number = text.substr(0, unitAt);
  if (number.empty() || number.front() == '.' || number.back() == '.' ||
      number.find('.') != number.rfind('.'))
    return fail("bad duration \"" + text +
                "\": write a number followed by ns, us, ms, s, m or h, e.g. 250ms");
  std::string unit = text.substr(unitAt);
  double scale = 0;
  if (unit == "ns")
    scale = 1e-9;
  else if (unit == "us")
    scale = 1e-6;
  else if (unit == "ms")
    scale = 1e-3;
  else if (unit == "s")
    scale = 1;
  else if (unit == "m")
    scale = 60;
  else if (unit == "h")
    scale = 3600;
  else if (unit.empty())
    return fail("duration \"" + text + "\" has no unit: add ns, us, ms, s, m or h, e.g. " + text +
                "s");
  else
    return fail("duration \"" + text + "\" has an unknown unit \"" + unit +
                "\": use ns, us, ms, s, m or h");
  double seconds = std::strtod(number.c_str(), nullptr) * scale;
  if (!std::isfinite(seconds) || seconds > kLongestDuration)
    return fail("duration \"" + text + "\" is too long: the longest is 87840h (ten years)");
  return seconds;
}

}  // namespace

std::optional<double> parseDeviceTime(const std::string& text, bool withSeconds) {
  if (text.size() < 16 || text[10] != 'T' || (!withSeconds && text.size() != 16))
    return std::nullopt;
  std::string spaced = text;
  spaced[10] = ' ';
  return platform::parseDeviceDateTime(spaced);
}

std::optional<double> parseDuration(const std::string& text) {
  return readDuration(text, nullptr);
}

std::string durationProblem(const std::string& text) {
  std::string why;
  readDuration(text, &why);
  return why;
}

std::optional<platform::plist::Value> parseValue(const std::string& text, bool quoted,
                                                 std::string* error) {
  using platform::plist::Value;
  auto fail = [&](std::string why) -> std::optional<Value> {
    if (error) *error = std::move(why);
    return std::nullopt;
  };
  if (quoted) return Value(text);
  if (text == "true" || text == "YES" || text == "yes") return Value(true);
  if (text == "false" || text == "NO" || text == "no") return Value(false);
  if (text == "array") return Value(platform::plist::Array{});
  if (text == "dict") return Value(platform::plist::Dictionary{});
  if (text.rfind("string:", 0) == 0) return Value(text.substr(7));
  if (text.rfind("date:", 0) == 0) {
    auto seconds = parseUtcDate(text.substr(5));
    if (!seconds) return fail("date \"" + text.substr(5) + "\" is not YYYY-MM-DDTHH:MM:SSZ");
    return Value(platform::plist::Date{*seconds});
  }
  if (text.rfind("data:", 0) == 0) {
    std::string hex = text.substr(5);
    if (hex.size() % 2 != 0) return fail("data needs an even number of hex digits");
    platform::plist::Data bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
      int hi = hexDigit(hex[i]), lo = hexDigit(hex[i + 1]);
      if (hi < 0 || lo < 0)
        return fail("data \"" + hex + "\" has a character that is not a hex digit");
      bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return Value(std::move(bytes));
  }
  std::int64_t integer = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), integer);
  if (ec == std::errc() && end == text.data() + text.size() && !text.empty()) return Value(integer);
  if (ec == std::errc::result_out_of_range)
    return fail("integer " + text + " does not fit in 64 bits");
  char* realEnd = nullptr;
  double real = std::strtod(text.c_str(), &realEnd);
  if (!text.empty() && realEnd == text.c_str() + text.size() && std::isfinite(real) &&
      (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-' || text[0] == '.')) {
    return Value(real);
  }
  return fail(
      "\"" + text +
      "\" is not a value: write true/false, a number, \"quoted text\", date:YYYY-MM-DDTHH:MM:SSZ, "
      "data:HEX, array or dict");
}

std::string formatValue(const platform::plist::Value& value) {
  using namespace platform::plist;
  switch (value.kind()) {
    case Kind::Boolean:
      return value.as<bool>() ? "true" : "false";
    case Kind::Integer:
      return value.as<Integer>().toString();
    case Kind::Real:
      return platform::formatString("%g", value.as<double>());
    case Kind::String:
      return "\"" + value.as<std::string>() + "\"";
    case Kind::Date: {
      std::time_t t = static_cast<std::time_t>(std::floor(value.as<Date>().secondsSince2001)) +
                      platform::kSecondsFrom1970To2001;
      std::tm tm{};
      gmtime_r(&t, &tm);
      char buffer[32];
      std::strftime(buffer, sizeof buffer, "date:%Y-%m-%dT%H:%M:%SZ", &tm);
      return buffer;
    }
    case Kind::Data: {
      std::string out = "data:";
      for (std::uint8_t b : value.as<Data>()) out += platform::formatString("%02x", b);
      return out;
    }
    case Kind::Array: {
      const auto& a = value.as<Array>();
      if (a.empty()) return "array";
      std::string out = "(";
      for (std::size_t i = 0; i < a.size(); ++i) out += (i ? ", " : "") + formatValue(a[i]);
      return out + ")";
    }
    case Kind::Dictionary: {
      const auto& d = value.as<Dictionary>();
      if (d.empty()) return "dict";
      std::string out = "{";
      bool first = true;
      for (const auto& [k, v] : d) {
        out += (first ? "" : ", ") + k + "=" + formatValue(v);
        first = false;
      }
      return out + "}";
    }
    case Kind::Uid:
      return "uid:" + std::to_string(value.as<Uid>().value);
  }
  return "?";
}

}  // namespace sim
