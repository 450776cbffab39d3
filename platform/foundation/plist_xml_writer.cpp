#include "platform/foundation/plist_xml_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/foundation/plist_date.h"

namespace platform::plist::detail {
namespace {

// Base64 characters per line of a <data> element.
constexpr std::size_t kDataLine = 68;

class XmlWriter {
 public:
  std::string write(const Value& value) {
    out_ =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n";
    element(value, 0);
    out_ += "</plist>\n";
    return std::move(out_);
  }

 private:
  void indent(std::size_t depth) { out_.append(depth, '\t'); }

  // `s` with '&', '<' and '>' written as references.
  void escaped(std::string_view s) {
    for (const char c : s) {
      switch (c) {
        case '&':
          out_ += "&amp;";
          break;
        case '<':
          out_ += "&lt;";
          break;
        case '>':
          out_ += "&gt;";
          break;
        default:
          out_ += c;
      }
    }
  }

  // One line `<tag>text</tag>` at `depth`.
  void line(std::size_t depth, std::string_view tag, std::string_view text) {
    indent(depth);
    out_ += '<';
    out_ += tag;
    out_ += '>';
    escaped(text);
    out_ += "</";
    out_ += tag;
    out_ += ">\n";
  }

  static std::string realText(double d) {
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d > 0 ? "+infinity" : "-infinity";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, d);
    return std::string(buffer, result.ptr);
  }

  void data(const Data& bytes, std::size_t depth) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
      const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
      std::uint32_t group = std::uint32_t{bytes[i]} << 16;
      if (n > 1) group |= std::uint32_t{bytes[i + 1]} << 8;
      if (n > 2) group |= bytes[i + 2];
      text += kAlphabet[group >> 18];
      text += kAlphabet[(group >> 12) & 0x3F];
      text += n > 1 ? kAlphabet[(group >> 6) & 0x3F] : '=';
      text += n > 2 ? kAlphabet[group & 0x3F] : '=';
    }
    indent(depth);
    out_ += "<data>\n";
    for (std::size_t at = 0; at < text.size(); at += kDataLine) {
      indent(depth);
      out_.append(text, at, kDataLine);
      out_ += '\n';
    }
    indent(depth);
    out_ += "</data>\n";
  }

  void element(const Value& value, std::size_t depth) {
    switch (value.kind()) {
      case Kind::Boolean:
        indent(depth);
        out_ += value.as<bool>() ? "<true/>\n" : "<false/>\n";
        return;
      case Kind::Integer:
        line(depth, "integer", value.as<Integer>().toString());
        return;
      case Kind::Real:
        line(depth, "real", realText(value.as<double>()));
        return;
      case Kind::String:
        line(depth, "string", value.as<std::string>());
        return;
      case Kind::Date: {
        double seconds = value.as<Date>().secondsSince2001;
        if (std::isnan(seconds)) seconds = 0;
        line(depth, "date",
             formatXmlDate(std::clamp(seconds, static_cast<double>(kFirstXmlSecond),
                                      static_cast<double>(kLastXmlSecond))));
        return;
      }
      case Kind::Data:
        data(value.as<Data>(), depth);
        return;
      case Kind::Array: {
        const Array& elements = value.as<Array>();
        indent(depth);
        if (elements.empty()) {
          out_ += "<array/>\n";
          return;
        }
        out_ += "<array>\n";
        for (const Value& element : elements) this->element(element, depth + 1);
        indent(depth);
        out_ += "</array>\n";
        return;
      }
      case Kind::Dictionary: {
        const Dictionary& entries = value.as<Dictionary>();
        indent(depth);
        if (entries.empty()) {
          out_ += "<dict/>\n";
          return;
        }
        out_ += "<dict>\n";
        for (const auto& [key, element] : entries) {
          line(depth + 1, "key", key);
          this->element(element, depth + 1);
        }
        indent(depth);
        out_ += "</dict>\n";
        return;
      }
      case Kind::Uid:
        indent(depth);
        out_ += "<dict>\n";
        line(depth + 1, "key", "CF$UID");
        line(depth + 1, "integer", std::to_string(value.as<Uid>().value));
        indent(depth);
        out_ += "</dict>\n";
        return;
    }
  }

  std::string out_;
};

}  // namespace

std::string writeXml(const Value& value) {
  return XmlWriter().write(value);
}

}  // namespace platform::plist::detail
