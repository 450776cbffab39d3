#pragma once
// The applications installed on the phone: the system's own and a few from the store, each with
// its bundle identifier, its name on the home screen, and whether it is hidden from lists.

#include <string>
#include <vector>

namespace platform {

struct InstalledApplication {
  std::string bundleIdentifier;
  std::string displayName;
  bool hidden = false;  // installed but never listed (system services, web clips' host, ...)
};

// Every installed application, sorted by display name.
const std::vector<InstalledApplication>& installedApplications();
// The application with `bundleIdentifier`, or null when none is installed.
const InstalledApplication* installedApplication(const std::string& bundleIdentifier);

}  // namespace platform
