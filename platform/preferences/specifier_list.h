#pragma once
// Specifier lists: the property lists a preference bundle ships ("Tarrow8.plist") whose "items"
// array gives a pane's rows in order, one dictionary each, and whose "title" names the pane.
// Each item becomes a PSSpecifier: its "cell" gives the cell type (PSGroupCell starts a section
// and is no row), its "label" the name, and every entry of the item (those included) is kept as
// a property.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/objc/strong.h"

namespace platform::preferences {

struct SpecifierList {
  objc::Strong specifiers;  // an NSArray of PSSpecifier, empty when nothing could be read
  objc::Strong title;       // the list's "title" (an NSString), nil when none
  // What was wrong, each message naming the file (and the item by its index): the file, its
  // "items", an item that is no dictionary (left out), a cell type the framework does not know
  // (the row is kept as static text).
  std::vector<std::string> problems;
};

// Reads the specifier list in the property-list file `file` (a host path).
SpecifierList readSpecifierList(const std::filesystem::path& file);

}  // namespace platform::preferences
