// The Settings app's process: its window and navigation stack, the entries its root lists, the
// panes it loads from bundles, and the user's touches on them.

#include "platform/preferences/settings_app.h"

#include <algorithm>
#include <map>

#include "platform/dispatch/reset.h"
#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/foundation_classes.h"
#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/preferences/applist/application_list.h"
#include "platform/preferences/preferences_classes.h"
#include "platform/preferences/pslistcontroller.h"
#include "platform/preferences/psspecifier.h"
#include "platform/preferences/pstablecell.h"
#include "platform/uikit/uikit_classes.h"

namespace platform::preferences {
namespace {

using objc::Strong;

void openEntry(id root, SEL, id table, id indexPath);

// The root of the Settings app: a list whose rows are the installed entries; a tap on one opens
// its pane through the host.
Class rootControllerClass() {
  static Class cls = objc::deviceClass(
      "PrefsListController", PSListControllerClass(),
      [](objc::ClassBuilder& b) { b.method(sel::tableView_didSelectRowAtIndexPath, openEntry); });
  return cls;
}

std::string joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text.empty() ? "none" : text;
}

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

RowKind kindOf(long cellType) {
  switch (cellType) {
    case PSSwitchCell:
      return RowKind::Switch;
    case PSLinkCell:
    case PSLinkListCell:
      return RowKind::Link;
    case PSStaticTextCell:
      return RowKind::StaticText;
    case PSTitleValueCell:
      return RowKind::TitleValue;
    case PSButtonCell:
      return RowKind::Button;
    default:
      return RowKind::Other;
  }
}

SwitchTint tintOf(id color) {
  if (!color) return SwitchTint::Default;
  uikit::ColorComponents c;
  if (uikit::colorComponents(color, &c) && c.red == 1 && c.green == 0 && c.blue == 0 &&
      c.alpha == 1)
    return SwitchTint::Red;
  return SwitchTint::Other;
}

// The first table in `controller`'s view (nil when its view is not loaded).
id tableOf(id controller) {
  if (!controller || !sel::isViewLoaded(controller)) return nil;
  id found = nil;
  uikit::forEachViewInTree(sel::view(controller), [&](id view) {
    if (!found && objc::isKindOf(view, uikit::UITableViewClass())) found = view;
  });
  return found;
}

// A row of a pane as its cell shows it.
PaneRow describeRow(const uikit::ShownTableRow& shown) {
  PaneRow row;
  row.section = sel::section(shown.indexPath);
  row.row = sel::row(shown.indexPath);
  id cell = shown.cell;
  row.label = utf8(sel::text(sel::textLabel(cell)));
  row.value = utf8(sel::text(sel::detailTextLabel(cell)));
  id specifier =
      objc::respondsTo(cell, sel::specifier.sel()) ? sel::specifier(cell) : static_cast<id>(nil);
  if (specifier) {
    row.key = utf8(sel::propertyForKey(specifier, CFSTR("key")));
    row.identifier = utf8(sel::identifier(specifier));
    row.kind = kindOf(sel::cellType(specifier));
  }
  row.greyed = !uikit::takesTouches(cell);
  id control = objc::respondsTo(cell, sel::control.sel()) ? sel::control(cell) : nil;
  if (objc::isKindOf(control, uikit::UISwitchClass())) {
    row.on = sel::isOn(control) != NO;
    row.tint = tintOf(sel::onTintColor(control));
    if (!sel::isEnabled(control)) row.greyed = true;
  }
  return row;
}

}  // namespace

// A pane's row as shown: what it says, its cell, its table and its index path.
struct SettingsApp::FoundPaneRow {
  PaneRow row;
  id cell = nil;
  id table = nil;
  id indexPath = nil;
};

// The root controller's way in to the host.
struct RootListTap {
  static void tapped(const std::string& label) { SettingsApp::shared().openEntryNamed(label); }
};

// What one launch made: its bundles, its window and navigation stack, and the panes it opened.
struct SettingsApp::State {
  BundleLoader bundles;
  std::vector<PreferenceEntry> entries;
  Strong window;
  Strong navigation;
  Strong root;
  std::map<std::string, Strong> panes;  // by entry label
  std::string openError;                // why the last tap on an entry opened nothing
};

SettingsApp& SettingsApp::shared() {
  static auto* app = new SettingsApp();
  return *app;
}

SettingsApp::SettingsApp() {
  onProcessExit([this](ProcessId pid) {
    if (pid == pid_ && !terminating_) processEnded();
  });
}

SettingsApp::~SettingsApp() = default;

bool SettingsApp::running() const {
  return pid_ != 0 && isRunning(pid_);
}

ProcessId SettingsApp::pid() const {
  return running() ? pid_ : 0;
}

