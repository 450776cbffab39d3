#include "platform/foundation/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/foundation/read_only_folders.h"

namespace platform {
namespace {

std::string describe(const std::filesystem::path& path, const char* what, int error) {
  return path.string() + ": " + what + ": " + std::strerror(error);
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Creates a temporary file beside `path` with a name no other writer picks; -1 on failure.
int createTemporary(const std::filesystem::path& path, std::filesystem::path& temp) {
  static std::atomic<std::uint64_t> counter{0};
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    temp = folder / ("." + path.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter++) + "-" + std::to_string(now & 0xFFFFFF));
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::string writeBytesAtomically(const std::filesystem::path& path,
                                 std::span<const std::uint8_t> bytes) {
  if (!path.has_filename()) return path.string() + ": not a file path";
  if (folderRefusesWrites(path.has_parent_path() ? path.parent_path() : "."))
    return describe(path, "cannot create a temporary file", EACCES);
  std::filesystem::path temp;
  int fd = createTemporary(path, temp);
  if (fd < 0) return describe(path, "cannot create a temporary file", errno);
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    (void)::fchmod(fd, old.st_mode & 07777);
  const auto abandon = [&](const char* what) {
    const int error = errno;
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    return describe(path, what, error);
  };
  if (!writeAll(fd, bytes.data(), bytes.size())) return abandon("cannot write");
  if (::fsync(fd) != 0) return abandon("cannot sync");
  const int closed = ::close(fd);
  fd = -1;
  if (closed != 0) return abandon("cannot close");
  if (::rename(temp.c_str(), path.c_str()) != 0) return abandon("cannot replace");
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool synced = dirFd >= 0 && ::fsync(dirFd) == 0;
  const int error = errno;
  if (dirFd >= 0) ::close(dirFd);
  return synced ? "" : describe(path, "written, but the folder could not be synced", error);
}

}  // namespace platform
