// SpringBoard's process: launching with extensions, ending, relaunching, and the lock state.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/dispatch/libnotify.h"
#include "platform/dispatch/reset.h"
#include "platform/dispatch/run_loop.h"
#include "platform/foundation/device_root.h"
#include "platform/objc/object.h"
#include "platform/springboard/extension_loader.h"
#include "platform/springboard/springboard_classes.h"
#include "platform/springboard/springboard_host.h"

namespace platform::springboard {
namespace {

namespace fs = std::filesystem;

const objc::Selector<const char*()> testMarker{"testMarker"};

class SpringBoardHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("tarrow8-springboard-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    setDeviceRoot(root_);
    dispatch::resetForNewDevice();
  }
  void TearDown() override {
    host().terminate();
    dispatch::resetForNewDevice();
    fs::remove_all(root_);
  }
  SpringBoardHost& host() { return SpringBoardHost::shared(); }
  std::string events() {
    auto fn = reinterpret_cast<const char* (*)()>(
        host().extensions().symbol("TestExtension", "TestExtensionEvents"));
    return fn ? fn() : "(not loaded)";
  }
  void writeDeviceFile(const std::string& devicePath, const std::string& text) {
    fs::path path = *resolveDevicePath(devicePath);
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  fs::path root_;
};

TEST_F(SpringBoardHostTest, ExtensionsLoadBeforeSpringBoardFinishesLaunching) {
  ASSERT_EQ(installExtension(TEST_EXTENSION, "TestExtension"), "");
  host().boot();
  EXPECT_EQ(events(), "constructor;launch;");
  EXPECT_STREQ(testMarker(host().application()), "added by the test extension");
  EXPECT_TRUE(host().extensions().errors().empty());
}

TEST_F(SpringBoardHostTest, EndingSpringBoardUndoesEveryHookAndAddedMethod) {
  ASSERT_EQ(installExtension(TEST_EXTENSION, "TestExtension"), "");
  host().boot();
  host().terminate();
  EXPECT_FALSE(host().running());
  EXPECT_FALSE(class_respondsToSelector(SpringBoardClass(), testMarker.sel()));
  host().boot();
  EXPECT_EQ(events(), "constructor;launch;") << "a fresh copy: its globals start anew, hooked once";
  EXPECT_STREQ(testMarker(host().application()), "added by the test extension");
}

TEST_F(SpringBoardHostTest, FiltersDecideWhichExtensionsLoad) {
  ASSERT_EQ(installExtension(TEST_EXTENSION, "TestExtension"), "");
  fs::path folder = *resolveDevicePath(kExtensionsFolder);
  fs::copy_file(TEST_EXTENSION, folder / "Elsewhere.dylib");
  writeDeviceFile(std::string(kExtensionsFolder) + "/Elsewhere.plist",
                  "<?xml version=\"1.0\"?><plist "
                  "version=\"1.0\"><dict><key>Filter</key><dict><key>Bundles</key>"
                  "<array><string>com.apple.mobilesafari</string></array></dict></dict></plist>");
  fs::copy_file(TEST_EXTENSION, folder / "Broken.dylib");
  writeDeviceFile(std::string(kExtensionsFolder) + "/Broken.plist", "not a filter");
  writeDeviceFile(std::string(kExtensionsFolder) + "/NotALibrary.dylib", "just text");
  host().boot();
  ASSERT_EQ(host().extensions().loaded().size(), 1u);
  EXPECT_EQ(host().extensions().loaded()[0].name, "TestExtension");
  const auto& errors = host().extensions().errors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].rfind("Broken: filter unreadable", 0), 0u) << errors[0];
  EXPECT_EQ(errors[1].rfind("NotALibrary: ", 0), 0u) << errors[1];
  EXPECT_TRUE(host().running()) << "a bad extension does not stop SpringBoard";
}

TEST_F(SpringBoardHostTest, ARelaunchRequestFinishesAfterTheCurrentEvent) {
  host().boot();
  ProcessId first = host().pid();
  bool returned = false;
  RunLoop::main().postFor(first, DeviceClock::shared().now(), [&] {
    sbsel::relaunchSpringBoardNow(host().application());
    returned = true;  // the caller's code runs to its end
  });
  RunLoop::main().runDue();
  EXPECT_TRUE(returned);
  EXPECT_TRUE(host().running());
  EXPECT_NE(host().pid(), first);
  EXPECT_FALSE(isRunning(first));
  EXPECT_EQ(host().launchCount() >= 2, true);
}

TEST_F(SpringBoardHostTest, ACrashRelaunchesSpringBoard) {
  host().boot();
  ProcessId first = host().pid();
  RunLoop::main().setCrashHandler([](ProcessId, const NSException&) {});
  RunLoop::main().postFor(first, DeviceClock::shared().now(),
                          [] { NSException::raise("Boom", "on purpose"); });
  RunLoop::main().runDue();
  EXPECT_TRUE(host().running());
  EXPECT_NE(host().pid(), first);
}

TEST_F(SpringBoardHostTest, LockStateIsPublishedThroughLibnotify) {
  host().boot();
  int token = 0;
  int deliveries = 0;
  ASSERT_EQ(notify_register_dispatch(kLockStateNotification, &token, dispatch_get_main_queue(),
                                     [&](int) { ++deliveries; }),
            NOTIFY_STATUS_OK);
  std::uint64_t state = 0;
  notify_get_state(token, &state);
  EXPECT_EQ(state, 1u) << "SpringBoard comes up locked";
  host().unlock();
  RunLoop::main().runDue();
  notify_get_state(token, &state);
  EXPECT_EQ(state, 0u);
  host().lock();
  RunLoop::main().runDue();
  notify_get_state(token, &state);
  EXPECT_EQ(state, 1u);
  EXPECT_EQ(deliveries, 2);
}

}  // namespace
}  // namespace platform::springboard
