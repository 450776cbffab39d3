#include "platform/springboard/extension_loader.h"

#include <dlfcn.h>
#include <objc/runtime.h>

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/foundation/device_root.h"
#include "platform/foundation/plist_file.h"

namespace platform::springboard {
namespace {

namespace fs = std::filesystem;

// The process's names a filter can match: its bundle identifier and its executable.
constexpr const char* kSpringBoardExecutable = "SpringBoard";

// Whether one of the filter's `kind` list ("Bundles", "Executables", "Classes") names what the
// process is or has. Nothing when the filter has no such list; *error set when it is no array.
std::optional<bool> listMatches(const plist::Value& filter, const char* kind, std::string& error) {
  const plist::Value* entry = filter.find(kind);
  if (!entry) return std::nullopt;
  const auto* list = entry->get<plist::Array>();
  if (!list) {
    error = std::string("filter unusable: its ") + kind + " is not an array";
    return false;
  }
  return std::any_of(list->begin(), list->end(), [&](const plist::Value& v) {
    const auto* name = v.get<std::string>();
    if (!name) return false;
    if (std::string_view(kind) == "Bundles") return *name == kSpringBoardBundle;
    if (std::string_view(kind) == "Executables") return *name == kSpringBoardExecutable;
    return objc_getClass(name->c_str()) != Nil;
  });
}

// Whether the filter plist beside an extension lets it into SpringBoard. No filter loads it
// everywhere. A filter's Bundles, Executables and Classes lists must each name SpringBoard (its
// bundle identifier, its executable, a class it has), or one of them with Mode "Any". A filter
// that cannot be read or used loads it nowhere, and *error says why.
bool filterAllowsSpringBoard(const fs::path& filterPath, std::string& error) {
  std::error_code ec;
  if (!fs::exists(filterPath, ec)) return true;
  plist::ReadResult result = plist::readFile(filterPath);
  if (!result.value) {
    error = "filter unreadable: " + result.error;
    return false;
  }
  const plist::Value* filter = result.value->find("Filter");
  if (!filter || !filter->get<plist::Dictionary>()) {
    error = "filter unusable: it has no \"Filter\" dictionary";
    return false;
  }
  std::vector<bool> matched;
  for (const char* kind : {"Bundles", "Executables", "Classes"}) {
    std::optional<bool> match = listMatches(*filter, kind, error);
    if (!error.empty()) return false;
    if (match) matched.push_back(*match);
  }
  if (matched.empty()) {
    error = "filter unusable: its Filter names no Bundles, Executables or Classes";
    return false;
  }
  const plist::Value* mode = filter->find("Mode");
  bool any = mode && mode->get<std::string>() && *mode->get<std::string>() == "Any";
  return any ? std::find(matched.begin(), matched.end(), true) != matched.end()
             : std::find(matched.begin(), matched.end(), false) == matched.end();
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
      if (!error.empty()) errors_.push_back(name + ": " + error);
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
