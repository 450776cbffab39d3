#include "platform/foundation/collection_description.h"

#include "platform/foundation/format.h"

namespace platform::detail {
namespace {

// Indents every line after the first, so nested collections read as a tree.
std::string indentNested(const std::string& text) {
  std::string out;
  for (char c : text) {
    out.push_back(c);
    if (c == '\n') out += "    ";
  }
  return out;
}

}  // namespace

std::string describeList(const std::vector<id>& elements, const char* open, const char* close) {
  if (elements.empty()) return std::string(open) + "\n" + close;
  std::string out = std::string(open) + "\n";
  for (std::size_t i = 0; i < elements.size(); ++i) {
    out += "    " + indentNested(describe(elements[i]));
    out += i + 1 < elements.size() ? ",\n" : "\n";
  }
  return out + close;
}

std::string describeEntries(const std::vector<std::pair<id, id>>& entries) {
  if (entries.empty()) return "{\n}";
  std::string out = "{\n";
  for (const auto& [key, value] : entries) {
    out += "    " + describe(key) + " = " + indentNested(describe(value)) + ";\n";
  }
  return out + "}";
}

}  // namespace platform::detail
