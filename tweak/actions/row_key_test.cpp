// Row keys: written from an index path and read back as the dismissal handlers read them.

#include "tweak/actions/row_key.h"

#include <gtest/gtest.h>

#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace tarrow8 {
namespace {

class RowKey : public ::testing::Test {
 protected:
  void TearDown() override { platform::objc::restoreDeviceClasses(); }
  platform::objc::AutoreleasePool pool_;
};

TEST_F(RowKey, IsTheRowThenTheSectionAndReadsBack) {
  platform::objc::Strong key = rowKey(platform::indexPath(3, 1));
  EXPECT_EQ(platform::utf8(key), "3:1");
  platform::objc::Strong path = indexPathOfRowKey(key);
  EXPECT_EQ(sel::row(path), 3);
  EXPECT_EQ(sel::section(path), 1);
}

// Each piece reads as intValue does, a number too large for 32 bits included.
TEST_F(RowKey, PiecesReadAsIntValueDoes) {
  struct Case {
    const char* key;
    long row, section;
  } cases[] = {
      {"12:0", 12, 0},
      {"0:7", 0, 7},
      {"12", 12, 0},
      {"x:y", 0, 0},
      {"-1:2", -1, 2},
      {"4 :5z", 4, 5},
      {"4294967299:1", 2147483647, 1},
      {"", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    platform::objc::Strong path = indexPathOfRowKey(platform::nsstring(c.key));
    EXPECT_EQ(sel::row(path), c.row);
    EXPECT_EQ(sel::section(path), c.section);
  }
}

}  // namespace
}  // namespace tarrow8
