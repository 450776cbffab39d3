// Keyed archives: NSKeyedArchiver's output, NSKeyedUnarchiver reading it and archives another
// writer made, the keyed NSCoder methods, and every way a bad archive must fail.

#include "platform/foundation/nskeyedarchiver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nscoder.h"
#include "platform/foundation/nsdata.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nskeyedunarchiver.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/plist_file.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform {
namespace {

using objc::Strong;
using plist::Uid;

// A class of the test's own that stores one value of each keyed kind, and a string through
// NSString's own encodeWithCoder:, so every keyed NSCoder method is used.
struct RecordBody : objc::NativeBody {
  long number = 0;
  double real = 0;
  bool flag = false;
  Strong object;  // archived under "$object", a key the archiver must escape
  Strong text;    // archived through NSString's encodeWithCoder: ("NS.string")
  bool hadNumber = false, hadMissing = true;
};

void encodeRecord(id self, SEL, id coder) {
  const RecordBody& r = *objc::native<RecordBody>(self);
  sel::encodeInteger_forKey(coder, r.number, nsstring("number"));
  sel::encodeDouble_forKey(coder, r.real, nsstring("real"));
  sel::encodeBool_forKey(coder, r.flag ? YES : NO, nsstring("flag"));
  sel::encodeObject_forKey(coder, r.object, nsstring("$object"));
  if (r.text) sel::encodeWithCoder(r.text, coder);
}
id initRecord(id self, SEL, id coder) {
  RecordBody& r = *objc::native<RecordBody>(self);
  r.number = sel::decodeIntegerForKey(coder, nsstring("number"));
  r.real = sel::decodeDoubleForKey(coder, nsstring("real"));
  r.flag = sel::decodeBoolForKey(coder, nsstring("flag")) != NO;
  r.object = sel::decodeObjectForKey(coder, nsstring("$object"));
  r.hadNumber = sel::containsValueForKey(coder, nsstring("number")) != NO;
  r.hadMissing = sel::containsValueForKey(coder, nsstring("missing")) != NO;
  if (sel::containsValueForKey(coder, nsstring("NS.string"))) {
    r.text =
        Strong::adopt(sel::initWithCoder(sel::alloc(reinterpret_cast<id>(NSStringClass())), coder));
  }
  return self;
}

Class RecordClass() {
  static Class cls =
      objc::deviceClass("ArchiveTestRecord", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<RecordBody>()
            .method(sel::encodeWithCoder, encodeRecord)
            .method(sel::initWithCoder, initRecord);
      });
  return cls;
}

RecordBody& record(id object) {
  return *objc::native<RecordBody>(object);
}

Strong archived(id root) {
  return Strong(
      sel::archivedDataWithRootObject(reinterpret_cast<id>(NSKeyedArchiverClass()), root));
}
id unarchived(id data) {
  return sel::unarchiveObjectWithData(reinterpret_cast<id>(NSKeyedUnarchiverClass()), data);
}
// The property list inside archive data.
plist::Value plistOf(id data) {
  const plist::ParseResult read = plist::parse(*dataBytes(data));
  EXPECT_TRUE(read.ok()) << read.error;
  return read.value.value_or(plist::Value());
}

