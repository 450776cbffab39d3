#include "sim/phone.h"

#include <unistd.h>

#include <fstream>
#include <random>
#include <stdexcept>

#include "platform/dispatch/darwin_notify_center.h"
#include "platform/dispatch/distributed_notification_center.h"
#include "platform/dispatch/reset.h"
#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/device_locale.h"
#include "platform/foundation/device_root.h"
#include "platform/foundation/format.h"
#include "platform/foundation/foundation_classes.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nslog.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/plist_file.h"
#include "platform/foundation/property_list_objects.h"
#include "platform/foundation/read_only_folders.h"
#include "platform/preferences/settings_app.h"
#include "platform/springboard/delivery_log.h"
#include "platform/springboard/extension_loader.h"
#include "platform/springboard/springboard_host.h"
#include "platform/springboard/springboard_ui.h"
#include "platform/uikit/uidevice.h"

namespace sim {
namespace {

namespace fs = std::filesystem;
using platform::preferences::SettingsApp;
using platform::springboard::SpringBoardHost;

// The Settings app's row for the extension's pane.
constexpr const char* kSettingsPaneLabel = "Tarrow8";

fs::path besideThisProgram(const char* file) {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path(file) : self.parent_path() / file;
}

fs::path freshTemporaryRoot() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate =
        fs::temp_directory_path() /
        ("tarrow8-device-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) return candidate;
  }
  throw std::runtime_error("cannot create a temporary device root in " +
                           fs::temp_directory_path().string());
}

// Where the package holds the tweak library, relative to the package (and the device root).
constexpr const char* kPackagedExtension = "Library/MobileSubstrate/DynamicLibraries/Tarrow8.dylib";

// Copies every file of `package` to the same place under `root`, as installing the package on
// the phone does, then `extension` (if given) over the packaged tweak library. Returns "" or why
// it failed.
std::string installPackage(const fs::path& package, const fs::path& extension,
                           const fs::path& root) {
  std::error_code ec;
  fs::copy(package, root, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  if (!ec && !extension.empty())
    fs::copy_file(extension, root / kPackagedExtension, fs::copy_options::overwrite_existing, ec);
  if (ec) return "cannot install the device package into " + root.string() + ": " + ec.message();
  return "";
}

fs::path hostPath(const std::string& devicePath) {
  auto path = platform::resolveDevicePath(devicePath);
  if (!path) throw std::runtime_error("\"" + devicePath + "\" is not an absolute device path");
  return *path;
}

}  // namespace

Phone::Phone(const PhoneOptions& options) {
  if (!platform::setDeviceLocale(options.locale)) {
    throw std::runtime_error("unknown locale \"" + options.locale +
                             "\" (try en_US, de_DE, fr_FR, ja_JP)");
  }
  if (!platform::setDeviceTimeZone(options.timeZone)) {
    throw std::runtime_error("unknown time zone \"" + options.timeZone +
                             "\" (use an Olson name such as UTC, Europe/Berlin, America/New_York)");
  }
  auto start = platform::parseDeviceDateTime(options.startTime);
  if (!start) {
    throw std::runtime_error("start time \"" + options.startTime +
                             "\" is not \"YYYY-MM-DD HH:MM[:SS]\"");
  }
  fs::path package = options.package.empty() ? besideThisProgram("package") : options.package;
  if (!fs::is_regular_file(package / kPackagedExtension)) {
    throw std::runtime_error("device package " + package.string() + " has no " +
                             kPackagedExtension + " (build the project, or pass --package DIR)");
  }
  if (!options.extension.empty() && !fs::is_regular_file(options.extension)) {
    throw std::runtime_error("extension library " + options.extension.string() +
                             " not found (build the project, or pass --extension PATH)");
  }
  if (options.deviceRoot.empty()) {
    root_ = freshTemporaryRoot();
    temporaryRoot_ = true;
  } else {
    root_ = fs::absolute(options.deviceRoot);
  }
  platform::setDeviceRoot(root_);
  start_ = *start;
  platform::DeviceClock::shared().setVirtual(
      static_cast<platform::DeviceTime>(*start * static_cast<double>(platform::kNanosPerSecond)));
  if (options.live) {
    platform::DeviceClock::shared().followWallClock();
    start_ = platform::DeviceClock::shared().nowSeconds();
  }
  platform::foundation::registerClasses();
  platform::dispatch::registerClasses();
  platform::dispatch::resetForNewDevice();
  platform::uikit::setDeviceIdiom(0);  // a new device is a phone until a scenario says otherwise
  platform::clearLog();
  platform::clearReadOnlyFolders();
  platform::springboard::DeliveryLog::shared().clear();
  launchBase_ = SpringBoardHost::shared().launchCount();
  std::string error = installPackage(package, options.extension, root_);
  if (!error.empty()) {
    std::error_code ignored;
    if (temporaryRoot_) fs::remove_all(root_, ignored);  // no destructor runs after a throw
    throw std::runtime_error(error);
  }
}

Phone::~Phone() {
  SettingsApp::shared().terminate();
  SpringBoardHost::shared().terminate();
  platform::DeviceClock::shared().setVirtual(platform::DeviceClock::shared().now());
  SpringBoardHost::shared().setLaunchListener(nullptr);
  platform::dispatch::resetForNewDevice();
  if (logSink_) platform::removeLogSink(logSink_);
  if (temporaryRoot_) {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
}

bool Phone::boot() {
  if (SpringBoardHost::shared().running()) return false;
  SpringBoardHost::shared().boot();
  platform::RunLoop::main().runDue();
  placeSettingsApp();
  return true;
}

void Phone::respring() {
  SpringBoardHost::shared().relaunch();
  platform::RunLoop::main().runDue();
  placeSettingsApp();
}

void Phone::lock() {
  SpringBoardHost::shared().lock();
  platform::RunLoop::main().runDue();
  placeSettingsApp();
}

void Phone::unlock() {
  SpringBoardHost::shared().unlock();
  platform::RunLoop::main().runDue();
  placeSettingsApp();
}

bool Phone::wake() {
  bool woke = SpringBoardHost::shared().wake();
  platform::RunLoop::main().runDue();
  return woke;
}

namespace {

using platform::springboard::SpringBoardUI;

// Runs `action` on the running SpringBoard's screens as SpringBoard, then everything it made
// due. Returns "" or the action's error.
std::string onSpringBoard(const std::function<std::string(SpringBoardUI&)>& action) {
  SpringBoardUI* ui = SpringBoardUI::running();
  if (!ui) return "SpringBoard is not running: put `boot` before this line";
  std::string error;
  {
    platform::ProcessScope scope(SpringBoardHost::shared().pid());
    platform::objc::AutoreleasePool pool;
    error = action(*ui);
  }
  platform::RunLoop::main().runDue();
  return error;
}

}  // namespace

std::string Phone::publish(const platform::springboard::BulletinContents& contents) {
  auto known = published_.find(contents.bulletinID);
  if (known != published_.end()) {
    auto earlier = known->second;
    earlier.date = contents.date;
    if (!(earlier == contents)) {
      return "bulletin " + contents.bulletinID +
             " was published before with other contents; give this one a new ID";
    }
  }
  std::string error = onSpringBoard([&](SpringBoardUI& ui) {
    ui.publish(contents);
    return "";
  });
  if (error.empty()) published_[contents.bulletinID] = contents;
  return error;
}

std::string Phone::withdraw(const std::string& bulletinID) {
  return onSpringBoard([&](SpringBoardUI& ui) -> std::string {
    if (!ui.withdraw(bulletinID))
      return "no application has bulletin " + bulletinID + " published (withdrawn already?)";
    return "";
  });
}

std::string Phone::openFromLockScreen(const std::string& bulletinID) {
  settingsShown_ = false;  // the bulletin's application comes to the front
  return onSpringBoard([&](SpringBoardUI& ui) { return ui.openFromLockScreen(bulletinID); });
}

std::string Phone::openFromNotificationCenter(const std::string& bulletinID) {
  settingsShown_ = false;
  return onSpringBoard(
      [&](SpringBoardUI& ui) { return ui.openFromNotificationCenter(bulletinID); });
}

std::string Phone::showNotificationCenter() {
  return onSpringBoard([](SpringBoardUI& ui) -> std::string {
    if (ui.notificationCenterVisible()) return "Notification Center is already shown";
    ui.showNotificationCenter();
    return "";
  });
}

std::string Phone::hideNotificationCenter() {
  return onSpringBoard([](SpringBoardUI& ui) -> std::string {
    if (!ui.notificationCenterVisible()) return "Notification Center is not shown";
    ui.hideNotificationCenter();
    return "";
  });
}

std::string Phone::clearNotificationCenterSection(const std::string& sectionID,
                                                  std::size_t* cleared) {
  return onSpringBoard([&](SpringBoardUI& ui) -> std::string {
    if (!ui.notificationCenterVisible()) return "Notification Center is not shown (use nc show)";
    *cleared = ui.clearNotificationCenterSection(sectionID);
    if (*cleared == 0) return "Notification Center has no section for " + sectionID;
    return "";
  });
}

void Phone::pullToClear(const std::optional<std::string>& sectionID) {
  std::map<std::string, std::string> info;
  if (sectionID) info["sectionID"] = *sectionID;
  postDistributed(kPullToClearNotification, info);
}

const platform::springboard::BulletinContents* Phone::published(
    const std::string& bulletinID) const {
  auto known = published_.find(bulletinID);
  return known == published_.end() ? nullptr : &known->second;
}

void Phone::wait(double seconds) {
  platform::RunLoop::main().runFor(seconds);
  platform::RunLoop::main().runDue();
  placeSettingsApp();
}

std::string Phone::openSettingsPane() {
  if (!springBoardRunning()) return "SpringBoard is not running (use boot first)";
  if (locked()) return "the phone is locked: unlock it to open the Settings app";
  SettingsApp& app = SettingsApp::shared();
  std::string error;
  if (!app.running()) error = app.launch();
  if (error.empty()) {
    settingsShown_ = true;
    placeSettingsApp();
    error = app.openPane(kSettingsPaneLabel);
  }
  platform::RunLoop::main().runDue();
  placeSettingsApp();
  return error;
}

std::string Phone::closeSettingsPane() {
  SettingsApp& app = SettingsApp::shared();
  if (!settingsPaneShown()) return "the Settings pane is not shown (use settings-app open)";
  std::string error = app.closePane();
  settingsShown_ = false;
  platform::RunLoop::main().runDue();
  placeSettingsApp();
  return error;
}

bool Phone::settingsPaneShown() const {
  const SettingsApp& app = SettingsApp::shared();
  return settingsShown_ && app.running() && app.inForeground();
}

void Phone::placeSettingsApp() {
  SettingsApp& app = SettingsApp::shared();
  if (!app.running()) return;
  bool front = settingsShown_ && springBoardRunning() && !locked();
  if (front && !app.inForeground()) app.enterForeground();
  if (!front && app.inForeground()) app.enterBackground();
}

bool Phone::springBoardRunning() const {
  return SpringBoardHost::shared().running();
}
int Phone::launchCount() const {
  return SpringBoardHost::shared().launchCount() - launchBase_;
}
bool Phone::locked() const {
  return SpringBoardHost::shared().locked();
}

double Phone::elapsed() const {
  return platform::DeviceClock::shared().nowSeconds() - start_;
}

double Phone::now() const {
  return platform::DeviceClock::shared().nowSeconds();
}

std::string Phone::localTime() const {
  return platform::formatDatePattern(platform::DeviceClock::shared().nowSeconds(),
                                     "yyyy-MM-dd HH:mm:ss.SSS");
}

std::string Phone::changeSettings(
    const std::map<std::string, std::optional<platform::plist::Value>>& changes, bool notify) {
  fs::path path = hostPath(kSettingsFile);
  platform::plist::Value contents{platform::plist::Dictionary{}};
  if (auto existing = platform::plist::readFile(path);
      existing.value && existing.value->is<platform::plist::Dictionary>()) {
    contents = *existing.value;
  }
  auto& entries = contents.as<platform::plist::Dictionary>();
  for (const auto& [key, value] : changes) {
    if (value)
      entries[key] = *value;
    else
      entries.erase(key);
  }
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  auto written = platform::plist::writeFileAtomically(path, contents);
  if (!written.ok) return written.error;
  if (notify) postDarwin(kPreferencesNotification);
  return "";
}

std::string Phone::writeFile(const std::string& devicePath, const std::string& contents) {
  fs::path path = hostPath(devicePath);
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << contents;
  out.close();
  return out ? "" : "cannot write " + devicePath;
}

void Phone::setFolderReadOnly(const std::string& devicePath, bool readOnly) {
  platform::setFolderReadOnly(hostPath(devicePath), readOnly);
}

void Phone::deleteFile(const std::string& devicePath) {
  std::error_code ec;
  fs::remove(hostPath(devicePath), ec);
}

std::optional<platform::plist::Value> Phone::readPropertyList(const std::string& devicePath) const {
  auto result = platform::plist::readFile(hostPath(devicePath));
  return result.value;
}

std::string Phone::propertyListProblem(const std::string& devicePath) const {
  fs::path path = hostPath(devicePath);
  std::string error = platform::plist::readFile(path).error;
  // The reader names the host's file; the device's name is the one the user knows.
  if (error.rfind(path.string(), 0) == 0) error.replace(0, path.string().size(), devicePath);
  return error;
}

bool Phone::fileExists(const std::string& devicePath) const {
  return fs::exists(hostPath(devicePath));
}

void Phone::postDarwin(const std::string& name) {
  platform::objc::AutoreleasePool pool;
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       platform::nsstring(name), nullptr, nullptr, true);
  platform::RunLoop::main().runDue();
}

void Phone::postDistributed(const std::string& name,
                            const std::map<std::string, std::string>& userInfo) {
  {
    platform::objc::AutoreleasePool pool;
    platform::objc::Strong info;
    if (!userInfo.empty()) {
      info = platform::mutableDictionary();
      for (const auto& [key, value] : userInfo)
        platform::setObjectForKey(info, key, platform::nsstring(value));
    }
    sel::postNotificationName_object_userInfo_deliverImmediately(
        sel::defaultCenter(reinterpret_cast<id>(platform::NSDistributedNotificationCenterClass())),
        platform::nsstring(name), nil, info, YES);
  }
  platform::RunLoop::main().runDue();
}

std::optional<platform::plist::Value> Phone::extensionState() const {
  auto& host = SpringBoardHost::shared();
  if (!host.running()) return std::nullopt;
  auto copy =
      reinterpret_cast<id (*)()>(host.extensions().symbol("Tarrow8", "Tarrow8CopyDiagnostics"));
  if (!copy) return std::nullopt;
  platform::objc::AutoreleasePool pool;
  platform::objc::Strong snapshot = platform::objc::Strong::adopt(copy());
  return platform::valueFromObject(snapshot);
}

void* Phone::extensionSymbol(const char* symbol) const {
  auto& host = SpringBoardHost::shared();
  return host.running() ? host.extensions().symbol("Tarrow8", symbol) : nullptr;
}

std::vector<std::string> Phone::loaderErrors() const {
  return SpringBoardHost::shared().extensions().errors();
}

void Phone::setLogListener(std::function<void(const std::string&, const std::string&)> listener) {
  if (logSink_) platform::removeLogSink(logSink_);
  logSink_ = platform::addLogSink([listener = std::move(listener)](const platform::LogEntry& e) {
    listener(e.process, e.message);
  });
}

void Phone::setCrashListener(std::function<void(const std::string&, const std::string&)> listener) {
  platform::RunLoop::main().setCrashHandler(
      [listener = std::move(listener)](platform::ProcessId pid, const NSException& e) {
        listener(platform::processName(pid), e.what());
      });
}

}  // namespace sim
