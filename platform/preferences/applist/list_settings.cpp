#include "platform/preferences/applist/list_settings.h"

#include <filesystem>

#include "platform/foundation/device_root.h"
#include "platform/foundation/plist_file.h"

namespace platform::preferences {

std::string writeListSetting(const std::string& devicePath, const std::string& key, bool value) {
  namespace fs = std::filesystem;
  auto path = resolveDevicePath(devicePath);
  if (!path) return "\"" + devicePath + "\" is not an absolute device path";
  std::error_code ec;
  plist::Value settings{plist::Dictionary{}};
  if (fs::exists(*path, ec) || fs::is_symlink(*path, ec)) {
    plist::ReadResult read = plist::readFile(*path);
    if (!read.value || !read.value->get<plist::Dictionary>()) {
      return devicePath + " cannot be read as a dictionary (" +
             (read.value ? "its root is a " + std::string(read.value->kindName()) : read.error) +
             "): not overwritten";
    }
    settings = std::move(*read.value);
  }
  (*settings.get<plist::Dictionary>())[key] = plist::Value(value);
  fs::create_directories(path->parent_path(), ec);
  if (ec) return devicePath + " cannot be written: its folder cannot be made: " + ec.message();
  plist::WriteResult written = plist::writeFileAtomically(*path, settings);
  if (!written.ok) return devicePath + " cannot be written: " + written.error;
  return "";
}

}  // namespace platform::preferences
