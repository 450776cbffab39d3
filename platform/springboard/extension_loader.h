#pragma once
// The stand-in for the hooking library's loader: when SpringBoard starts it loads every
// extension installed under /Library/MobileSubstrate/DynamicLibraries whose filter names
// SpringBoard, running each library's constructor once, before SpringBoard builds anything.

#include <filesystem>
#include <string>
#include <vector>

namespace platform::springboard {

// The device folder extensions are installed in.
inline constexpr const char* kExtensionsFolder = "/Library/MobileSubstrate/DynamicLibraries";
// The bundle identifier filters name to be loaded into SpringBoard.
inline constexpr const char* kSpringBoardBundle = "com.apple.springboard";

// Installs the shared library at `hostLibrary` into the device as `name`.dylib, with a filter
// plist naming SpringBoard. Returns an error message, or "" on success.
std::string installExtension(const std::filesystem::path& hostLibrary, const std::string& name);

// One loaded extension.
struct LoadedExtension {
  std::string name;            // e.g. "Tarrow8"
  void* handle = nullptr;      // from dlopen
  std::filesystem::path copy;  // the private copy that was loaded
};

// Loads the extensions of one SpringBoard launch and unloads them when it ends.
class ExtensionLoader {
 public:
  ExtensionLoader() = default;
  ~ExtensionLoader() { unloadAll(); }
  ExtensionLoader(const ExtensionLoader&) = delete;
  ExtensionLoader& operator=(const ExtensionLoader&) = delete;

  // Loads every installed extension whose filter names SpringBoard (or that has no filter), in
  // name order. A filter ("NAME.plist" beside "NAME.dylib", {Filter = {Bundles = (...)}}) may
  // list Bundles (bundle identifiers: "com.apple.springboard"), Executables ("SpringBoard") and
  // Classes (a class the process has); each list it has must match, or one of them with Mode
  // "Any". Each load uses a fresh copy of the library, so its globals start anew and its
  // constructor runs, as in a new process. Failures (a filter that cannot be read or used, a
  // library that does not load) are reported in errors(), not thrown.
  void loadAll();
  // Unloads every extension loaded by loadAll and deletes the copies.
  void unloadAll();

  const std::vector<LoadedExtension>& loaded() const { return loaded_; }
  // Messages about extensions that could not be loaded.
  const std::vector<std::string>& errors() const { return errors_; }
  // The address of `symbol` in the loaded extension `name`, or null.
  void* symbol(const std::string& name, const char* symbol) const;

 private:
  std::vector<LoadedExtension> loaded_;
  std::vector<std::string> errors_;
};

}  // namespace platform::springboard
