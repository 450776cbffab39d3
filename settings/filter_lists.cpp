#include "settings/filter_lists.h"

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/object.h"
#include "settings/pane_settings.h"
#include "settings/preferences_headers.h"

namespace pane {
namespace {

using platform::objc::Strong;

constexpr unsigned long kPrefixLength = 10;

// Whether the identifier can stand inside single quotes in a predicate.
bool quotable(id identifier) {
  for (unsigned long i = 0, n = sel::length(identifier); i < n; ++i) {
    unsigned short c = sel::characterAtIndex(identifier, i);
    if (c == '\'' || c == '\\') return false;
  }
  return true;
}

// `text` without the commas at either end.
Strong trimCommas(id text) {
  unsigned long begin = 0, end = sel::length(text);
  while (begin < end && sel::characterAtIndex(text, begin) == ',') ++begin;
  while (end > begin && sel::characterAtIndex(text, end - 1) == ',') --end;
  return Strong(sel::substringToIndex(sel::substringFromIndex(text, begin), end - begin));
}

Strong descriptor(const char* title, id predicate) {
  Strong entry = Strong::adopt(sel::new_(paneClass("NSMutableDictionary")));
  sel::setObject_forKey(entry, CFSTR(title), CFSTR("title"));
  sel::setObject_forKey(entry, predicate, CFSTR("predicate"));
  sel::setObject_forKey(entry, CFSTR("ALCheckCell"), CFSTR("cell-class-name"));
  sel::setObject_forKey(entry, CFSTR("29"), CFSTR("icon-size"));
  sel::setObject_forKey(entry, sel::numberWithBool(paneClass("NSNumber"), YES),
                        CFSTR("suppress-hidden-apps"));
  return entry;
}

void describeRow(id controller, const char* rowID, const char* prefix, const char* markedTitle,
                 const char* unmarkedTitle) {
  id row = ps::specifierForID(controller, CFSTR(rowID));
  if (!row) return;
  ps::setProperty_forKey(row, sectionDescriptors(prefix, markedTitle, unmarkedTitle),
                         CFSTR("ALSectionDescriptors"));
}

}  // namespace

Strong markedIdentifierSet(const char* prefix) {
  Strong set = platform::nsstring("");
  id keys = sel::allKeys(paneSettings);
  for (unsigned long i = 0, n = sel::count(keys); i < n; ++i) {
    id key = sel::objectAtIndex(keys, i);
    if (!platform::isString(key) || !sel::hasPrefix(key, CFSTR(prefix))) continue;
    if (!booleanValue(sel::objectForKey(paneSettings, key), false)) continue;
    id identifier = sel::substringFromIndex(key, kPrefixLength);
    if (!quotable(identifier)) continue;
    set = Strong(
        sel::stringByAppendingString(set, platform::stringWithFormat("'%@',", identifier).get()));
  }
  return trimCommas(set);
}

Strong sectionDescriptors(const char* prefix, const char* markedTitle, const char* unmarkedTitle) {
  Strong set = markedIdentifierSet(prefix);
  Strong marked = platform::stringWithFormat("bundleIdentifier in {%@}", set.get());
  Strong unmarked = platform::stringWithFormat("not bundleIdentifier in {%@}", set.get());
  Strong sections = Strong::adopt(sel::new_(paneClass("NSMutableArray")));
  sel::addObject(sections, descriptor(markedTitle, marked));
  sel::addObject(sections, descriptor(unmarkedTitle, unmarked));
  return sections;
}

void describeApplicationLists(id controller) {
  describeRow(controller, kWhiteListRowID, kWhiteListPrefix, "Enabled WhiteList Applications",
              "Disabled WhiteList Applications");
  describeRow(controller, kBlackListRowID, kBlackListPrefix, "Enabled BlackList Applications",
              "Disabled BlackList Applications");
}

}  // namespace pane
