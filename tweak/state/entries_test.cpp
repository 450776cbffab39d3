// The layouts of the store records and the title a reminder shows.

#include "tweak/state/entries.h"

#include <gtest/gtest.h>

#include "platform/foundation/foundation_classes.h"
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

TEST(StoreEntries, HaveExactlyTheirKeys) {
  platform::foundation::registerClasses();
  platform::objc::AutoreleasePool pool;
  platform::objc::Strong item = platform::nsstring("item");
  platform::objc::Strong kept = makeKeptItemEntry(item);
  EXPECT_EQ(sel::count(kept), 1u);
  EXPECT_EQ(platform::objectForKey(kept, kEntryBulletin), item.get());

  platform::objc::Strong reminder =
      makeReminderEntry(platform::nsdate(60), platform::nsstring("t"),
                        platform::nsstring("com.app"), platform::nsstring("x"));
  EXPECT_EQ(sel::count(reminder), 4u);
  EXPECT_EQ(platform::utf8(platform::objectForKey(reminder, kEntrySectionID)), "com.app");
  EXPECT_DOUBLE_EQ(platform::dateSeconds(platform::objectForKey(reminder, kEntryFireDate)), 60);
  EXPECT_TRUE(sel::respondsToSelector(reminder, sel::setObject_forKey.sel()))
      << "entries are mutable";
}

}  // namespace
}  // namespace tarrow8
