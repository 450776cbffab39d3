// The layouts of the store records and the title a reminder shows.

#include "tweak/state/entries.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/foundation/foundation_classes.h"
#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdata.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace tarrow8 {
namespace {

TEST(ReminderTitle, FallsBackFromTitleToSubtitleToMessage) {
  std::u16string longMessage(70, u'm');
  struct Case {
    std::u16string title, subtitle, message, expected;
  } cases[] = {
      {u"Title", u"Sub", u"Msg", u"Title"},
      {u"", u"Sub", u"Msg", u"Sub"},
      {u"", u"", longMessage, std::u16string(59, u'm')},
      {u"", u"", u"short", u"short"},
      {u"", u"", u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(reminderTitle(c.title, c.subtitle, c.message), c.expected);
  }
}

TEST(ReminderTitle, NeverSplitsASurrogatePair) {
  std::u16string message(58, u'a');
  message += u"\U0001F600tail";  // the emoji's halves are units 59 and 60
  std::u16string title = reminderTitle(u"", u"", message);
  EXPECT_EQ(title, std::u16string(58, u'a'));
}

// Every key of an entry and the very object it holds.
std::map<std::string, id> contentsOf(id entry) {
  std::map<std::string, id> contents;
  for (const platform::objc::Strong& key : platform::arrayElements(sel::allKeys(entry)))
    contents[platform::utf8(key)] = sel::objectForKey(entry, key);
  return contents;
}

TEST(StoreEntries, HoldEachValueUnderItsKeyAndNothingElse) {
  platform::foundation::registerClasses();
  platform::objc::AutoreleasePool pool;
  platform::objc::Strong item = platform::nsstring("item");
  platform::objc::Strong kept = makeKeptItemEntry(item);
  EXPECT_EQ(contentsOf(kept), (std::map<std::string, id>{{"bulletin", item}}));

  const std::uint8_t archive[] = {'b', 'p', 'l', 'i', 's', 't'};
  platform::objc::Strong fireDate = platform::nsdate(60);
  platform::objc::Strong title = platform::nsstring("Title");
  platform::objc::Strong sectionID = platform::nsstring("com.app");
  platform::objc::Strong bulletin = platform::nsdata(archive);
  platform::objc::Strong reminder = makeReminderEntry(fireDate, title, sectionID, bulletin);
  EXPECT_EQ(contentsOf(reminder), (std::map<std::string, id>{{"fireDate", fireDate},
                                                             {"title", title},
                                                             {"sectionID", sectionID},
                                                             {"bulletin", bulletin}}));
  for (id entry : {kept.get(), reminder.get()}) {
    EXPECT_TRUE(platform::objc::isKindOf(entry, platform::NSMutableDictionaryClass()))
        << "entries are mutable dictionaries";
  }
}

}  // namespace
}  // namespace tarrow8
