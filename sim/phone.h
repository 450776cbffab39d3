#pragma once
// The simulated phone: a device root, the virtual clock, the notification centres, SpringBoard
// with the installed extension, and the user's and the Settings app's actions on it.

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/foundation/plist_value.h"
#include "platform/objc/strong.h"
#include "platform/springboard/bulletin.h"

namespace sim {

struct PhoneOptions {
  // Folder that holds the device's files; empty: a fresh temporary folder, removed at the end.
  std::filesystem::path deviceRoot;
  // The device package: both deliverables laid out as installed on the phone (Library/...),
  // copied into the device root. Empty: the "package" folder beside the running program.
  std::filesystem::path package;
  // A tweak library to install instead of the package's; empty: the package's own.
  std::filesystem::path extension;
  std::string locale = "en_US";
  std::string timeZone = "UTC";
  // Device time the clock starts at, as "YYYY-MM-DD HH:MM[:SS]" in the time zone.
  std::string startTime = "2026-12-09 08:00";
  // Follow the host's wall clock instead of the virtual one (startTime is then ignored).
  bool live = false;
};

class Phone {
 public:
  // Sets the device up (root, clock, locale, extension installed) without launching
  // SpringBoard. Throws std::runtime_error with a message saying what to fix.
  explicit Phone(const PhoneOptions& options);
  // Ends SpringBoard, empties the device's centres and run loop, removes a temporary root.
  ~Phone();
  Phone(const Phone&) = delete;
  Phone& operator=(const Phone&) = delete;

  // Launches SpringBoard (its extensions load first). Returns false when it already runs.
  bool boot();
  // Relaunches SpringBoard: memory is gone, files stay. REQUIRES: running.
  void respring();
  void lock();
  void unlock();
  // Turns the display on; returns false when it was already on.
  bool wake();
  // Lets `seconds` of device time pass, running everything that falls due.
  void wait(double seconds);

  // The user opens the Settings app on the extension's pane: the app starts when it does not
  // run, comes to the front, and shows the pane (the pane's viewWillAppear: runs each time).
  // Returns "" or why not: SpringBoard not running, the phone locked, the pane would not load
  // (the Settings app's loader errors name the files).
  std::string openSettingsPane();
  // The user leaves the pane for the home screen; the Settings app stays in the background and
  // keeps the pane's controller. Returns "" or an error (the pane is not shown).
  std::string closeSettingsPane();
  // Whether the user is in the Settings app (on the pane or a list it opened) and it is on
  // screen: not while the phone is locked, nor after another application came up.
  bool settingsPaneShown() const;

  bool springBoardRunning() const;
  // How many times SpringBoard has launched on this phone.
  int launchCount() const;
  bool locked() const;
  // Seconds since the phone was set up.
  double elapsed() const;
  // The device time, in seconds since the reference date.
  double now() const;
  // The device's local time, "2026-12-09 08:00:05.250".
  std::string localTime() const;

  // Rewrites the settings file with `changes` applied (a missing file starts empty; a key whose
  // value is nullopt is removed), as the settings pane does, and posts its Darwin notification.
  // Returns "" or an error.
  std::string changeSettings(
      const std::map<std::string, std::optional<platform::plist::Value>>& changes,
      bool notify = true);
  // Writes `contents` as the whole file at `devicePath`. Returns "" or an error.
  std::string writeFile(const std::string& devicePath, const std::string& contents);
  // Makes the device folder `devicePath` refuse every write inside it, or take writes again.
  void setFolderReadOnly(const std::string& devicePath, bool readOnly);
  // Deletes the file at `devicePath`, if any.
  void deleteFile(const std::string& devicePath);
  // The settings file's contents, or nothing when it cannot be read.
  std::optional<platform::plist::Value> readPropertyList(const std::string& devicePath) const;
  bool fileExists(const std::string& devicePath) const;
  // Why the device's property-list reader (the one the extension reads settings with) refuses
  // the file at `devicePath`, or "" when it reads it.
  std::string propertyListProblem(const std::string& devicePath) const;

  // The application `contents.sectionID` publishes a bulletin to every destination. Returns ""
  // or an error: SpringBoard not running, or the ID already published with other contents.
  std::string publish(const platform::springboard::BulletinContents& contents);
  // The application withdraws bulletin `bulletinID`. Returns "" or an error.
  std::string withdraw(const std::string& bulletinID);
  // The user opens a bulletin from the lock screen or from Notification Center. Returns "" or
  // why it cannot be done (the screen is not shown, or does not show that bulletin).
  std::string openFromLockScreen(const std::string& bulletinID);
  std::string openFromNotificationCenter(const std::string& bulletinID);
  // Pulls Notification Center down or puts it away. Returns "" or an error.
  std::string showNotificationCenter();
  std::string hideNotificationCenter();
  // Taps the clear button of `sectionID`'s section in Notification Center; *cleared is set to
  // how many bulletins went. Returns "" or an error.
  std::string clearNotificationCenterSection(const std::string& sectionID, std::size_t* cleared);
  // The other lock-screen extension's request to clear one application's section (without an
  // application, a request without "sectionID").
  void pullToClear(const std::optional<std::string>& sectionID);
  // What the bulletin `bulletinID` was last published with, if anything.
  const platform::springboard::BulletinContents* published(const std::string& bulletinID) const;

  // Posts a Darwin notification (a name only).
  void postDarwin(const std::string& name);
  // Posts a distributed notification with string user-info entries (none: nil user info).
  void postDistributed(const std::string& name, const std::map<std::string, std::string>& userInfo);

  // The extension's diagnostics snapshot, or nothing when SpringBoard or the extension is absent.
  std::optional<platform::plist::Value> extensionState() const;
  // The address of `symbol` in the loaded extension (for tests that reach its state directly),
  // or null when SpringBoard or the extension is absent.
  void* extensionSymbol(const char* symbol) const;
  // Problems the extension loader met at the last launch.
  std::vector<std::string> loaderErrors() const;

  // Sees every NSLog line and every crash from now on.
  void setLogListener(
      std::function<void(const std::string& process, const std::string& message)> listener);
  void setCrashListener(
      std::function<void(const std::string& process, const std::string& what)> listener);

  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
  bool temporaryRoot_ = false;
  double start_ = 0;
  int launchBase_ = 0;
  int logSink_ = 0;
  std::function<void(const std::string&, const std::string&)> logListener_;
  std::map<std::string, platform::springboard::BulletinContents> published_;
  bool settingsShown_ = false;  // the user is in the Settings app

  // Puts the Settings app on screen while the user is in it and the phone is unlocked, and
  // takes it off otherwise (a lock, a relaunch, another application coming up).
  void placeSettingsApp();
};

// The settings file both deliverables share.
inline constexpr const char* kSettingsFile =
    "/var/mobile/Library/Preferences/net.vornel.tarrow8.plist";
inline constexpr const char* kLegacySettingsFile =
    "/var/mobile/Library/Preferences/net.vornel.tarrow.plist";
inline constexpr const char* kPreferencesNotification = "net.vornel.tarrow8/preferences";
inline constexpr const char* kPullToClearNotification =
    "com.brelwick.priorityhub-pulltoclearsection";

}  // namespace sim
