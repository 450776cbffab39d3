// Foundation's device classes: strings, numbers, dates, collections, property-list files, the
// device root, the log and the locale.

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>
#include <vector>

#include "platform/foundation/device_locale.h"
#include "platform/foundation/device_root.h"
#include "platform/foundation/format.h"
#include "platform/foundation/keyed_archiver_uid.h"
#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdata.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nslog.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsset.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/plist_file.h"
#include "platform/foundation/process.h"
#include "platform/foundation/property_list_objects.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform {
namespace {

using objc::Strong;

class FoundationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("tarrow8-foundation-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    setDeviceRoot(root_);
  }
  void TearDown() override {
    std::filesystem::remove_all(root_);
    objc::restoreDeviceClasses();
  }
  void writeFile(const std::string& devicePath, const std::string& contents) {
    auto path = *resolveDevicePath(devicePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
  }
  objc::AutoreleasePool pool_;
  std::filesystem::path root_;
};

TEST_F(FoundationTest, StringsCountUtf16UnitsAndCompareByContent) {
  Strong s = nsstring("h\xC3\xA9llo \xF0\x9F\x98\x80");  // é is one unit, the emoji two
  EXPECT_EQ(sel::length(s), 8u);
  EXPECT_EQ(utf8(sel::substringToIndex(s, 2)), "h\xC3\xA9");
  EXPECT_TRUE(sel::isEqual(s, nsstring("h\xC3\xA9llo \xF0\x9F\x98\x80")));
  EXPECT_EQ(sel::hash(s), sel::hash(nsstring("h\xC3\xA9llo \xF0\x9F\x98\x80")));
  EXPECT_FALSE(sel::isEqual(s, nsnumber(1LL)));
  EXPECT_THROW(sel::substringToIndex(s, 10), NSException);
  EXPECT_EQ(utf8(nsstring("bad \xFF byte")), "bad \xEF\xBF\xBD byte");
  EXPECT_EQ(sel::stringWithUTF8String(reinterpret_cast<id>(NSStringClass()), nullptr), nil);
  EXPECT_TRUE(sel::hasPrefix(nsstring("Whitelist-com.app"), nsstring("Whitelist-")));
}

TEST_F(FoundationTest, FormatPrintsObjectsAndCConversions) {
  Strong s = stringWithFormat("%li:%li", 3L, 0L);
  EXPECT_EQ(utf8(s), "3:0");
  EXPECT_EQ(
      formatString("[Line %d]: %@ / %@ / %5.2f%% %s", 7, nsstring("why").get(), nil, 12.345, "x"),
      "[Line 7]: why / (null) / 12.35% x");
  EXPECT_EQ(formatString("%@", nsnumber(true).get()), "1");
  EXPECT_EQ(formatString("%@", nsarray({nsstring("a"), nsnumber(2LL)}).get()),
            "(\n    a,\n    2\n)");
  EXPECT_EQ(formatString("%llu %zu %x %c", 5ULL, static_cast<std::size_t>(6), 255u, 'z'),
            "5 6 ff z");
  EXPECT_EQ(formatString("trailing %"), "trailing %");
}

TEST_F(FoundationTest, NumbersConvertAsThePlatformDoes) {
  EXPECT_EQ(sel::boolValue(nsnumber(0.25)), YES);
  EXPECT_EQ(sel::boolValue(nsnumber(0LL)), NO);
  EXPECT_EQ(sel::boolValue(nsnumber(-3LL)), YES);
  EXPECT_EQ(sel::intValue(nsnumber(3.99)), 3);
  EXPECT_EQ(sel::intValue(nsnumber(1e300)), INT_MAX);
  EXPECT_EQ(sel::intValue(nsnumber(std::nan(""))), 0);
  EXPECT_TRUE(sel::isEqual(nsnumber(2LL), nsnumber(2.0)));
  EXPECT_EQ(sel::hash(nsnumber(2LL)), sel::hash(nsnumber(2.0)));
  EXPECT_STREQ(sel::objCType(nsnumber(true)), "c");
}

TEST_F(FoundationTest, UnsignedNumbersAboveLongLongMaxConvertAsThePlatformDoes) {
  struct Case {
    unsigned long long value;
    int intValue;  // the low 32 bits, as a C cast truncates
    long long longLongValue;
    const char* description;
  };
  const Case cases[] = {
      {1ULL << 63, 0, LLONG_MIN, "9223372036854775808"},
      {(1ULL << 63) + 0x80000001ULL, INT_MIN + 1, LLONG_MIN + 0x80000001LL, "9223372039002259457"},
      {ULLONG_MAX, -1, -1, "18446744073709551615"},
  };
  Class numberClass = NSNumberClass();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    Strong n = nsnumber(c.value);
    EXPECT_EQ(sel::boolValue(n), YES);
    EXPECT_EQ(sel::intValue(n), c.intValue);
    EXPECT_EQ(sel::longLongValue(n), c.longLongValue);
    EXPECT_EQ(sel::unsignedLongLongValue(n), c.value);
    EXPECT_EQ(sel::doubleValue(n), static_cast<double>(c.value));
    EXPECT_EQ(utf8(sel::description(n)), c.description);
    EXPECT_STREQ(sel::objCType(n), "Q");
    EXPECT_TRUE(isUnsignedAboveLongLongMax(n));
    Strong same(sel::numberWithUnsignedLongLong(reinterpret_cast<id>(numberClass), c.value));
    EXPECT_TRUE(sel::isEqual(n, same));
    EXPECT_EQ(sel::hash(n), sel::hash(same));
    EXPECT_FALSE(sel::isEqual(n, nsnumber(c.longLongValue))) << "same bits, other number";
    EXPECT_EQ(sel::compare(n, nsnumber(LLONG_MAX)), 1);
    EXPECT_EQ(sel::compare(nsnumber(-1LL), n), -1);
  }
  Strong small = nsnumber(5ULL);
  EXPECT_STREQ(sel::objCType(small), "q");
  EXPECT_TRUE(sel::isEqual(small, nsnumber(5LL)));
  EXPECT_FALSE(isUnsignedAboveLongLongMax(small));
}

