#include "platform/foundation/nsfilemanager.h"

#include <filesystem>

#include "platform/foundation/device_root.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

// The one shared manager; it lives as long as the device library.
id defaultManager(id cls, SEL) {
  static id shared = objc::allocInstance(reinterpret_cast<Class>(cls));
  return shared;
}

// YES when a file, folder or anything else is at the device path, following symbolic links
// (a link to nothing counts as absent).
BOOL fileExistsAtPath(id, SEL, id path) {
  auto hostPath = resolveDevicePath(utf8(path));
  std::error_code ec;
  return hostPath && std::filesystem::exists(*hostPath, ec) ? YES : NO;
}

}  // namespace

Class NSFileManagerClass() {
  static Class cls =
      objc::deviceClass("NSFileManager", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.classMethod(sel::defaultManager, defaultManager)
            .method(sel::fileExistsAtPath, fileExistsAtPath);
      });
  return cls;
}

}  // namespace platform
