#include "settings/pane_settings.h"

#include <map>
#include <string>

#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/object.h"

namespace pane {

platform::objc::Strong paneSettings;

id paneClass(const char* name) {
  static std::map<std::string, Class> classes;
  auto found = classes.find(name);
  if (found == classes.end()) found = classes.emplace(name, objc_getClass(name)).first;
  return reinterpret_cast<id>(found->second);
}

bool booleanValue(id value, bool absent) {
  if (!value || !sel::respondsToSelector(value, sel::boolValue.sel())) return absent;
  return sel::boolValue(value) != NO;
}

void loadPaneSettings() {
  paneSettings.reset();
  id cls = paneClass("NSMutableDictionary");
  paneSettings = platform::objc::Strong::adopt(
      sel::initWithContentsOfFile(sel::alloc(cls), CFSTR(kSettingsPath)));
  if (!paneSettings) paneSettings = platform::objc::Strong::adopt(sel::new_(cls));
}

bool writePaneSettings() {
  return sel::writeToFile_atomically(paneSettings, CFSTR(kSettingsPath), YES) != NO;
}

}  // namespace pane