TEST_F(FoundationTest, DatesCountFromTheReferenceDate) {
  Strong d = nsdate(0);
  EXPECT_EQ(utf8(sel::description(d)), "2001-01-01 00:00:00 +0000");
  EXPECT_DOUBLE_EQ(sel::timeIntervalSince1970(d), 978307200.0);
  Strong later = Strong(sel::dateByAddingTimeInterval(d, 90.5));
  EXPECT_DOUBLE_EQ(sel::timeIntervalSinceDate(later, d), 90.5);
  EXPECT_EQ(sel::compare(d, later), -1);
  EXPECT_EQ(sel::earlierDate(later, d), d.get());
  id dateClass = reinterpret_cast<id>(NSDateClass());
  EXPECT_DOUBLE_EQ(dateSeconds(sel::dateWithTimeInterval_sinceDate(dateClass, -30.5, later)), 60.0);
}

TEST_F(FoundationTest, MutableCollectionsRetainCopyKeysAndRaiseOnBadInput) {
  Strong dict = mutableDictionary();
  Strong key = nsstring("k");
  Strong value = nsnumber(1LL);
  sel::setObject_forKey(dict, value, key);
  sel::setObject_forKey(dict, nsnumber(2LL), nsstring("k"));  // equal key: replaced
  EXPECT_EQ(sel::count(dict), 1u);
  EXPECT_EQ(sel::integerValue(objectForKey(dict, "k")), 2);
  EXPECT_THROW(sel::setObject_forKey(dict, nil, key), NSException);
  EXPECT_THROW(sel::setObject_forKey(dict, value, nil), NSException);
  sel::removeObjectForKey(dict, nsstring("absent"));
  sel::removeObjectForKey(dict, key);
  EXPECT_EQ(sel::count(dict), 0u);

  Strong immutable = Strong::adopt(sel::copy(dict));
  EXPECT_FALSE(sel::respondsToSelector(immutable, sel::setObject_forKey.sel()));

  Strong array = mutableArray();
  sel::addObject(array, nsstring("a"));
  sel::insertObject_atIndex(array, nsstring("b"), 0);
  EXPECT_EQ(utf8(sel::objectAtIndex(array, 0)), "b");
  try {
    sel::objectAtIndex(array, 5);
    FAIL();
  } catch (const NSException& e) {
    EXPECT_EQ(e.name(), "NSRangeException");
    EXPECT_EQ(e.reason(), "-[NSMutableArray objectAtIndex:]: index 5 beyond bounds [0 .. 1]");
  }
  EXPECT_THROW(sel::addObject(array, nil), NSException);

  Strong set = mutableSet();
  sel::addObject(set, nsstring("id-1"));
  sel::addObject(set, nsstring("id-1"));
  EXPECT_EQ(sel::count(set), 1u);
  EXPECT_TRUE(sel::containsObject(set, nsstring("id-1")));
  sel::removeAllObjects(set);
  EXPECT_EQ(sel::count(set), 0u);
}

