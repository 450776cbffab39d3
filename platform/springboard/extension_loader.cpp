#include "platform/springboard/extension_loader.h"

#include <dlfcn.h>

#include <algorithm>

#include "platform/foundation/device_root.h"
#include "platform/foundation/plist_file.h"

namespace platform::springboard {
namespace {

namespace fs = std::filesystem;

// Whether the filter plist beside an extension lets it into SpringBoard. No filter loads it
// everywhere; a filter that cannot be read loads it nowhere.
bool filterAllowsSpringBoard(const fs::path& filterPath, std::string& error) {
  if (!fs::exists(filterPath)) return true;
  plist::ReadResult result = plist::readFile(filterPath);
  if (!result.value) {
    error = result.error;
    return false;
  }
  const plist::Value* filter = result.value->find("Filter");
  const plist::Value* bundles = filter ? filter->find("Bundles") : nullptr;
  const auto* list = bundles ? bundles->get<plist::Array>() : nullptr;
  if (!list) return false;
  return std::any_of(list->begin(), list->end(), [](const plist::Value& v) {
    const auto* s = v.get<std::string>();
    return s && *s == kSpringBoardBundle;
  });
}

}  // namespace

std::string installExtension(const fs::path& hostLibrary, const std::string& name) {
  auto folder = resolveDevicePath(kExtensionsFolder);
  if (!folder) return "no device root is set";
  std::error_code ec;
  fs::create_directories(*folder, ec);
  fs::copy_file(hostLibrary, *folder / (name + ".dylib"), fs::copy_options::overwrite_existing, ec);
  if (ec) return "cannot install " + hostLibrary.string() + ": " + ec.message();
  plist::Dictionary filter{
      {"Filter", plist::Dictionary{{"Bundles", plist::Array{kSpringBoardBundle}}}}};
  auto written = plist::writeFileAtomically(*folder / (name + ".plist"), plist::Value(filter));
  return written.ok ? "" : written.error;
}

void ExtensionLoader::loadAll() {
  errors_.clear();
  static unsigned long generation = 0;
  auto folder = resolveDevicePath(kExtensionsFolder);
  auto scratch = resolveDevicePath("/tmp/substrate");
  if (!folder || !scratch || !fs::is_directory(*folder)) return;
  std::vector<fs::path> libraries;
  for (const auto& entry : fs::directory_iterator(*folder)) {
    if (entry.path().extension() == ".dylib") libraries.push_back(entry.path());
  }
  std::sort(libraries.begin(), libraries.end());
  std::error_code ec;
  fs::create_directories(*scratch, ec);
  for (const fs::path& library : libraries) {
    std::string name = library.stem().string();
    std::string error;
    if (!filterAllowsSpringBoard(fs::path(library).replace_extension(".plist"), error)) {
      if (!error.empty()) errors_.push_back(name + ": filter unreadable: " + error);
      continue;
    }
    fs::path copy = *scratch / (std::to_string(++generation) + "-" + library.filename().string());
    fs::copy_file(library, copy, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      errors_.push_back(name + ": " + ec.message());
      continue;
    }
    void* handle = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      errors_.push_back(name + ": " + dlerror());
      fs::remove(copy, ec);
      continue;
    }
    loaded_.push_back({name, handle, copy});
  }
}

void ExtensionLoader::unloadAll() {
  for (auto it = loaded_.rbegin(); it != loaded_.rend(); ++it) {
    dlclose(it->handle);
    std::error_code ec;
    fs::remove(it->copy, ec);
  }
  loaded_.clear();
}

void* ExtensionLoader::symbol(const std::string& name, const char* symbol) const {
  for (const auto& e : loaded_) {
    if (e.name == name) return dlsym(e.handle, symbol);
  }
  return nullptr;
}

}  // namespace platform::springboard
