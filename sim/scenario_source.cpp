#include "sim/scenario_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace sim {
namespace {

bool isContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence that starts at `at` (storing its code point), or
// 0 when the bytes there are not one.
std::size_t utf8Sequence(std::string_view s, std::size_t at, char32_t& codePoint) {
  auto lead = static_cast<unsigned char>(s[at]);
  std::size_t length;
  char32_t min;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, min = 0x80, codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, min = 0x800, codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, min = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > s.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    auto c = static_cast<unsigned char>(s[at + i]);
    if (!isContinuation(c)) return 0;
    codePoint = (codePoint << 6) | (c & 0x3F);
  }
  bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < min || codePoint > 0x10FFFF || surrogate) return 0;
  return length;
}

// Code points a terminal acts on rather than shows: C1 controls (a lone 0x9B starts an escape
// sequence on some terminals) and the marks that reorder bidirectional text.
bool actsOnTerminal(char32_t c) {
  return (c >= 0x80 && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

void appendEscaped(std::string& out, std::string_view piece) {
  char buffer[12];
  for (std::size_t i = 0; i < piece.size();) {
    auto byte = static_cast<unsigned char>(piece[i]);
    char32_t codePoint = 0;
    std::size_t length = utf8Sequence(piece, i, codePoint);
    if (length == 0 || (length == 1 && (byte < 0x20 || byte == 0x7F))) {
      if (byte == '\t') {
        out += "\\t";
      } else if (byte == '\n') {
        out += "\\n";
      } else if (byte == '\r') {
        out += "\\r";
      } else {
        std::snprintf(buffer, sizeof buffer, "\\x%02x", byte);
        out += buffer;
      }
      ++i;
    } else if (actsOnTerminal(codePoint)) {
      std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(codePoint));
      out += buffer;
      i += length;
    } else {
      out.append(piece.substr(i, length));
      i += length;
    }
  }
}

}  // namespace

std::string displayText(std::string_view text, std::size_t limit) {
  std::string out;
  if (text.size() <= limit) {
    appendEscaped(out, text);
    return out;
  }
  // Keep the start (what is wrong) and the end (the hint), each cut at a character boundary.
  std::size_t headEnd = limit * 2 / 3;
  while (headEnd > 0 && isContinuation(static_cast<unsigned char>(text[headEnd]))) --headEnd;
  std::size_t tailStart = text.size() - (limit - limit * 2 / 3);
  while (tailStart < text.size() && isContinuation(static_cast<unsigned char>(text[tailStart])))
    ++tailStart;
  appendEscaped(out, text.substr(0, headEnd));
  out += "…[" + withThousands(tailStart - headEnd) + " bytes cut]…";
  appendEscaped(out, text.substr(tailStart));
  return out;
}

std::string withThousands(std::size_t n) {
  std::string digits = std::to_string(n);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string countOf(std::size_t n, std::string_view singular, std::string_view plural) {
  return withThousands(n) + " " + std::string(n == 1 ? singular : plural);
}

std::string moreErrorsLine(std::size_t notListed) {
  return "… and " + withThousands(notListed) + " more " + (notListed == 1 ? "error" : "errors");
}

bool looksBinary(std::string_view bytes) {
  std::string_view start = bytes.substr(0, 8192);
  std::size_t controls = 0;
  for (char ch : start) {
    auto c = static_cast<unsigned char>(ch);
    if (c == 0) return true;
    if ((c < 0x20 && !std::strchr("\t\n\r\f\v", ch)) || c == 0x7F) ++controls;
  }
  return controls * 10 > start.size();
}

std::string_view withoutByteOrderMark(std::string_view text) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  return text.substr(0, kMark.size()) == kMark ? text.substr(kMark.size()) : text;
}

ScenarioSource readScenarioFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {std::nullopt, std::strerror(errno)};
  ScenarioSource source;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    source.error = std::strerror(errno);
  } else if (S_ISDIR(info.st_mode)) {
    source.error = std::strerror(EISDIR);
  } else {
    std::string text;
    char buffer[65536];
    for (;;) {
      ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        source.error = std::strerror(errno);
        break;
      }
      if (got == 0) {
        source.text = std::move(text);
        break;
      }
      text.append(buffer, static_cast<std::size_t>(got));
    }
  }
  ::close(fd);
  return source;
}

}  // namespace sim
