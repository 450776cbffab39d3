#include "platform/preferences/specifier_list.h"

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/plist_file.h"
#include "platform/foundation/property_list_objects.h"
#include "platform/preferences/psspecifier.h"

namespace platform::preferences {
namespace {

using objc::Strong;

// The specifier for one item, or nil (and a problem) when the item is no dictionary.
Strong specifierFor(const plist::Value& item, const std::string& where,
                    std::vector<std::string>& problems) {
  const auto* entries = item.get<plist::Dictionary>();
  if (!entries) {
    problems.push_back(where + " is a " + std::string(item.kindName()) +
                       ", not a dictionary: left out");
    return nil;
  }
  long type = PSStaticTextCell;
  const plist::Value* cell = item.find("cell");
  const std::string* cellName = cell ? cell->get<std::string>() : nullptr;
  if (!cellName) {
    problems.push_back(where + " has no \"cell\" string: shown as static text");
  } else if (long known = cellTypeNamed(*cellName); known < 0) {
    problems.push_back(where + " has the cell type \"" + *cellName +
                       "\", which the framework does not know: shown as static text");
  } else {
    type = known;
  }
  const plist::Value* label = item.find("label");
  const std::string* labelText = label ? label->get<std::string>() : nullptr;
  Strong specifier = makeSpecifier(labelText ? nsstring(*labelText).get() : nil, type);
  for (const auto& [key, value] : *entries)
    sel::setProperty_forKey(specifier, objectFromValue(value), nsstring(key));
  return specifier;
}

}  // namespace

SpecifierList readSpecifierList(const std::filesystem::path& file) {
  SpecifierList list;
  Strong specifiers = mutableArray();
  list.specifiers = specifiers;
  plist::ReadResult read = plist::readFile(file);
  if (!read.value) {
    list.problems.push_back(read.error);
    return list;
  }
  std::string name = file.filename().string();
  if (!read.value->get<plist::Dictionary>()) {
    list.problems.push_back(name + ": its root is a " + std::string(read.value->kindName()) +
                            ", not a dictionary");
    return list;
  }
  if (const plist::Value* title = read.value->find("title"); title && title->get<std::string>())
    list.title = nsstring(*title->get<std::string>());
  const plist::Value* items = read.value->find("items");
  const auto* rows = items ? items->get<plist::Array>() : nullptr;
  if (!rows) {
    list.problems.push_back(name + ": it has no \"items\" array");
    return list;
  }
  for (std::size_t i = 0; i < rows->size(); ++i) {
    Strong specifier =
        specifierFor((*rows)[i], name + ": item " + std::to_string(i), list.problems);
    if (specifier) sel::addObject(specifiers, specifier);
  }
  return list;
}

}  // namespace platform::preferences
