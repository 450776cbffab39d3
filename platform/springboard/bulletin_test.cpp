// BBBulletin and BBSound in keyed archives: every property the device keeps comes back, in
// archives the device made and in one another writer made; properties of the wrong class fail.

#include "platform/springboard/bulletin.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/foundation/nscoder.h"
#include "platform/foundation/nsdata.h"
#include "platform/foundation/nskeyedarchiver.h"
#include "platform/foundation/nskeyedunarchiver.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/plist_file.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/springboard/bulletin_server.h"

namespace platform::springboard {
namespace {

using objc::Strong;
using plist::Uid;

Strong archived(id root) {
  return Strong(
      sel::archivedDataWithRootObject(reinterpret_cast<id>(NSKeyedArchiverClass()), root));
}
id unarchived(id data) {
  return sel::unarchiveObjectWithData(reinterpret_cast<id>(NSKeyedUnarchiverClass()), data);
}

// A new sound of a tone-alert type, made the way SpringBoard makes one.
Strong toneAlert(long type) {
  return Strong::adopt(
      sbsel::initWithToneAlert(sel::alloc(reinterpret_cast<id>(BBSoundClass())), type));
}

class BulletinArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BBBulletinClass();
    BBSoundClass();
  }
  void TearDown() override { objc::restoreDeviceClasses(); }
  objc::AutoreleasePool pool_;
};

TEST_F(BulletinArchiveTest, AnArchivedBulletinReadsBackEqualWithTheSameContents) {
  struct Case {
    const char* what;
    BulletinContents contents;
    long toneAlert;  // 0: the contents' sound, if any
  };
  const Case cases[] = {
      {"every property",
       {"id-1", "com.apple.MobileSMS", "Anna", "Work", "Lunch?", 789652800.25, true, ""},
       13},
      {"a named sound", {"id-2", "com.example.app", "T", "", "m", 10, false, "chime"}, 0},
      {"only an identifier", {"id-3", "", "", "", "", -3187296000.0, false, ""}, 0},
      {"text beyond ASCII",
       {"id-4", "com.example.app", "Caf\xC3\xA9", "\xE2\x98\x95",
        "two\nlines \xF0\x9F\x8E\x82 and a $ sign", 0.5, false, ""},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Strong bulletin = makeBulletin(c.contents);
    if (c.toneAlert) sbsel::setSound(bulletin, toneAlert(c.toneAlert));
    const BulletinContents expected = *bulletinContents(bulletin);

    id back = unarchived(archived(bulletin));
    ASSERT_TRUE(objc::isKindOf(back, BBBulletinClass()));
    EXPECT_NE(back, bulletin.get());
    EXPECT_TRUE(sel::isEqual(back, bulletin));
    EXPECT_EQ(bulletinContents(back), expected);
    EXPECT_EQ(sbsel::subtitle(back) == nil, c.contents.subtitle.empty()) << "nil stays nil";
    EXPECT_EQ(sbsel::sound(back) == nil, expected.sound.empty());
    EXPECT_EQ(sbsel::toneAlertType(sbsel::sound(back)), c.toneAlert);
  }
}

TEST_F(BulletinArchiveTest, TheArchiveHoldsEveryKeptPropertyAndNoObservers) {
  Strong bulletin = makeBulletin({"id-1", "com.example.app", "T", "S", "M", 5, true, ""});
  sbsel::setSound(bulletin, toneAlert(2));
  Strong observer = makeObserver(kAllDestinations, nullptr);
  addBulletinObserver(bulletin, observer);
  ASSERT_EQ(sbsel::firstValidObserver(bulletin), observer.get());

  Strong data = archived(bulletin);
  const plist::ParseResult read = plist::parse(*dataBytes(data));
  ASSERT_TRUE(read.ok()) << read.error;
  const plist::Array& objects = read.value->find("$objects")->as<plist::Array>();
  const plist::Dictionary& fields = objects.at(1).as<plist::Dictionary>();
  std::vector<std::string> keys;
  for (const auto& [key, value] : fields) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"$class", "bulletinID", "date", "message", "sectionID",
                                            "sound", "subtitle", "title",
                                            "wantsFullscreenPresentation"}));
  EXPECT_EQ(*objects.at(fields.at("$class").as<Uid>().value).find("$classname"),
            plist::Value("BBBulletin"));
  const plist::Value& sound = objects.at(fields.at("sound").as<Uid>().value);
  EXPECT_EQ(*sound.find("toneAlertType"), plist::Value(2));

  id back = unarchived(data);
  EXPECT_EQ(sbsel::firstValidObserver(back), nil) << "observers belong to one process";
}

std::vector<std::uint8_t> fixture(const char* name) {
  std::ifstream in(std::string(TARROW8_TESTDATA) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

TEST_F(BulletinArchiveTest, ABulletinArchivedByPlistlibReads) {
  id back = unarchived(nsdata(fixture("bulletin.keyedarchive")));
  ASSERT_TRUE(objc::isKindOf(back, BBBulletinClass()));
  const BulletinContents expected{"bulletin-7",
                                  "com.apple.MobileSMS",
                                  "Anna",
                                  "",
                                  "See you at 8 \xE2\x80\x94 bring the \xF0\x9F\x8E\x82",
                                  789652800.5,
                                  true,
                                  "tone alert 13"};
  EXPECT_EQ(bulletinContents(back), expected);
  EXPECT_EQ(sbsel::subtitle(back), nil);
  EXPECT_EQ(sbsel::toneAlertType(sbsel::sound(back)), 13);
  EXPECT_TRUE(sel::isEqual(back, makeBulletin(expected)));
}

TEST_F(BulletinArchiveTest, APropertyOfTheWrongClassFailsTheWholeBulletin) {
  struct Case {
    const char* key;
    plist::Value value;  // entry 3 of "$objects"
    const char* reason;
  };
  const Case cases[] = {
      {"title", plist::Value(7), "value for key 'title' was of unexpected class 'NSNumber'"},
      {"date", plist::Value("tomorrow"), "value for key 'date' was of unexpected class 'NSString'"},
      {"sound", plist::Value("chime"), "value for key 'sound' was of unexpected class 'NSString'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    const plist::Value archive = plist::Dictionary{
        {"$archiver", "NSKeyedArchiver"},
        {"$version", 100000},
        {"$top", plist::Dictionary{{"root", Uid{1}}}},
        {"$objects",
         plist::Array{
             "$null",
             plist::Dictionary{{"$class", Uid{2}}, {"bulletinID", Uid{4}}, {c.key, Uid{3}}},
             plist::Dictionary{{"$classname", "BBBulletin"},
                               {"$classes", plist::Array{"BBBulletin", "NSObject"}}},
             c.value, "id-1"}}};
    try {
      unarchived(nsdata(plist::toBinary(archive)));
      ADD_FAILURE() << "read";
    } catch (const NSException& e) {
      EXPECT_EQ(e.name(), NSInvalidUnarchiveOperationException);
      EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.reason();
    }
  }
}

}  // namespace
}  // namespace platform::springboard
