#pragma once
// Static checks shared by the scenario command families: each returns "" or what is wrong with
// a word, in words a scenario's author can act on.

#include <initializer_list>
#include <string>
#include <vector>

#include "sim/scenario_values.h"

namespace sim {

bool isOneOf(const std::string& word, std::initializer_list<const char*> options);
// "a, b, c".
std::string joined(std::initializer_list<const char*> options);
std::string joined(const std::vector<std::string>& options);

std::string checkBool(const std::string& word);
std::string checkCount(const std::string& word);
std::string checkDevicePath(const std::string& word);
// KEY=VALUE words from `from` on; values are scenario literals unless `valuesAreStrings`.
std::string checkAssignments(const std::vector<Word>& words, std::size_t from,
                             bool valuesAreStrings);

}  // namespace sim
