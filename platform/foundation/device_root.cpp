#include "platform/foundation/device_root.h"

#include <string>

namespace platform {
namespace {

std::filesystem::path& root() {
  static auto* r = new std::filesystem::path();
  return *r;
}

}  // namespace

void setDeviceRoot(const std::filesystem::path& hostFolder) {
  std::filesystem::create_directories(hostFolder);
  root() = std::filesystem::weakly_canonical(hostFolder);
}

const std::filesystem::path& deviceRoot() {
  return root();
}

std::optional<std::filesystem::path> resolveDevicePath(std::string_view devicePath) {
  if (root().empty() || devicePath.empty() || devicePath.front() != '/') return std::nullopt;
  std::filesystem::path relative =
      std::filesystem::path(std::string(devicePath)).lexically_normal().relative_path();
  // /var is a link to /private/var on the phone: both name one folder here.
  auto first = relative.begin();
  if (first != relative.end() && *first == "private") {
    std::filesystem::path rest;
    for (auto it = std::next(first); it != relative.end(); ++it) rest /= *it;
    relative = rest;
  }
  for (const auto& part : relative) {
    if (part == "..") return std::nullopt;
  }
  return root() / relative;
}

}  // namespace platform