// A hand-made archive around `objects`, whose root is entry 1 unless `top` says otherwise.
plist::Value archiveOf(plist::Array objects, plist::Dictionary top = {{"root", Uid{1}}}) {
  return plist::Dictionary{{"$archiver", "NSKeyedArchiver"},
                           {"$version", 100000},
                           {"$top", std::move(top)},
                           {"$objects", std::move(objects)}};
}
plist::Value classEntry(const std::string& name) {
  return plist::Dictionary{{"$classname", name}, {"$classes", plist::Array{name, "NSObject"}}};
}
Strong dataOf(const plist::Value& value) {
  return nsdata(plist::toBinary(value));
}
Strong bytesOf(std::string_view bytes) {
  return nsdata(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// The first `size` bytes of `bytes`.
Strong truncated(const std::vector<std::uint8_t>& bytes, std::size_t size) {
  return nsdata(std::span(bytes).first(size));
}

// A chain of `levels` arrays, each holding the next `width` times; the last holds a string.
plist::Value arrayChain(std::size_t levels, std::size_t width) {
  plist::Array objects{"$null", classEntry("NSArray")};
  for (std::size_t i = 0; i < levels; ++i) {
    const auto next = static_cast<std::uint32_t>(objects.size() + 1);
    objects.push_back(plist::Dictionary{
        {"$class", Uid{1}}, {"NS.objects", plist::Array(width, plist::Value(Uid{next}))}});
  }
  objects.emplace_back("leaf");
  return archiveOf(std::move(objects), {{"root", Uid{2}}});
}

Strong fixture(const char* name) {
  std::ifstream in(std::string(TARROW8_TESTDATA) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  return nsdata(bytes);
}

class KeyedArchiveTest : public ::testing::Test {
 protected:
  void TearDown() override { objc::restoreDeviceClasses(); }
  objc::AutoreleasePool pool_;
};

TEST_F(KeyedArchiveTest, FoundationObjectsComeBackEqualWithTheirKindsAndSharing) {
  Strong shared = nsstring("shared \xE2\x98\x95");
  Strong inner = mutableDictionary();
  setObjectForKey(inner, "k", nsarray({shared, nsnumber(false)}));
  Strong root = mutableDictionary();
  const std::uint8_t bytes[] = {0, 1, 0xFE, 0xFF};
  setObjectForKey(root, "string", shared);
  setObjectForKey(root, "empty", nsstring(""));
  setObjectForKey(root, "yes", nsnumber(true));
  setObjectForKey(root, "negative", nsnumber(-5LL));
  setObjectForKey(root, "largest", nsnumber(18446744073709551615ULL));
  setObjectForKey(root, "real", nsnumber(0.1));
  setObjectForKey(root, "date", nsdate(-1234.75));
  setObjectForKey(root, "data", nsdata(bytes));
  setObjectForKey(root, "list", nsarray({shared, nsdate(5), nsarray({})}));
  setObjectForKey(root, "inner", inner);

  id back = unarchived(archived(root));
  ASSERT_TRUE(back);
  EXPECT_TRUE(sel::isEqual(back, root));
  EXPECT_TRUE(objc::isKindOf(back, NSMutableDictionaryClass()));
  EXPECT_TRUE(objc::isKindOf(objectForKey(back, "inner"), NSMutableDictionaryClass()));
  EXPECT_FALSE(objc::isKindOf(objectForKey(back, "list"), NSMutableArrayClass()));
  EXPECT_EQ(numberKind(objectForKey(back, "yes")), NumberKind::Boolean);
  EXPECT_TRUE(isUnsignedAboveLongLongMax(objectForKey(back, "largest")));
  EXPECT_EQ(dateSeconds(objectForKey(back, "date")), -1234.75);
  EXPECT_EQ(objectForKey(back, "string"), sel::objectAtIndex(objectForKey(back, "list"), 0))
      << "one object referred to twice is decoded once";
}

TEST_F(KeyedArchiveTest, TheArchiveHasTheShapeFoundationWrites) {
  Strong text = nsstring("hello");
  Strong root = nsarray({text, nsnumber(7LL), nsdate(10.5), nsdate(20), text});
  const plist::Value archive = plistOf(archived(root));
  EXPECT_EQ(*archive.find("$archiver"), plist::Value("NSKeyedArchiver"));
  EXPECT_EQ(*archive.find("$version"), plist::Value(100000));
  EXPECT_EQ(*archive.find("$top"), plist::Value(plist::Dictionary{{"root", Uid{1}}}));
  const plist::Array& objects = archive.find("$objects")->as<plist::Array>();
  ASSERT_GE(objects.size(), 2u);
  EXPECT_EQ(objects[0], plist::Value("$null"));

  const plist::Value& array = objects[1];
  const plist::Array& refs = array.find("NS.objects")->as<plist::Array>();
  ASSERT_EQ(refs.size(), 5u);
  const auto at = [&](const plist::Value& ref) -> const plist::Value& {
    return objects.at(ref.as<Uid>().value);
  };
  EXPECT_EQ(at(refs[0]), plist::Value("hello")) << "strings are plain values";
  EXPECT_EQ(refs[4], refs[0]) << "the same object is one entry";
  EXPECT_EQ(at(refs[1]), plist::Value(7));
  EXPECT_EQ(*at(refs[2]).find("NS.time"), plist::Value(10.5));
  EXPECT_EQ(*at(refs[2]).find("$class"), *at(refs[3]).find("$class")) << "one class entry";
  EXPECT_EQ(at(*at(refs[2]).find("$class")),
            plist::Value(plist::Dictionary{{"$classname", "NSDate"},
                                           {"$classes", plist::Array{"NSDate", "NSObject"}}}));
  EXPECT_EQ(*at(*array.find("$class")).find("$classname"), plist::Value("NSArray"));

  Strong dictionary = mutableDictionary();
  setObjectForKey(dictionary, "key", nsnumber(1LL));
  const plist::Value wrapped = plistOf(archived(dictionary));
  const plist::Array& entries = wrapped.find("$objects")->as<plist::Array>();
  const plist::Value& top = entries[1];
  EXPECT_EQ(entries.at(top.find("NS.keys")->as<plist::Array>().at(0).as<Uid>().value),
            plist::Value("key"));
  EXPECT_EQ(entries.at(top.find("NS.objects")->as<plist::Array>().at(0).as<Uid>().value),
            plist::Value(1));
  EXPECT_EQ(*entries.at(top.find("$class")->as<Uid>().value).find("$classes"),
            plist::Value(plist::Array{"NSMutableDictionary", "NSDictionary", "NSObject"}));
}

TEST_F(KeyedArchiveTest, KeyedCoderMethodsRoundTripAndEscapeDollarKeys) {
  Strong original = objc::make(RecordClass());
  record(original).number = -42;
  record(original).real = 2.5;
  record(original).flag = true;
  record(original).object = nsstring("inside");
  record(original).text = nsstring("through NS.string");
  Strong data = archived(original);

  const plist::Value archive = plistOf(data);
  const plist::Value& fields = archive.find("$objects")->as<plist::Array>().at(1);
  EXPECT_EQ(*fields.find("number"), plist::Value(-42));
  EXPECT_EQ(*fields.find("real"), plist::Value(2.5));
  EXPECT_EQ(*fields.find("flag"), plist::Value(true));
  EXPECT_EQ(*fields.find("NS.string"), plist::Value("through NS.string"));
  EXPECT_TRUE(fields.find("$$object") && fields.find("$$object")->is<Uid>());
  EXPECT_EQ(fields.find("$object"), nullptr);

  id back = unarchived(data);
  ASSERT_TRUE(objc::isKindOf(back, RecordClass()));
  EXPECT_EQ(record(back).number, -42);
  EXPECT_EQ(record(back).real, 2.5);
  EXPECT_TRUE(record(back).flag);
  EXPECT_EQ(utf8(record(back).object), "inside");
  EXPECT_EQ(utf8(record(back).text), "through NS.string");
  EXPECT_TRUE(record(back).hadNumber);
  EXPECT_FALSE(record(back).hadMissing);

  // Missing keys read as zero; a nil object is the null reference.
  Strong empty = objc::make(RecordClass());
  id plain = unarchived(dataOf(archiveOf(
      {"$null", plist::Dictionary{{"$class", Uid{2}}}, classEntry("ArchiveTestRecord")})));
  ASSERT_TRUE(plain);
  EXPECT_EQ(record(plain).number, 0);
  EXPECT_FALSE(record(plain).hadNumber);
  id nilObject = unarchived(archived(empty));
  EXPECT_EQ(record(nilObject).object.get(), nil);
}

TEST_F(KeyedArchiveTest, AnArchiveWrittenByPlistlibReads) {
  id back = unarchived(fixture("objects.keyedarchive"));
  ASSERT_TRUE(objc::isKindOf(back, NSMutableDictionaryClass()));
  Strong expected = mutableDictionary();
  Strong name = nsstring("Caf\xC3\xA9 \xE2\x98\x95");
  const std::uint8_t blob[] = {0, 1, 0xFE, 0xFF};
  const std::uint8_t raw[] = {'r', 'a', 'w'};
  setObjectForKey(expected, "name", name);
  setObjectForKey(expected, "count", nsnumber(42LL));
  setObjectForKey(expected, "negative", nsnumber(-7LL));
  setObjectForKey(expected, "largest", nsnumber(18446744073709551615ULL));
  setObjectForKey(expected, "ratio", nsnumber(0.5));
  setObjectForKey(expected, "enabled", nsnumber(true));
  setObjectForKey(expected, "when", nsdate(789652800.25));
  setObjectForKey(expected, "blob", nsdata(blob));
  setObjectForKey(expected, "list", nsarray({nsstring("first"), name, nsnumber(3LL)}));
  setObjectForKey(expected, "text", nsstring("mutable"));
  setObjectForKey(expected, "bytes", nsdata(raw));
  Strong inner = mutableDictionary();
  setObjectForKey(inner, "k", nsstring("v"));
  setObjectForKey(expected, "inner", inner);
  EXPECT_TRUE(sel::isEqual(back, expected)) << utf8(sel::description(back));
  EXPECT_EQ(numberKind(objectForKey(back, "enabled")), NumberKind::Boolean);
  EXPECT_EQ(objectForKey(back, "name"), sel::objectAtIndex(objectForKey(back, "list"), 1));
}

// Bad archives and how each fails: nil, or the exception and a piece of its reason.
struct BadArchive {
  const char* what;
  Strong data;
  const char* exception;  // null: the unarchiver gives nil
  const char* reason;
};

std::vector<BadArchive> badArchives() {
  const plist::Value string = "text";
  const plist::Value array = classEntry("NSArray");
  const auto withKey = [](std::string key, plist::Value value) {
    plist::Value archive = archiveOf({"$null", "x"});
    archive.as<plist::Dictionary>()[key] = std::move(value);
    return archive;
  };
  const auto record = [](plist::Dictionary fields) {
    fields["$class"] = Uid{2};
    return archiveOf({"$null", std::move(fields), classEntry("ArchiveTestRecord")});
  };
  RecordClass();
  return {
      {"nil data", Strong(), NSInvalidArgumentException, "data is NULL"},
      {"not data", nsstring("bplist00"), NSInvalidArgumentException, "NSString"},
      {"empty data", bytesOf(""), nullptr, ""},
      {"not a property list", bytesOf("garbage!"), NSInvalidArgumentException,
       "incomprehensible archive (0x67, 0x61, 0x72"},
      {"a truncated archive", truncated(plist::toBinary(arrayChain(1, 1)), 40),
       NSInvalidArgumentException, "incomprehensible archive"},
      {"a plist that is an array", dataOf(plist::Array{"$null"}), NSInvalidArgumentException,
       "the root is an array"},
      {"another $archiver", dataOf(withKey("$archiver", "NSArchiver")), NSInvalidArgumentException,
       "$archiver is not NSKeyedArchiver"},
      {"another $version", dataOf(withKey("$version", 200000)), NSInvalidArgumentException,
       "version (200000)"},
      {"$objects not an array", dataOf(withKey("$objects", plist::Dictionary{})),
       NSInvalidArgumentException, "$objects is not an array"},
      {"$top not a dictionary", dataOf(withKey("$top", string)), NSInvalidArgumentException,
       "$top is not a dictionary"},
      {"no root", dataOf(archiveOf({"$null"}, {})), nullptr, ""},
      {"a null root", dataOf(archiveOf({"$null"}, {{"root", Uid{0}}})), nullptr, ""},
      {"a dangling root", dataOf(archiveOf({"$null"}, {{"root", Uid{9}}})),
       NSInvalidUnarchiveOperationException, "reference (9) for key (root) is past the end"},
      {"a root that is no reference", dataOf(archiveOf({"$null"}, {{"root", 1}})),
       NSInvalidUnarchiveOperationException, "not an object reference"},
      {"a dangling element",
       dataOf(archiveOf(
           {"$null", plist::Dictionary{{"$class", Uid{2}}, {"NS.objects", plist::Array{Uid{7}}}},
            array})),
       NSInvalidUnarchiveOperationException, "reference (7) for key (NS.objects)"},
      {"an array holding itself",
       dataOf(archiveOf(
           {"$null", plist::Dictionary{{"$class", Uid{2}}, {"NS.objects", plist::Array{Uid{1}}}},
            array})),
       NSInvalidUnarchiveOperationException, "cycle"},
      {"a class the device does not have",
       dataOf(
           archiveOf({"$null", plist::Dictionary{{"$class", Uid{2}}}, classEntry("NoSuchClass")})),
       NSInvalidUnarchiveOperationException, "cannot decode object of class (NoSuchClass)"},
      {"a class without initWithCoder:",
       dataOf(
           archiveOf({"$null", plist::Dictionary{{"$class", Uid{2}}}, classEntry("NSIndexPath")})),
       NSInvalidUnarchiveOperationException, "cannot decode object of class (NSIndexPath)"},
      {"an object that is an array", dataOf(archiveOf({"$null", plist::Array{}})),
       NSInvalidUnarchiveOperationException, "object 1 for key (root) is an array, not an object"},
      {"an object that is a date", dataOf(archiveOf({"$null", plist::Date{3}})),
       NSInvalidUnarchiveOperationException, "is a date, not an object"},
      {"an object without $class",
       dataOf(archiveOf({"$null", plist::Dictionary{{"NS.objects", plist::Array{}}}})),
       NSInvalidUnarchiveOperationException, "has no $class reference"},
      {"a $class that is a string",
       dataOf(archiveOf({"$null", plist::Dictionary{{"$class", Uid{2}}}, "NSArray"})),
       NSInvalidUnarchiveOperationException, "is a string that is no class entry"},
      {"a $class past the end", dataOf(archiveOf({"$null", plist::Dictionary{{"$class", Uid{5}}}})),
       NSInvalidUnarchiveOperationException, "refers to entry 5"},
      {"$classes that are not names",
       dataOf(archiveOf(
           {"$null", plist::Dictionary{{"$class", Uid{2}}},
            plist::Dictionary{{"$classname", "NSArray"}, {"$classes", plist::Array{1}}}})),
       NSInvalidUnarchiveOperationException, "no class entry"},
      {"NS.objects that is not a list of references",
       dataOf(archiveOf({"$null",
                         plist::Dictionary{{"$class", Uid{2}}, {"NS.objects", plist::Array{"x"}}},
                         array})),
       NSInvalidUnarchiveOperationException, "not an array of object references"},
      {"a nil element",
       dataOf(archiveOf(
           {"$null", plist::Dictionary{{"$class", Uid{2}}, {"NS.objects", plist::Array{Uid{0}}}},
            array})),
       NSInvalidArgumentException, "attempt to insert nil object from objects[0]"},
      {"keys and values of different counts",
       dataOf(archiveOf({"$null",
                         plist::Dictionary{{"$class", Uid{2}},
                                           {"NS.keys", plist::Array{Uid{3}}},
                                           {"NS.objects", plist::Array{}}},
                         classEntry("NSDictionary"), "k"})),
       NSInvalidUnarchiveOperationException, "1 NS.keys for 0 NS.objects"},
      {"a date whose NS.time is text",
       dataOf(archiveOf({"$null", plist::Dictionary{{"$class", Uid{2}}, {"NS.time", "soon"}},
                         classEntry("NSDate")})),
       NSInvalidUnarchiveOperationException, "value for key (NS.time) is a string, not a number"},
      {"a string without NS.string",
       dataOf(archiveOf({"$null", plist::Dictionary{{"$class", Uid{2}}}, classEntry("NSString")})),
       NSInvalidUnarchiveOperationException, "NS.string is missing"},
      {"an integer that is text", dataOf(record({{"number", "many"}})),
       NSInvalidUnarchiveOperationException, "value for key (number) is a string, not an integer"},
      {"an integer too large",
       dataOf(record({{"number", plist::Integer::fromUnsigned(1ULL << 63)}})),
       NSInvalidUnarchiveOperationException, "too large to fit in 64-bit integer"},
      {"a flag that is a date", dataOf(record({{"flag", plist::Date{0}}})),
       NSInvalidUnarchiveOperationException, "value for key (flag) is a date, not a boolean"},
      {"an object key holding a plain value", dataOf(record({{"$$object", "inline"}})),
       NSInvalidUnarchiveOperationException, "value for key ($object) is a string"},
      {"arrays nested 129 deep", dataOf(arrayChain(129, 1)), NSInvalidUnarchiveOperationException,
       "nested deeper than 128 levels"},
      {"2^20 objects through shared references", dataOf(arrayChain(20, 2)),
       NSInvalidUnarchiveOperationException, "counted with every shared one, are more than 100000"},
  };
}

TEST_F(KeyedArchiveTest, BadArchivesFailCleanly) {
  for (const BadArchive& c : badArchives()) {
    SCOPED_TRACE(c.what);
    try {
      id result = unarchived(c.data);
      EXPECT_EQ(c.exception, nullptr) << "read as " << utf8(sel::description(result), "nil");
      EXPECT_EQ(result, nil);
    } catch (const NSException& e) {
      ASSERT_NE(c.exception, nullptr) << e.what();
      EXPECT_EQ(e.name(), c.exception);
      EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.reason();
    }
  }
}

TEST_F(KeyedArchiveTest, NestingAndSharingUpToTheReadersLimitsRead) {
  id deep = unarchived(dataOf(arrayChain(128, 1)));
  for (int level = 1; level < 128; ++level) deep = sel::objectAtIndex(deep, 0);
  EXPECT_EQ(utf8(sel::objectAtIndex(deep, 0)), "leaf");

  id wide = unarchived(dataOf(arrayChain(15, 2)));  // 2^16 - 1 objects expanded
  ASSERT_EQ(sel::count(wide), 2u);
  EXPECT_EQ(sel::objectAtIndex(wide, 0), sel::objectAtIndex(wide, 1));
}

TEST_F(KeyedArchiveTest, TheArchiverRefusesWhatNoUnarchiverReads) {
  const auto refusal = [](id root) -> std::string {
    try {
      archived(root);
      return "archived";
    } catch (const NSException& e) {
      return e.name() + ": " + e.reason();
    }
  };
  EXPECT_NE(refusal(indexPath(1, 2)).find("-[NSIndexPath encodeWithCoder:]: unrecognized selector"),
            std::string::npos);
  EXPECT_NE(refusal(nsarray({nsstring(std::string_view("a\0b", 3))})).find("NUL"),
            std::string::npos);

  Strong deepest = nsarray({});
  for (int level = 1; level < 128; ++level) deepest = nsarray({deepest});
  EXPECT_EQ(refusal(deepest), "archived");
  EXPECT_TRUE(sel::isEqual(unarchived(archived(deepest)), deepest));
  EXPECT_NE(refusal(nsarray({deepest})).find("nested deeper than 128"), std::string::npos);
}

TEST_F(KeyedArchiveTest, ACycleArchivesButDoesNotUnarchive) {
  Strong loop = mutableArray();
  sel::addObject(loop, nsstring("before"));
  sel::addObject(loop, loop);
  Strong data = archived(loop);
  sel::removeAllObjects(loop);  // breaks the retain cycle
  const plist::Value archive = plistOf(data);
  EXPECT_EQ(archive.find("$objects")
                ->as<plist::Array>()
                .at(1)
                .find("NS.objects")
                ->as<plist::Array>()
                .at(1),
            plist::Value(Uid{1}));
  try {
    unarchived(data);
    ADD_FAILURE() << "a cycle read";
  } catch (const NSException& e) {
    EXPECT_EQ(e.name(), NSInvalidUnarchiveOperationException);
    EXPECT_NE(e.reason().find("object 1 for key (NS.objects) refers back to itself"),
              std::string::npos)
        << e.reason();
  }
}

TEST_F(KeyedArchiveTest, AnUnarchiverReadsTheRootByKeyAndRefusesNonStringKeys) {
  Strong data = archived(nsstring("top"));
  Strong unarchiver = Strong::adopt(sel::initForReadingWithData(
      sel::alloc(reinterpret_cast<id>(NSKeyedUnarchiverClass())), data));
  ASSERT_TRUE(unarchiver);
  EXPECT_EQ(sel::allowsKeyedCoding(unarchiver), YES);
  EXPECT_EQ(utf8(sel::decodeObjectForKey(unarchiver, nsstring("root"))), "top");
  EXPECT_EQ(sel::decodeObjectForKey(unarchiver, nsstring("other")), nil);
  EXPECT_THROW(sel::decodeObjectForKey(unarchiver, nsnumber(1LL)), NSException);
  EXPECT_THROW(sel::decodeObjectOfClass_forKey(unarchiver, NSNumberClass(), nsstring("root")),
               NSException);
  sel::finishDecoding(unarchiver);
  EXPECT_THROW(decodePropertyList(nsstring("not a coder"), "NS.string"), NSException);
  EXPECT_THROW(encodePropertyList(unarchiver, "NS.string", "x"), NSException);
}

}  // namespace
}  // namespace platform
