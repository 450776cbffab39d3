// Foundation's byte-level file calls on the device: NSData read from and written to device
// paths, and NSFileManager's test for something at a path.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/foundation/device_root.h"
#include "platform/foundation/foundation_classes.h"
#include "platform/foundation/nsdata.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsfilemanager.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/read_only_folders.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using objc::Strong;

class DeviceFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("tarrow8-files-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    setDeviceRoot(root_);
    fs::create_directories(root_ / "var/mobile");
    foundation::registerClasses();
  }
  void TearDown() override {
    clearReadOnlyFolders();
    fs::remove_all(root_);
    objc::restoreDeviceClasses();
  }
  void put(const char* relative, const std::string& contents) {
    std::ofstream(root_ / relative, std::ios::binary) << contents;
  }
  std::string contentsOf(const char* relative) {
    std::ostringstream out;
    out << std::ifstream(root_ / relative, std::ios::binary).rdbuf();
    return out.str();
  }
  id readData(const char* devicePath) {
    return sel::dataWithContentsOfFile(reinterpret_cast<id>(NSDataClass()), nsstring(devicePath));
  }
  BOOL exists(const char* devicePath) {
    id manager = sel::defaultManager(reinterpret_cast<id>(NSFileManagerClass()));
    return sel::fileExistsAtPath(manager, nsstring(devicePath));
  }

  fs::path root_;
  objc::AutoreleasePool pool_;
};

TEST_F(DeviceFilesTest, DataReadsWholeRegularFilesOnly) {
  const std::string binary("bplist00\0\xff\x01 tail", 15);
  put("var/mobile/a.bin", binary);
  put("var/mobile/empty", "");
  fs::create_directory(root_ / "var/mobile/folder");
  fs::create_symlink(root_ / "var/mobile/a.bin", root_ / "var/mobile/link");
  fs::create_symlink(root_ / "var/mobile/nowhere", root_ / "var/mobile/dangling");

  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"/var/mobile/a.bin", binary},         {"/private/var/mobile/a.bin", binary},
      {"/var/mobile/link", binary},          {"/var/mobile/empty", ""},
      {"/var/mobile/folder", std::nullopt},  {"/var/mobile/dangling", std::nullopt},
      {"/var/mobile/missing", std::nullopt}, {"relative", std::nullopt},
  };
  for (const auto& [path, expected] : cases) {
    SCOPED_TRACE(path);
    id data = readData(path);
    ASSERT_EQ(data != nil, expected.has_value());
    if (!expected) continue;
    const auto* bytes = dataBytes(data);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), *expected);
  }
}

TEST_F(DeviceFilesTest, DataWritesReplaceTheWholeFileOrNothing) {
  const std::uint8_t bytes[] = {'n', 'e', 'w', 0, 1};
  Strong data = nsdata(bytes);
  const fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
  for (BOOL atomically : {YES, NO}) {
    SCOPED_TRACE(atomically ? "atomically" : "in place");
    put("var/mobile/old", "an older and longer file");
    fs::permissions(root_ / "var/mobile/old", ownerOnly);
    EXPECT_EQ(sel::writeToFile_atomically(data, nsstring("/var/mobile/old"), atomically), YES);
    EXPECT_EQ(contentsOf("var/mobile/old"), std::string("new\0\1", 5));
    EXPECT_EQ(fs::status(root_ / "var/mobile/old").permissions() & fs::perms::all, ownerOnly)
        << "the replaced file's permissions stay";
  }

  fs::create_directory(root_ / "var/mobile/folder");
  put("var/mobile/folder/inside", "kept");
  for (BOOL atomically : {YES, NO}) {
    EXPECT_EQ(sel::writeToFile_atomically(data, nsstring("/var/mobile/folder"), atomically), NO);
    EXPECT_EQ(sel::writeToFile_atomically(data, nsstring("/var/mobile/none/x"), atomically), NO)
        << "no folder is created";
  }
  EXPECT_EQ(contentsOf("var/mobile/folder/inside"), "kept");
  EXPECT_FALSE(fs::exists(root_ / "var/mobile/none"));
  std::size_t entries = std::distance(fs::directory_iterator(root_ / "var/mobile"), {});
  EXPECT_EQ(entries, 2u) << "no temporary file stays behind";
}

TEST_F(DeviceFilesTest, AReadOnlyFolderRefusesEveryWriteInsideItUntilMadeWritable) {
  fs::create_directories(root_ / "var/mobile/Library/Preferences");
  put("var/mobile/Library/Preferences/s.plist", "old");
  const std::uint8_t bytes[] = {'n', 'e', 'w'};
  Strong data = nsdata(bytes);
  Strong dictionary = Strong::adopt(sel::new_(reinterpret_cast<id>(NSMutableDictionaryClass())));
  setFolderReadOnly(root_ / "var/mobile/Library", true);
  for (const char* path : {"/var/mobile/Library/Preferences/s.plist",
                           "/private/var/mobile/Library/Preferences/new.plist"}) {
    SCOPED_TRACE(path);
    for (BOOL atomically : {YES, NO})
      EXPECT_EQ(sel::writeToFile_atomically(data, nsstring(path), atomically), NO);
    EXPECT_EQ(sel::writeToFile_atomically(dictionary, nsstring(path), YES), NO);
  }
  EXPECT_EQ(contentsOf("var/mobile/Library/Preferences/s.plist"), "old");
  EXPECT_FALSE(fs::exists(root_ / "var/mobile/Library/Preferences/new.plist"));
  EXPECT_EQ(sel::writeToFile_atomically(data, nsstring("/var/mobile/beside"), YES), YES)
      << "a folder outside the read-only one takes writes";

  setFolderReadOnly(root_ / "var/mobile/Library", false);
  EXPECT_EQ(
      sel::writeToFile_atomically(data, nsstring("/var/mobile/Library/Preferences/s.plist"), YES),
      YES);
  EXPECT_EQ(contentsOf("var/mobile/Library/Preferences/s.plist"), "new");
}

TEST_F(DeviceFilesTest, FileManagerSeesAnythingAtAPathThroughLinks) {
  put("var/mobile/file", "x");
  fs::create_directory(root_ / "var/mobile/folder");
  fs::create_symlink(root_ / "var/mobile/file", root_ / "var/mobile/link");
  fs::create_symlink(root_ / "var/mobile/nowhere", root_ / "var/mobile/dangling");
  EXPECT_EQ(exists("/var/mobile/file"), YES);
  EXPECT_EQ(exists("/private/var/mobile/file"), YES);
  EXPECT_EQ(exists("/var/mobile/folder"), YES);
  EXPECT_EQ(exists("/var/mobile/link"), YES);
  EXPECT_EQ(exists("/var/mobile/dangling"), NO);
  EXPECT_EQ(exists("/var/mobile/missing"), NO);
  EXPECT_EQ(exists("relative"), NO);
}

}  // namespace
}  // namespace platform
