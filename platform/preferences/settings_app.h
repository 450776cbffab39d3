#pragma once
// The Settings app ("Preferences") on the device: a process of its own with one window, whose
// navigation controller's root lists the preference entries installed under
// /Library/PreferenceLoader/Preferences, and the panes and lists it pushes over that root.
//
// Every action below is a user's touch: it goes through the same objects and sends as on the
// phone (a row tap is the table's selection, a switch flip the switch's value-changed action),
// as the Settings process. Events an action queues (deliveries, the end of an animated
// transition) run when the caller next runs the main run loop. An NSException escaping the
// Settings app's code is its crash: the process ends and the action answers why.
//
// Opening a pane, the first time for its entry: the entry's bundle is loaded (a fresh private
// copy of its executable, so its globals start anew in each launch), its principal class is
// sent alloc and initForContentSize: once, then specifiers, then it is pushed; every time: it
// gets viewWillAppear: as it is pushed, then its table shows its cells. Closing it pops to the
// root; the controller is kept for the rest of the launch.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/process.h"
#include "platform/objc/strong.h"
#include "platform/preferences/preference_bundle.h"   // kPreferenceBundlesFolder
#include "platform/preferences/preference_entries.h"  // kPreferenceEntriesFolder

namespace platform::preferences {

// What a pane's row is, by its specifier's "cell".
enum class RowKind { Switch, Link, StaticText, TitleValue, Button, Other };
// The on tint of a row's switch: the platform's green (none set), red, or another colour.
enum class SwitchTint { Default, Red, Other };

// One row of a pane as its cell shows it.
struct PaneRow {
  long section = 0;
  long row = 0;
  std::string label;       // the cell's text label
  std::string key;         // the specifier's "key", "" when it has none
  std::string identifier;  // the specifier's identifier ("id", else its label)
  RowKind kind = RowKind::Other;
  std::string value;  // the text the cell shows for its value (detail label); "" for switches
  bool on = false;    // Switch: the switch is on
  // The cell takes no touches, or its switch is disabled.
  bool greyed = false;
  SwitchTint tint = SwitchTint::Default;  // Switch only
};

// The pane that is open: its title, its rows top first, and each section's footer.
struct PaneShot {
  std::string title;
  std::vector<PaneRow> rows;
  std::vector<std::string> footers;  // by section; "" for a section without one
  bool onTop = true;                 // false while an application list covers it
};

// One application of an open application list.
struct ListRow {
  std::string bundleIdentifier;
  std::string name;  // its name as the cell shows it
  bool checked = false;
  std::string iconBundleIdentifier;  // the application whose icon the cell shows; "" for none
};

struct ListSection {
  std::string title;
  std::vector<ListRow> rows;
};

// The application list on top: its sections in order, and what it reported (predicates it
// could not read, settings it could not write), oldest first.
struct ListShot {
  std::string title;
  std::vector<ListSection> sections;
  std::vector<std::string> problems;
};

class SettingsApp {
 public:
  // The host of the one Settings app on the device.
  static SettingsApp& shared();

  // Starts the Settings app: a new process with its window shown (in the foreground) and the
  // root listing the entries that load, by label. Entries, bundles and Info.plists that cannot
  // be used are reported in errors(). Returns "" or an error (it runs already).
  std::string launch();
  // Ends the Settings app: its process's windows, alerts, events and registrations go, its
  // objects are released and its bundles unloaded. Does nothing when not running. The owner of
  // the device calls it before the device is reset, as it ends SpringBoard.
  void terminate();
  bool running() const;
  ProcessId pid() const;
  // How many times the Settings app has been launched since the host was created.
  int launchCount() const { return launches_; }

  // What could not be loaded since the last launch (entries, bundles, executables, principal
  // classes), oldest first; each message names the file and what is wrong with it.
  const std::vector<std::string>& errors() const { return errors_; }
  // The labels the root lists, top first (empty when not running).
  std::vector<std::string> entries() const;

  // Taps the root's row `label` (closing what is open first, as going back to the root would).
  // Returns "" or what to fix: not running, no such entry, its bundle would not load.
  std::string openPane(const std::string& label);
  // Goes back to the root (popToRootViewControllerAnimated:); the pane's controller is kept.
  // Returns "" or an error (not running, no pane open).
  std::string closePane();
  // The pane that is open, read from the cells it shows, into *shot (when not null). Returns ""
  // or why there is none.
  std::string pane(PaneShot* shot) const;

  // Flips the switch of the pane's row whose specifier has `key`, as a touch. Returns "" or
  // what to fix: no pane on top, no such row, the row is not a switch, or it is greyed.
  std::string toggle(const std::string& key);
  // Taps the pane's link row whose specifier's identifier is `specifierID`. Returns "" or what
  // to fix: no such row, not a link, greyed, or the tap opened nothing (the log says why).
  std::string openList(const std::string& specifierID);
  // The application list on top, into *shot (when not null). Returns "" or why there is none.
  std::string list(ListShot* shot) const;
  // Taps the row of `bundleIdentifier` in the list on top when its check mark is not already
  // `checked`. Returns "" or what to fix: no list, no such row, already so, or the list could
  // not write the settings file (the mark then stays as it was).
  std::string check(const std::string& bundleIdentifier, bool checked);
  // Leaves what is on top for the controller below it (the navigation bar's back button).
  // Returns "" or an error (not running, already at the root).
  std::string back();

  // Takes the Settings app off the screen and brings it back (its windows and alerts are on
  // screen only in the foreground). Nothing else changes: no controller hears of it.
  void enterBackground();
  void enterForeground();
  bool inForeground() const { return running() && foreground_; }

  // The controller of the pane for entry `label` (nil when never opened in this launch), and
  // the controller on top of the navigation stack (nil when not running). Not retained.
  id paneController(const std::string& label) const;
  id topController() const;
  // The address of `symbol` in the loaded bundle `bundle` ("Tarrow8"), for tests that reach a
  // bundle's state; null when it is not loaded in this launch.
  void* bundleSymbol(const std::string& bundle, const char* symbol) const;

 private:
  friend struct RootListTap;
  struct State;
  struct FoundPaneRow;

  SettingsApp();
  ~SettingsApp();
  void tearDown();
  void processEnded();
  std::string crashed(const std::string& reason);
  std::string whenRunning() const;
  template <class Work>
  std::string asSettings(Work work);
  // The root list's row `label` was tapped: opens that entry's pane.
  void openEntryNamed(const std::string& label);
  // The pane in the navigation stack (just above the root), nil when none.
  id openPaneController() const;
  // The first row of the pane on top that `matches`; "" or why there is none.
  std::string findPaneRow(const std::function<bool(const PaneRow&)>& matches,
                          const std::string& what, FoundPaneRow* found) const;

  ProcessId pid_ = 0;
  int launches_ = 0;
  bool foreground_ = true;
  bool terminating_ = false;
  bool tearDownPending_ = false;
  std::vector<std::string> errors_;
  std::unique_ptr<State> state_;  // what the running launch made
};

}  // namespace platform::preferences
