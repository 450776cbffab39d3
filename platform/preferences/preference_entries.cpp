#include "platform/preferences/preference_entries.h"

#include <algorithm>
#include <filesystem>

#include "platform/foundation/device_root.h"
#include "platform/foundation/plist_file.h"

namespace platform::preferences {
namespace {

namespace fs = std::filesystem;

// The entry in `file`, or nothing and why in *error.
std::optional<PreferenceEntry> readEntry(const fs::path& file, std::string* error) {
  plist::ReadResult read = plist::readFile(file);
  if (!read.value) {
    *error = read.error;
    return std::nullopt;
  }
  const plist::Value* entry = read.value->find("entry");
  if (!entry || !entry->get<plist::Dictionary>()) {
    *error = "has no \"entry\" dictionary";
    return std::nullopt;
  }
  const plist::Value* label = entry->find("label");
  const plist::Value* bundle = entry->find("bundle");
  const plist::Value* isController = entry->find("isController");
  if (!label || !label->get<std::string>() || label->get<std::string>()->empty()) {
    *error = "its entry has no \"label\" string";
    return std::nullopt;
  }
  if (!bundle || !bundle->get<std::string>()) {
    *error = "its entry has no \"bundle\" string";
    return std::nullopt;
  }
  const bool* controller = isController ? isController->get<bool>() : nullptr;
  if (!controller || !*controller) {
    *error = "its entry needs \"isController\" true: only bundles whose class runs the pane load";
    return std::nullopt;
  }
  auto info = readBundleInfo(*bundle->get<std::string>(), error);
  if (!info) return std::nullopt;
  return PreferenceEntry{*label->get<std::string>(), file.filename().string(), std::move(*info)};
}

}  // namespace

EntryScan scanPreferenceEntries() {
  EntryScan scan;
  auto folder = resolveDevicePath(kPreferenceEntriesFolder);
  std::error_code ec;
  if (!folder || !fs::is_directory(*folder, ec)) return scan;
  std::vector<fs::path> files;
  for (const auto& item : fs::directory_iterator(*folder, ec)) {
    if (item.path().extension() == ".plist") files.push_back(item.path());
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::string error;
    std::string shown = std::string(kPreferenceEntriesFolder) + "/" + file.filename().string();
    auto entry = readEntry(file, &error);
    if (!entry) {
      scan.errors.push_back(shown + ": " + error);
      continue;
    }
    bool taken = std::any_of(scan.entries.begin(), scan.entries.end(),
                             [&](const PreferenceEntry& e) { return e.label == entry->label; });
    if (taken) {
      scan.errors.push_back(shown + ": another entry is labelled \"" + entry->label + "\"");
      continue;
    }
    scan.entries.push_back(std::move(*entry));
  }
  std::stable_sort(
      scan.entries.begin(), scan.entries.end(),
      [](const PreferenceEntry& a, const PreferenceEntry& b) { return a.label < b.label; });
  return scan;
}

}  // namespace platform::preferences
