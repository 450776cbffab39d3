#include "platform/foundation/read_only_folders.h"

#include <algorithm>
#include <set>

namespace platform {
namespace {

std::set<std::filesystem::path>& readOnlyFolders() {
  static std::set<std::filesystem::path> folders;
  return folders;
}

}  // namespace

void setFolderReadOnly(const std::filesystem::path& folder, bool readOnly) {
  const std::filesystem::path normal = folder.lexically_normal();
  if (readOnly)
    readOnlyFolders().insert(normal);
  else
    readOnlyFolders().erase(normal);
}

bool folderRefusesWrites(const std::filesystem::path& folder) {
  const std::filesystem::path normal = folder.lexically_normal();
  for (const auto& locked : readOnlyFolders()) {
    auto [lockedEnd, _] = std::mismatch(locked.begin(), locked.end(), normal.begin(), normal.end());
    if (lockedEnd == locked.end()) return true;  // `locked` is `folder` or one of its ancestors
  }
  return false;
}

void clearReadOnlyFolders() {
  readOnlyFolders().clear();
}

}  // namespace platform