TEST_F(FoundationTest, DictionariesEnumerateInTheirOrderAndRaiseWhenChangedMeanwhile) {
  Strong dict = mutableDictionary();
  for (const char* key : {"c", "a", "b"}) setObjectForKey(dict, key, nsstring(key));
  sel::removeObjectForKey(dict, nsstring("a"));
  setObjectForKey(dict, "a", nsstring("again"));
  std::vector<std::string> seen;
  sel::enumerateKeysAndObjectsUsingBlock(
      dict, [&](id key, id object, BOOL*) { seen.push_back(utf8(key) + "=" + utf8(object)); });
  EXPECT_EQ(seen, (std::vector<std::string>{"c=c", "b=b", "a=again"}));

  seen.clear();
  sel::enumerateKeysAndObjectsUsingBlock(dict, [&](id key, id, BOOL* stop) {
    seen.push_back(utf8(key));
    *stop = YES;
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"c"})) << "the block stops the walk";

  for (bool replace : {true, false}) {
    try {
      sel::enumerateKeysAndObjectsUsingBlock(dict, [&](id key, id, BOOL*) {
        if (replace) {
          setObjectForKey(dict, "c", nsstring("changed"));
        } else {
          sel::removeObjectForKey(dict, key);
        }
      });
      ADD_FAILURE() << "no exception";
    } catch (const NSException& e) {
      EXPECT_EQ(e.name(), "NSGenericException");
      EXPECT_NE(e.reason().find("was mutated while being enumerated"), std::string::npos);
    }
  }
  EXPECT_EQ(utf8(objectForKey(dict, "b")), "b");
  EXPECT_EQ(sel::count(dict), 2u) << "each change took effect before the walk stopped";
}

TEST_F(FoundationTest, RemovingTheLastReferenceInsideACollectionIsSafe) {
  Strong dict = mutableDictionary();
  {
    Strong inner = mutableDictionary();
    setObjectForKey(inner, "x", nsstring("y"));
    setObjectForKey(dict, "inner", inner);
  }
  Strong keep = objectForKey(dict, "inner");
  sel::removeAllObjects(dict);
  EXPECT_EQ(utf8(objectForKey(keep, "x")), "y");
}

TEST_F(FoundationTest, IndexPathsCompareByRowAndSection) {
  EXPECT_TRUE(sel::isEqual(indexPath(2, 1), indexPath(2, 1)));
  EXPECT_FALSE(sel::isEqual(indexPath(1, 2), indexPath(2, 1)));
  EXPECT_EQ(sel::row(indexPath(4, 7)), 4);
  EXPECT_EQ(sel::section(indexPath(4, 7)), 7);
}