std::string SettingsApp::launch() {
  if (running()) return "the Settings app is running already";
  if (state_) tearDown();  // what a crash left, should the device not have cleaned it yet
  foundation::registerClasses();
  dispatch::registerClasses();
  uikit::registerClasses();
  registerClasses();
  rootControllerClass();
  pid_ = launchProcess("Preferences");
  ++launches_;
  foreground_ = true;
  errors_.clear();
  state_ = std::make_unique<State>();
  ProcessScope scope(pid_);
  objc::AutoreleasePool pool;
  EntryScan scan = scanPreferenceEntries();
  errors_ = scan.errors;
  state_->entries = std::move(scan.entries);
  Strong rows = mutableArray();
  for (const PreferenceEntry& entry : state_->entries)
    sel::addObject(rows, makeSpecifier(nsstring(entry.label), PSLinkCell));
  state_->root = Strong::adopt(sel::initForContentSize(
      sel::alloc(reinterpret_cast<id>(rootControllerClass())), uikit::mainScreenBounds().size));
  sel::setTitle(state_->root, nsstring("Settings"));
  sel::setSpecifiers(state_->root, rows);
  state_->navigation = Strong::adopt(sel::initWithRootViewController(
      sel::alloc(reinterpret_cast<id>(uikit::UINavigationControllerClass())), state_->root));
  state_->window = uikit::makeView(uikit::UIWindowClass(), uikit::mainScreenBounds());
  sel::setRootViewController(state_->window, state_->navigation);
  sel::makeKeyAndVisible(state_->window);
  return "";
}

void SettingsApp::terminate() {
  if (!running()) {
    if (state_) tearDown();
    return;
  }
  terminating_ = true;
  terminateProcess(pid_);  // its windows, alerts, events and registrations go
  terminating_ = false;
  tearDown();
}

// Releases what the launch made while its bundles are still loaded, then unloads them.
void SettingsApp::tearDown() {
  tearDownPending_ = false;
  if (state_) {
    {
      objc::AutoreleasePool pool;
      state_->panes.clear();
      state_->window.reset();
      state_->navigation.reset();
      state_->root.reset();
    }
    state_->bundles.unloadAll();
    state_.reset();
  }
  pid_ = 0;
}

// The process ended by another road (a crash): the device cleans up once the code that was
// running, perhaps a bundle's, has returned.
void SettingsApp::processEnded() {
  if (tearDownPending_) return;
  tearDownPending_ = true;
  ProcessId ended = pid_;
  RunLoop::main().postFor(kDeviceProcess, DeviceClock::shared().now(), [this, ended] {
    if (tearDownPending_ && pid_ == ended) tearDown();
  });
}

std::string SettingsApp::crashed(const std::string& reason) {
  std::string message = "the Settings app crashed: " + reason;
  errors_.push_back(message);
  terminate();
  return message;
}

std::string SettingsApp::whenRunning() const {
  return running() ? "" : "the Settings app is not running: launch it first";
}

template <class Work>
std::string SettingsApp::asSettings(Work work) {
  if (std::string error = whenRunning(); !error.empty()) return error;
  try {
    ProcessScope scope(pid_);
    objc::AutoreleasePool pool;
    return work();
  } catch (const NSException& exception) {
    return crashed(exception.reason());
  }
}

std::vector<std::string> SettingsApp::entries() const {
  std::vector<std::string> labels;
  if (!running()) return labels;
  for (const PreferenceEntry& entry : state_->entries) labels.push_back(entry.label);
  return labels;
}

namespace {

// The root's row was tapped: the first time, its bundle loads and its controller is made and
// asked for its specifiers; every time, the controller is pushed.
void openEntry(id root, SEL, id table, id indexPath) {
  sel::deselectRowAtIndexPath_animated(table, indexPath, YES);
  id specifier = specifierAtRow(root, sel::section(indexPath), sel::row(indexPath));
  RootListTap::tapped(utf8(sel::name(specifier)));
}

}  // namespace

void SettingsApp::openEntryNamed(const std::string& label) {
  State& s = *state_;
  s.openError.clear();
  auto entry = std::find_if(s.entries.begin(), s.entries.end(),
                            [&](const PreferenceEntry& e) { return e.label == label; });
  if (entry == s.entries.end()) return;
  auto known = s.panes.find(label);
  if (known == s.panes.end()) {
    std::string error;
    Class cls = s.bundles.load(entry->bundle, &error);
    if (cls && !class_respondsToSelector(cls, sel::initForContentSize.sel()))
      error = entry->bundle.deviceFolder + ": its class " + entry->bundle.principalClass +
              " does not answer initForContentSize: (it is no PSListController)";
    if (!error.empty()) {
      errors_.push_back(error);
      s.openError = error;
      return;
    }
    Strong pane = Strong::adopt(sel::initForContentSize(sel::alloc(reinterpret_cast<id>(cls)),
                                                        uikit::mainScreenBounds().size));
    if (!pane) {
      s.openError = entry->bundle.principalClass + "'s initForContentSize: answered nil";
      errors_.push_back(s.openError);
      return;
    }
    if (objc::respondsTo(pane, sel::setSpecifier.sel()))
      sel::setSpecifier(pane, sel::specifierForID(s.root, nsstring(label)));
    if (objc::respondsTo(pane, sel::specifiers.sel())) sel::specifiers(pane);
    if (!sel::title(pane)) sel::setTitle(pane, nsstring(label));
    known = s.panes.emplace(label, pane).first;
  }
  sel::pushViewController_animated(s.navigation, known->second, YES);
}

