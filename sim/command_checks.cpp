#include "sim/command_checks.h"

namespace sim {

bool isOneOf(const std::string& word, std::initializer_list<const char*> options) {
  for (const char* o : options) {
    if (word == o) return true;
  }
  return false;
}

std::string joined(std::initializer_list<const char*> options) {
  std::string out;
  for (const char* o : options) out += (out.empty() ? "" : ", ") + std::string(o);
  return out;
}

std::string joined(const std::vector<std::string>& options) {
  std::string out;
  for (const std::string& o : options) out += (out.empty() ? "" : ", ") + o;
  return out;
}

std::string checkBool(const std::string& word) {
  return isOneOf(word, {"true", "false"}) ? "" : "\"" + word + "\" must be true or false";
}

std::string checkCount(const std::string& word) {
  if (word.empty() || word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos)
    return "\"" + word + "\" must be a whole number";
  return "";
}

std::string checkDevicePath(const std::string& word) {
  return !word.empty() && word[0] == '/'
             ? ""
             : "\"" + word + "\" must be an absolute device path such as /var/mobile/x.plist";
}

std::string checkAssignments(const std::vector<Word>& words, std::size_t from,
                             bool valuesAreStrings) {
  for (std::size_t i = from; i < words.size(); ++i) {
    const Word& w = words[i];
    std::size_t eq = w.text.find('=');
    if (eq == std::string::npos || eq == 0 || (w.quoteAt != std::string::npos && w.quoteAt < eq))
      return "\"" + w.text + "\" must be KEY=VALUE";
    if (valuesAreStrings) continue;
    std::string error;
    if (!parseValue(w.text.substr(eq + 1), w.quoteAt != std::string::npos, &error)) return error;
  }
  return "";
}

}  // namespace sim
