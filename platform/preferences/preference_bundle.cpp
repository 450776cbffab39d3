#include "platform/preferences/preference_bundle.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>

#include "platform/foundation/device_root.h"
#include "platform/foundation/plist_file.h"

namespace platform::preferences {
namespace {

namespace fs = std::filesystem;

// Where the private copies of executables are made, under the device root.
constexpr const char* kScratchFolder = "/tmp/preferencebundles";

// A loaded copy and the bundle it came from, for finding a class's bundle.
struct LoadedCopy {
  fs::path copy;
  fs::path folder;
};

std::vector<LoadedCopy>& loadedCopies() {
  static auto* copies = new std::vector<LoadedCopy>();
  return *copies;
}

const std::string* stringEntry(const plist::Value& info, const char* key) {
  const plist::Value* entry = info.find(key);
  return entry ? entry->get<std::string>() : nullptr;
}

// The bundle folder of the loaded copy that holds `address`, if any.
std::optional<fs::path> folderHolding(const void* address) {
  Dl_info where{};
  if (!address || !dladdr(address, &where) || !where.dli_fname) return std::nullopt;
  fs::path file(where.dli_fname);
  for (const LoadedCopy& c : loadedCopies()) {
    std::error_code ec;
    if (c.copy == file || fs::equivalent(c.copy, file, ec)) return c.folder;
  }
  return std::nullopt;
}

}  // namespace

std::optional<BundleInfo> readBundleInfo(const std::string& name, std::string* error) {
  BundleInfo info;
  info.name = name;
  info.deviceFolder = std::string(kPreferenceBundlesFolder) + "/" + name + ".bundle";
  auto folder = resolveDevicePath(info.deviceFolder);
  if (!folder) {
    *error = "no device root is set";
    return std::nullopt;
  }
  info.folder = *folder;
  if (name.empty() || name.find('/') != std::string::npos) {
    *error = "the bundle name \"" + name + "\" is not a folder name";
    return std::nullopt;
  }
  if (!fs::is_directory(info.folder)) {
    *error = info.deviceFolder + " is not installed";
    return std::nullopt;
  }
  plist::ReadResult read = plist::readFile(info.folder / "Info.plist");
  if (!read.value || !read.value->get<plist::Dictionary>()) {
    *error = info.deviceFolder + "/Info.plist: " +
             (read.value ? std::string("its root is not a dictionary") : read.error);
    return std::nullopt;
  }
  const std::string* executable = stringEntry(*read.value, "CFBundleExecutable");
  const std::string* principal = stringEntry(*read.value, "NSPrincipalClass");
  if (!executable || executable->empty() || executable->find('/') != std::string::npos) {
    *error = info.deviceFolder + "/Info.plist: CFBundleExecutable must name a file of the bundle";
    return std::nullopt;
  }
  if (!principal || principal->empty()) {
    *error = info.deviceFolder + "/Info.plist: NSPrincipalClass must name the pane's class";
    return std::nullopt;
  }
  if (const std::string* identifier = stringEntry(*read.value, "CFBundleIdentifier"))
    info.identifier = *identifier;
  info.principalClass = *principal;
  info.executable = info.folder / *executable;
  if (!fs::is_regular_file(info.executable)) {
    *error = info.deviceFolder + "/" + *executable + ": the bundle's executable is missing";
    return std::nullopt;
  }
  return info;
}

Class BundleLoader::load(const BundleInfo& bundle, std::string* error) {
  bool loaded = std::any_of(loaded_.begin(), loaded_.end(),
                            [&](const Loaded& l) { return l.name == bundle.name; });
  if (!loaded) {
    static unsigned long generation = 0;
    auto scratch = resolveDevicePath(kScratchFolder);
    if (!scratch) {
      *error = "no device root is set";
      return Nil;
    }
    std::error_code ec;
    fs::create_directories(*scratch, ec);
    fs::path copy = *scratch / (std::to_string(++generation) + "-" + bundle.name);
    fs::copy_file(bundle.executable, copy, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      *error = bundle.deviceFolder + ": cannot copy its executable: " + ec.message();
      return Nil;
    }
    // Registered before dlopen: the library's constructor may already ask for its resources.
    loadedCopies().push_back({copy, bundle.folder});
    void* handle = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* why = dlerror();
      *error = bundle.deviceFolder + ": its executable does not load: " + (why ? why : "unknown");
      std::erase_if(loadedCopies(), [&](const LoadedCopy& c) { return c.copy == copy; });
      fs::remove(copy, ec);
      return Nil;
    }
    loaded_.push_back({bundle.name, handle, copy});
  }
  Class principal = objc_getClass(bundle.principalClass.c_str());
  if (!principal) {
    *error = bundle.deviceFolder + ": its executable defines no class " + bundle.principalClass +
             " (NSPrincipalClass)";
    return Nil;
  }
  return principal;
}

void BundleLoader::unloadAll() {
  for (auto it = loaded_.rbegin(); it != loaded_.rend(); ++it) {
    dlclose(it->handle);
    std::erase_if(loadedCopies(), [&](const LoadedCopy& c) { return c.copy == it->copy; });
    std::error_code ec;
    fs::remove(it->copy, ec);
  }
  loaded_.clear();
}

void* BundleLoader::symbol(const std::string& name, const char* symbol) const {
  for (const Loaded& l : loaded_) {
    if (l.name == name) return dlsym(l.handle, symbol);
  }
  return nullptr;
}

std::optional<fs::path> bundleFolderOfClass(Class cls) {
  for (Class c = cls; c; c = class_getSuperclass(c)) {
    unsigned int count = 0;
    Method* methods = class_copyMethodList(c, &count);
    std::optional<fs::path> found;
    for (unsigned int i = 0; i < count && !found; ++i)
      found = folderHolding(reinterpret_cast<const void*>(method_getImplementation(methods[i])));
    std::free(methods);
    if (found) return found;
  }
  return std::nullopt;
}

}  // namespace platform::preferences