std::string SettingsApp::openPane(const std::string& label) {
  return asSettings([&]() -> std::string {
    State& s = *state_;
    auto entry = std::find_if(s.entries.begin(), s.entries.end(),
                              [&](const PreferenceEntry& e) { return e.label == label; });
    if (entry == s.entries.end()) {
      std::vector<std::string> labels;
      for (const PreferenceEntry& e : s.entries) labels.push_back(quoted(e.label));
      return "the Settings app lists no " + quoted(label) + " (it lists " + joined(labels) +
             (errors_.empty() ? "" : "; see its loader errors") + ")";
    }
    if (sel::count(sel::viewControllers(s.navigation)) > 1)
      sel::popToRootViewControllerAnimated(s.navigation, NO);
    long row = static_cast<long>(entry - s.entries.begin());
    s.openError = "tapping " + quoted(label) + " opened nothing";
    std::string error = uikit::selectRow(sel::table(s.root), indexPath(row, 0));
    if (!error.empty()) return error;
    return s.openError;
  });
}

std::string SettingsApp::closePane() {
  return asSettings([&]() -> std::string {
    if (sel::count(sel::viewControllers(state_->navigation)) < 2)
      return "no pane is open: the Settings app shows its root list";
    sel::popToRootViewControllerAnimated(state_->navigation, YES);
    return "";
  });
}

std::string SettingsApp::back() {
  return asSettings([&]() -> std::string {
    if (sel::count(sel::viewControllers(state_->navigation)) < 2)
      return "nothing to go back from: the Settings app shows its root list";
    sel::popViewControllerAnimated(state_->navigation, YES);
    return "";
  });
}

id SettingsApp::paneController(const std::string& label) const {
  if (!state_) return nil;
  auto known = state_->panes.find(label);
  return known == state_->panes.end() ? nil : known->second.get();
}

void* SettingsApp::bundleSymbol(const std::string& bundle, const char* symbol) const {
  return state_ ? state_->bundles.symbol(bundle, symbol) : nullptr;
}

id SettingsApp::topController() const {
  return running() ? sel::topViewController(state_->navigation) : nil;
}

// The pane in the navigation stack: the controller just above the root.
id SettingsApp::openPaneController() const {
  if (!running()) return nil;
  id stack = sel::viewControllers(state_->navigation);
  return sel::count(stack) > 1 ? sel::objectAtIndex(stack, 1) : nil;
}

std::string SettingsApp::pane(PaneShot* shot) const {
  if (std::string error = whenRunning(); !error.empty()) return error;
  ProcessScope scope(pid_);
  objc::AutoreleasePool pool;
  id pane = openPaneController();
  if (!pane) return "no pane is open: open one first";
  PaneShot read;
  read.title = utf8(sel::title(pane));
  read.onTop = sel::topViewController(state_->navigation) == pane;
  id table = tableOf(pane);
  for (const uikit::ShownTableRow& shown : uikit::shownRows(table))
    read.rows.push_back(describeRow(shown));
  long sections = table ? sel::numberOfSections(table) : 0;
  for (long section = 0; section < sections; ++section) {
    const auto& question = sel::tableView_titleForFooterInSection;
    id source = sel::dataSource(table);
    read.footers.push_back(
        objc::respondsTo(source, question.sel()) ? utf8(question(source, table, section)) : "");
  }
  if (shot) *shot = std::move(read);
  return "";
}

// The pane's row whose specifier answers `matches`, if the pane is on top and shows one.
std::string SettingsApp::findPaneRow(const std::function<bool(const PaneRow&)>& matches,
                                     const std::string& what, FoundPaneRow* found) const {
  id pane = openPaneController();
  if (!pane) return "no pane is open: open one first";
  if (sel::topViewController(state_->navigation) != pane)
    return "a list covers the pane: go back to it first";
  id table = tableOf(pane);
  std::vector<std::string> known;
  for (const uikit::ShownTableRow& shown : uikit::shownRows(table)) {
    PaneRow row = describeRow(shown);
    if (matches(row)) {
      *found = {row, shown.cell, table, shown.indexPath};
      return "";
    }
    if (!row.key.empty()) known.push_back(row.key);
  }
  return "the pane shows no row " + what + " (its rows with keys: " + joined(known) + ")";
}