TEST_F(FoundationTest, DictionaryFilesRoundTripEveryPropertyListType) {
  Strong dict = mutableDictionary();
  setObjectForKey(dict, "bool", nsnumber(true));
  setObjectForKey(dict, "int", nsnumber(-5LL));
  setObjectForKey(dict, "real", nsnumber(2.5));
  setObjectForKey(dict, "string", nsstring("caf\xC3\xA9"));
  setObjectForKey(dict, "date", nsdate(1000));  // XML keeps whole seconds
  const std::uint8_t bytes[] = {0, 1, 255};
  setObjectForKey(dict, "data", nsdata(bytes));
  setObjectForKey(dict, "array", nsarray({nsstring("a"), nsnumber(false)}));
  Strong path = nsstring("/private/var/mobile/Library/Preferences/test.plist");
  ASSERT_EQ(sel::writeToFile_atomically(dict, path, YES), YES);
  EXPECT_TRUE(std::filesystem::exists(root_ / "var/mobile/Library/Preferences/test.plist"));

  Strong cls = reinterpret_cast<id>(NSMutableDictionaryClass());
  Strong back = Strong::adopt(sel::initWithContentsOfFile(
      sel::alloc(cls), nsstring("/var/mobile/Library/Preferences/test.plist")));
  ASSERT_TRUE(back);
  EXPECT_TRUE(sel::isEqual(back, dict));
  EXPECT_EQ(numberKind(objectForKey(back, "bool")), NumberKind::Boolean);
  EXPECT_TRUE(sel::respondsToSelector(back, sel::setObject_forKey.sel())) << "mutable root";
}

TEST_F(FoundationTest, SettingsFilesHoldingFoundationsWiderValuesLoadAsDictionaries) {
  const plist::Value settings = plist::Dictionary{
      {"enabled", true},
      {"counter", plist::Integer::fromUnsigned(ULLONG_MAX)},
      {"archived", plist::Uid{3}},
      {"installed", plist::Date{-3187296000.0}},  // 1900-01-01
      {"expires", plist::Date{252423993599.0}},   // 9999-12-31T23:59:59Z
  };
  const std::string devicePath = "/var/mobile/Library/Preferences/wide.plist";
  for (plist::Format format : {plist::Format::Xml, plist::Format::Binary}) {
    SCOPED_TRACE(format == plist::Format::Xml ? "XML" : "binary");
    std::filesystem::create_directories(resolveDevicePath(devicePath)->parent_path());
    const plist::WriteResult written =
        plist::writeFileAtomically(*resolveDevicePath(devicePath), settings, format);
    ASSERT_TRUE(written.ok) << written.error;

    Strong cls = reinterpret_cast<id>(NSMutableDictionaryClass());
    Strong loaded =
        Strong::adopt(sel::initWithContentsOfFile(sel::alloc(cls), nsstring(devicePath)));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(sel::boolValue(objectForKey(loaded, "enabled")), YES);
    id counter = objectForKey(loaded, "counter");
    ASSERT_TRUE(isNumber(counter));
    EXPECT_EQ(sel::boolValue(counter), YES);
    EXPECT_EQ(utf8(sel::description(counter)), "18446744073709551615");
    id archived = objectForKey(loaded, "archived");
    EXPECT_EQ(keyedArchiverUidValue(archived), 3u);
    EXPECT_FALSE(sel::respondsToSelector(archived, sel::boolValue.sel()))
        << "a UID has no boolean reading";
    EXPECT_NE(utf8(sel::description(archived)).find("{value = 3}"), std::string::npos);
    EXPECT_EQ(dateSeconds(objectForKey(loaded, "installed")), -3187296000.0);
    EXPECT_EQ(dateSeconds(objectForKey(loaded, "expires")), 252423993599.0);

    // Written back through the device objects, nothing is narrowed.
    EXPECT_EQ(valueFromObject(loaded), settings);
    ASSERT_EQ(sel::writeToFile_atomically(loaded, nsstring(devicePath), YES), YES);
    const plist::ReadResult again = plist::readFile(*resolveDevicePath(devicePath));
    ASSERT_TRUE(again.ok()) << again.error;
    EXPECT_EQ(*again.value, settings);
  }
}

TEST_F(FoundationTest, UnreadableDictionaryFilesGiveNil) {
  writeFile("/var/mobile/a.plist", "");
  writeFile("/var/mobile/b.plist", "garbage that is no property list");
  writeFile("/var/mobile/c.plist",
            "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><true/></array></plist>");
  writeFile("/var/mobile/d.plist",
            "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>a</key>");
  for (const char* path : {"/var/mobile/a.plist", "/var/mobile/b.plist", "/var/mobile/c.plist",
                           "/var/mobile/d.plist", "/var/mobile/missing.plist", "relative.plist"}) {
    EXPECT_EQ(sel::dictionaryWithContentsOfFile(reinterpret_cast<id>(NSDictionaryClass()),
                                                nsstring(path)),
              nil)
        << path;
  }
}

