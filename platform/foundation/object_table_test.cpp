// The table behind NSDictionary and NSSet, driven through NSMutableDictionary: lookups by equal
// keys, insertion order across removals, and keys whose hashes collide.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

using objc::Strong;

class ObjectTableTest : public ::testing::Test {
 protected:
  void TearDown() override { objc::restoreDeviceClasses(); }
  objc::AutoreleasePool pool_;
};

std::vector<std::string> keysInOrder(id dictionary) {
  std::vector<std::string> keys;
  for (const Strong& k : arrayElements(sel::allKeys(dictionary))) keys.push_back(utf8(k));
  return keys;
}

// Random insertions, replacements and removals against an ordered model, across the sizes at
// which the table scans, indexes, grows and compacts.
TEST_F(ObjectTableTest, MatchesAnOrderedModelThroughGrowthAndCompaction) {
  for (int size : {3, 8, 9, 40, 3000}) {
    SCOPED_TRACE(size);
    std::mt19937 random(static_cast<unsigned>(size));
    Strong dict = mutableDictionary();
    std::vector<std::string> order;  // the model: keys in insertion order
    std::map<std::string, long long> values;
    for (int step = 0; step < size * 6; ++step) {
      std::string key = "k" + std::to_string(random() % static_cast<unsigned>(size * 2));
      long long value = step;
      if (random() % 3 == 0) {
        sel::removeObjectForKey(dict, nsstring(key));  // an equal key, never the stored one
        if (values.erase(key)) std::erase(order, key);
      } else {
        setObjectForKey(dict, key, nsnumber(value));
        if (!values.contains(key)) order.push_back(key);
        values[key] = value;
      }
    }
    ASSERT_EQ(sel::count(dict), values.size());
    EXPECT_EQ(keysInOrder(dict), order);
    for (int k = 0; k < size * 2; ++k) {
      std::string key = "k" + std::to_string(k);
      id found = objectForKey(dict, key);
      if (values.contains(key)) {
        ASSERT_TRUE(found) << key;
        EXPECT_EQ(sel::longLongValue(found), values[key]) << key;
      } else {
        EXPECT_FALSE(found) << key;
      }
    }
  }
}

// A key whose equality is its number and whose hash is the same for all: every lookup of it
// walks past keys that share its hash but are not equal.
struct CollidingKeyBody : objc::NativeBody {
  int number = 0;
};
Class collidingKeyClass() {
  return objc::deviceClass("TableTestCollidingKey", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<CollidingKeyBody>()
        .method(
            sel::isEqual,
            +[](id self, SEL, id other) -> BOOL {
              auto* theirs = objc::native<CollidingKeyBody>(other);
              return theirs && theirs->number == objc::native<CollidingKeyBody>(self)->number;
            })
        .method(
            sel::hash, +[](id, SEL) -> unsigned long { return 7; })
        .method(
            sel::copyWithZone, +[](id self, SEL, void*) { return objc::retain(self); });
  });
}
Strong collidingKey(int number) {
  Strong key = Strong::adopt(objc::allocInstance(collidingKeyClass()));
  objc::native<CollidingKeyBody>(key)->number = number;
  return key;
}

TEST_F(ObjectTableTest, KeysWithOneHashStayApart) {
  for (int count : {4, 50}) {
    SCOPED_TRACE(count);
    Strong dict = mutableDictionary();
    for (int i = 0; i < count; ++i) {
      sel::setObject_forKey(dict, nsstring(std::to_string(i)), collidingKey(i));
    }
    sel::removeObjectForKey(dict, collidingKey(1));
    ASSERT_EQ(sel::count(dict), static_cast<unsigned long>(count - 1));
    for (int i = 0; i < count; ++i) {
      id found = sel::objectForKey(dict, collidingKey(i));
      if (i == 1) {
        EXPECT_FALSE(found);
      } else {
        EXPECT_EQ(utf8(found), std::to_string(i));
      }
    }
  }
}

}  // namespace
}  // namespace platform