std::string SettingsApp::toggle(const std::string& key) {
  return asSettings([&]() -> std::string {
    FoundPaneRow found;
    std::string error = findPaneRow([&](const PaneRow& r) { return r.key == key; },
                                    "that edits " + quoted(key), &found);
    if (!error.empty()) return error;
    const PaneRow& row = found.row;
    if (row.kind != RowKind::Switch)
      return "the row " + quoted(row.label) + " (" + key + ") is not a switch";
    if (row.greyed)
      return "the row " + quoted(row.label) + " (" + key + ") is greyed: it takes no touches";
    return uikit::flipSwitch(sel::control(found.cell));
  });
}

std::string SettingsApp::openList(const std::string& specifierID) {
  return asSettings([&]() -> std::string {
    FoundPaneRow found;
    std::string error = findPaneRow([&](const PaneRow& r) { return r.identifier == specifierID; },
                                    "with the identifier " + quoted(specifierID), &found);
    if (!error.empty()) return error;
    const PaneRow& row = found.row;
    if (row.kind != RowKind::Link)
      return "the row " + quoted(row.label) + " (" + specifierID + ") is not a link";
    if (row.greyed)
      return "the row " + quoted(row.label) + " (" + specifierID +
             ") is greyed: it takes no touches";
    id before = sel::topViewController(state_->navigation);
    if (std::string tapped = uikit::selectRow(found.table, found.indexPath); !tapped.empty())
      return tapped;
    if (sel::topViewController(state_->navigation) == before)
      return "tapping " + quoted(row.label) + " opened nothing (the Settings app's log says why)";
    return "";
  });
}

std::string SettingsApp::list(ListShot* shot) const {
  if (std::string error = whenRunning(); !error.empty()) return error;
  ProcessScope scope(pid_);
  objc::AutoreleasePool pool;
  id top = sel::topViewController(state_->navigation);
  if (!objc::isKindOf(top, ALApplicationListControllerClass()))
    return "no application list is open: open one from the pane first";
  ListShot read;
  read.title = utf8(sel::title(top));
  read.problems = applicationListProblems(top);
  id table = tableOf(top);
  long sections = table ? sel::numberOfSections(table) : 0;
  for (long section = 0; section < sections; ++section)
    read.sections.push_back(
        {utf8(sel::tableView_titleForHeaderInSection(top, table, section)), {}});
  for (const uikit::ShownTableRow& shown : uikit::shownRows(table)) {
    long section = sel::section(shown.indexPath);
    if (section < 0 || section >= sections) continue;
    ListRow row;
    row.bundleIdentifier = applicationListBundleIdentifier(top, section, sel::row(shown.indexPath));
    row.name = utf8(sel::text(sel::textLabel(shown.cell)));
    row.checked = sel::accessoryType(shown.cell) == uikit::UITableViewCellAccessoryCheckmark;
    row.iconBundleIdentifier = uikit::imageBundleIdentifier(sel::image(sel::imageView(shown.cell)));
    read.sections[static_cast<std::size_t>(section)].rows.push_back(std::move(row));
  }
  if (shot) *shot = std::move(read);
  return "";
}

std::string SettingsApp::check(const std::string& bundleIdentifier, bool checked) {
  return asSettings([&]() -> std::string {
    id top = sel::topViewController(state_->navigation);
    if (!objc::isKindOf(top, ALApplicationListControllerClass()))
      return "no application list is open: open one from the pane first";
    id table = tableOf(top);
    for (const uikit::ShownTableRow& shown : uikit::shownRows(table)) {
      long section = sel::section(shown.indexPath);
      long row = sel::row(shown.indexPath);
      if (applicationListBundleIdentifier(top, section, row) != bundleIdentifier) continue;
      Strong cell(shown.cell);
      auto marked = [&] {
        return sel::accessoryType(cell) == uikit::UITableViewCellAccessoryCheckmark;
      };
      if (marked() == checked)
        return bundleIdentifier + " is " + (checked ? "checked" : "unchecked") + " already";
      std::size_t problems = applicationListProblems(top).size();
      if (std::string error = uikit::selectRow(table, shown.indexPath); !error.empty())
        return error;
      if (marked() == checked) return "";
      auto now = applicationListProblems(top);
      return now.size() > problems ? now.back()
                                   : "the tap left the mark of " + bundleIdentifier + " as it was";
    }
    return "the open list shows no " + bundleIdentifier;
  });
}

void SettingsApp::enterBackground() {
  if (!running()) return;
  foreground_ = false;
  uikit::setApplicationInBackground(pid_, true);
}

void SettingsApp::enterForeground() {
  if (!running()) return;
  foreground_ = true;
  uikit::setApplicationInBackground(pid_, false);
}

}  // namespace platform::preferences