TEST_F(FoundationTest, WritingANonPropertyListFailsAndKeepsTheOldFile) {
  Strong good = mutableDictionary();
  setObjectForKey(good, "enabled", nsnumber(true));
  Strong path = nsstring("/var/mobile/x.plist");
  ASSERT_EQ(sel::writeToFile_atomically(good, path, YES), YES);
  Strong bad = mutableDictionary();
  setObjectForKey(bad, "index", indexPath(1, 1));
  EXPECT_EQ(sel::writeToFile_atomically(bad, path, YES), NO);
  Strong back =
      Strong(sel::dictionaryWithContentsOfFile(reinterpret_cast<id>(NSDictionaryClass()), path));
  EXPECT_TRUE(sel::isEqual(back, good));
}

TEST_F(FoundationTest, DevicePathsStayUnderTheRoot) {
  EXPECT_EQ(*resolveDevicePath("/var/mobile/x"), root_ / "var/mobile/x");
  EXPECT_EQ(*resolveDevicePath("/private/var/mobile/x"), root_ / "var/mobile/x");
  EXPECT_EQ(*resolveDevicePath("/var/mobile/../../etc/passwd"), root_ / "etc/passwd");
  EXPECT_EQ(*resolveDevicePath("/../../etc/passwd"), root_ / "etc/passwd");
  EXPECT_FALSE(resolveDevicePath("var/mobile").has_value());
}

TEST_F(FoundationTest, NSLogReachesSinksTheMemoryLogAndTheLogFile) {
  clearLog();
  std::vector<std::string> seen;
  int token = addLogSink([&](const LogEntry& e) { seen.push_back(e.process + "|" + e.message); });
  ProcessId pid = launchProcess("SpringBoard");
  {
    ProcessScope scope(pid);
    NSLog("[Tarrow8] [Line %d]: failed. Exception: %@", 12, nsstring("boom").get());
  }
  removeLogSink(token);
  NSLog("after");
  terminateProcess(pid);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "SpringBoard|[Tarrow8] [Line 12]: failed. Exception: boom");
  EXPECT_EQ(loggedLines().size(), 2u);
  std::ifstream file(root_ / "var/log/device.log");
  std::string first;
  std::getline(file, first);
  EXPECT_NE(first.find("SpringBoard: [Tarrow8] [Line 12]"), std::string::npos) << first;
}

TEST_F(FoundationTest, LocaleAndTimeZoneShapeCalendarAndFormatting) {
  ASSERT_TRUE(setDeviceTimeZone("Europe/Berlin"));
  EXPECT_FALSE(setDeviceTimeZone("Mars/Olympus"));
  EXPECT_EQ(deviceTimeZone(), "Europe/Berlin");
  EXPECT_FALSE(setDeviceLocale("zz_ZZ"));
  ASSERT_TRUE(setDeviceLocale("de_DE"));
  auto t = parseDeviceDateTime("2026-12-09 08:30");
  ASSERT_TRUE(t.has_value());
  DateParts parts = dateParts(*t + 12.75);
  EXPECT_EQ(parts.hour, 8);
  EXPECT_EQ(parts.minute, 30);
  EXPECT_EQ(parts.second, 12);
  EXPECT_NEAR(parts.fraction, 0.75, 1e-6);
  EXPECT_DOUBLE_EQ(secondsFromParts(parts), *t + 12.75);
  EXPECT_EQ(formatDatePattern(*t, "HH:mm"), "08:30");
  EXPECT_EQ(formatDate(*t, DateStyle::None, DateStyle::Short), "08:30");
  setDeviceLocale("en_US");
  EXPECT_EQ(formatDate(*t, DateStyle::None, DateStyle::Short),
            "8:30\xE2\x80\xAF"
            "AM");
  EXPECT_FALSE(parseDeviceDateTime("2026-13-40 99:00").has_value());
  setDeviceTimeZone("UTC");
}

}  // namespace
}  // namespace platform
