#pragma once
// Preference bundles as the Settings app loads them: /Library/PreferenceBundles/NAME.bundle
// holds an Info.plist naming the bundle's executable (a shared library) and its principal
// class, the executable, and the bundle's resources (its specifier lists). Each launch of the
// Settings app loads a fresh private copy of an executable, so its globals start anew and its
// constructor (which makes its classes) runs once per launch, as in a new process.

#include <objc/runtime.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform::preferences {

// The device folder the bundles are installed in.
inline constexpr const char* kPreferenceBundlesFolder = "/Library/PreferenceBundles";

// What a bundle's Info.plist says, and where the bundle is.
struct BundleInfo {
  std::string name;                  // "Tarrow8"
  std::string deviceFolder;          // "/Library/PreferenceBundles/Tarrow8.bundle"
  std::filesystem::path folder;      // the same folder on the host
  std::filesystem::path executable;  // its CFBundleExecutable, on the host
  std::string identifier;            // its CFBundleIdentifier ("" when none)
  std::string principalClass;        // its NSPrincipalClass
};

// Reads the Info.plist of the installed bundle `name`. Returns nothing, and in *error what is
// wrong (the folder, the Info.plist, its CFBundleExecutable or NSPrincipalClass, the executable
// file), when the bundle cannot be used.
std::optional<BundleInfo> readBundleInfo(const std::string& name, std::string* error);

// Loads the bundles of one launch of the Settings app and unloads them when it ends.
class BundleLoader {
 public:
  BundleLoader() = default;
  ~BundleLoader() { unloadAll(); }
  BundleLoader(const BundleLoader&) = delete;
  BundleLoader& operator=(const BundleLoader&) = delete;

  // Loads the executable of `bundle` (once per launch) and answers its principal class. Returns
  // Nil, and in *error why (the library does not load, or defines no such class).
  Class load(const BundleInfo& bundle, std::string* error);
  // Unloads every bundle this loader loaded and deletes their copies. REQUIRES: no object whose
  // class a bundle defines is still in use.
  void unloadAll();
  // The address of `symbol` in the loaded bundle `name`, or null.
  void* symbol(const std::string& name, const char* symbol) const;

 private:
  struct Loaded {
    std::string name;
    void* handle = nullptr;
    std::filesystem::path copy;
  };
  std::vector<Loaded> loaded_;
};

// The folder (on the host) of the loaded bundle whose code implements `cls`, or else the
// nearest superclass that a loaded bundle implements; nothing for the device's own classes.
std::optional<std::filesystem::path> bundleFolderOfClass(Class cls);

}  // namespace platform::preferences
