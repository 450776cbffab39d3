#include "tweak/state/entries.h"

#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "tweak/state/globals.h"

namespace tarrow8 {

using platform::objc::Strong;

Strong makeKeptItemEntry(id listItem) {
  Strong entry = newInstance("NSMutableDictionary");
  sel::setObject_forKey(entry, listItem, CFSTR(kEntryBulletin));
  return entry;
}

Strong makeReminderEntry(id fireDate, id title, id sectionID, id archivedBulletin) {
  Strong entry = newInstance("NSMutableDictionary");
  sel::setObject_forKey(entry, fireDate, CFSTR(kEntryFireDate));
  sel::setObject_forKey(entry, title, CFSTR(kEntryTitle));
  sel::setObject_forKey(entry, sectionID, CFSTR(kEntrySectionID));
  sel::setObject_forKey(entry, archivedBulletin, CFSTR(kEntryBulletin));
  return entry;
}

std::u16string reminderTitle(std::u16string_view title, std::u16string_view subtitle,
                             std::u16string_view message) {
  if (!title.empty()) return std::u16string(title);
  if (!subtitle.empty()) return std::u16string(subtitle);
  constexpr std::size_t kMaxUnits = 59;
  std::size_t cut = std::min(message.size(), kMaxUnits);
  // Cutting between the halves of a surrogate pair would leave an invalid string.
  if (cut < message.size() && cut > 0 && message[cut - 1] >= 0xD800 && message[cut - 1] <= 0xDBFF)
    --cut;
  return std::u16string(message.substr(0, cut));
}

}  // namespace tarrow8
