#include "sim/html_markup.h"

#include <cstdint>
#include <cstdio>
#include <limits>

#include "platform/uikit/uicolor.h"
#include "sim/scenario_source.h"
#include "sim/text_screens.h"

namespace sim {
namespace {

void appendReferences(std::string_view text, std::string& out) {
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
}

// The first character of `name` (a whole UTF-8 sequence), upper-cased when it is ASCII.
std::string initialOf(const std::string& name) {
  if (name.empty()) return "?";
  auto lead = static_cast<unsigned char>(name[0]);
  std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  std::string initial = name.substr(0, length);
  if (length == 1 && initial[0] >= 'a' && initial[0] <= 'z') initial[0] -= 'a' - 'A';
  return initial;
}

}  // namespace

std::string htmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  // Line breaks stay line breaks; each line is escaped as the transcript escapes text.
  for (std::size_t start = 0;;) {
    std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    appendReferences(displayText(line, std::numeric_limits<std::size_t>::max()), out);
    if (end == std::string_view::npos) break;
    out += '\n';
    start = end + 1;
  }
  return out;
}

std::string px(double points) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4gpx", points);
  return buffer;
}

std::string cssColour(const platform::uikit::ColorComponents& c) {
  auto channel = [](double v) { return static_cast<int>(v * 255 + 0.5); };
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "rgba(%d,%d,%d,%.3g)", channel(c.red), channel(c.green),
                channel(c.blue), c.alpha);
  return buffer;
}

void drawApplicationIcon(const std::string& bundleIdentifier, double size, std::string& html) {
  // The same application always gets the same hue: FNV-1a of its identifier.
  std::uint32_t hash = 2166136261u;
  for (char c : bundleIdentifier) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  std::string name = applicationName(bundleIdentifier);
  html += "<span class=\"icon\" title=\"" + htmlText(name) + "\" style=\"width:" + px(size) +
          ";height:" + px(size) + ";font-size:" + px(size * 0.55) +
          ";border-radius:" + px(size * 0.225) + ";background:hsl(" + std::to_string(hash % 360) +
          ",55%,48%)\">" + htmlText(initialOf(name)) + "</span>";
}

}  // namespace sim
