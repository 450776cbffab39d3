#include "platform/foundation/plist_file.h"

#include <fcntl.h>
#include <plist/plist.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

#include "platform/foundation/plist_binary_guard.h"
#include "platform/foundation/plist_binary_writer.h"
#include "platform/foundation/plist_conversion.h"
#include "platform/foundation/plist_date.h"
#include "platform/foundation/plist_text.h"
#include "platform/foundation/plist_xml_guard.h"
#include "platform/foundation/plist_xml_writer.h"
#include "platform/foundation/read_only_folders.h"

namespace platform::plist {
namespace {

using detail::BinaryGuard;
using detail::Bytes;
using detail::checkText;
using detail::Converter;
using detail::isFiniteDate;
using detail::PlistPtr;
using detail::xmlDateFits;
using detail::XmlGuard;

// libplist takes lengths as uint32_t.
constexpr std::size_t kLibplistMaxBytes = std::numeric_limits<std::uint32_t>::max();

// A result with no value and `error` as the reason.
ParseResult failure(std::string error) {
  return ParseResult{std::nullopt, std::move(error)};
}

// Reads a "bplist00" file: the pre-pass, then libplist, then the conversion checked object by
// object against what the pre-pass decoded.
ParseResult parseBinary(Bytes bytes, const Limits& limits) {
  const std::string prefix = "binary property list: ";
  BinaryGuard guard(bytes, limits);
  if (std::string error = guard.check(); !error.empty()) return failure(prefix + error);
  plist_t raw = nullptr;
  plist_from_bin(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::uint32_t>(bytes.size()), &raw);
  PlistPtr root(raw);
  if (root == nullptr) return failure(prefix + "malformed");
  Converter converter(&guard);
  std::optional<Value> value = converter.convert(root.get(), guard.topObject());
  if (!value) return failure(prefix + converter.error());
  return ParseResult{std::move(value), {}};
}

// Reads an XML document without its byte order mark: the pre-pass, then libplist on the
// pre-pass's rewritten copy, then the conversion.
ParseResult parseXml(std::string_view text, const Limits& limits) {
  const std::string prefix = "XML property list: ";
  XmlGuard guard(text, limits);
  if (std::string error = guard.check(); !error.empty()) return failure(prefix + error);
  // Also gives libplist the terminating NUL its XML reader expects past the given length.
  const std::string copy = guard.document();
  if (copy.size() > kLibplistMaxBytes) return failure(prefix + "document too large");
  plist_t raw = nullptr;
  plist_from_xml(copy.c_str(), static_cast<std::uint32_t>(copy.size()), &raw);
  PlistPtr root(raw);
  if (root == nullptr) return failure(prefix + "malformed");
  Converter converter(&guard.scalars());
  std::optional<Value> value = converter.convert(root.get(), 0);
  if (!value) return failure(prefix + converter.error());
  return ParseResult{std::move(value), {}};
}

// `what`, a colon and the system's text for the errno value `error`.
std::string errnoText(std::string_view what, int error) {
  return std::string(what) + ": " + std::strerror(error);
}

// Writes all of `bytes` to `fd`, retrying short writes and interruptions.
bool writeAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

ParseResult parse(std::span<const std::uint8_t> bytes, const Limits& limits) {
  const std::size_t maxBytes = std::min(limits.maxBytes, kLibplistMaxBytes);
  if (bytes.size() > maxBytes) {
    return failure("property list is larger than " + std::to_string(maxBytes) + " bytes");
  }
  if (bytes.empty()) return failure("not a property list: input is empty");
  static constexpr std::string_view kBinaryMagic = "bplist00";
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.starts_with(kBinaryMagic)) return parseBinary(bytes, limits);
  if (text.starts_with("bplist")) return failure("unsupported binary property list version");
  std::string_view xml = text;
  if (xml.starts_with("\xEF\xBB\xBF")) xml.remove_prefix(3);  // UTF-8 byte order mark
  const std::size_t first = xml.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos || xml[first] != '<') return failure("not a property list");
  return parseXml(xml, limits);
}

ReadResult readFile(const std::filesystem::path& path, const Limits& limits) {
  const std::string name = path.string();
  const std::size_t maxBytes = std::min(limits.maxBytes, kLibplistMaxBytes);
  // O_NONBLOCK keeps a FIFO from stalling the open; it is refused below as not a regular file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return failure(errnoText(name + ": cannot open", errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) return failure(errnoText(name + ": cannot stat", errno));
  if (!S_ISREG(info.st_mode)) return failure(name + ": not a regular file");
  if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
    return failure(name + ": file is " + std::to_string(info.st_size) + " bytes, more than " +
                   std::to_string(maxBytes));
  }
  // The file may grow after fstat: read at most one byte past the limit to notice.
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size) + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) {
      if (bytes.size() > maxBytes) break;
      bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
    }
    const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
    if (n < 0) {
      if (errno == EINTR) continue;
      return failure(errnoText(name + ": cannot read", errno));
    }
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  if (used > maxBytes) {
    return failure(name + ": file is more than " + std::to_string(maxBytes) + " bytes");
  }
  bytes.resize(used);
  ParseResult result = parse(bytes, limits);
  if (!result.ok()) result.error = name + ": " + result.error;
  return result;
}

std::string toXml(const Value& value) {
  return detail::writeXml(value);
}

std::vector<std::uint8_t> toBinary(const Value& value) {
  return detail::writeBinary(value);
}

std::string isWritable(const Value& value, Format format) {
  std::vector<const Value*> pending{&value};
  while (!pending.empty()) {
    const Value* v = pending.back();
    pending.pop_back();
    switch (v->kind()) {
      case Kind::String:
        if (std::string error = checkText(v->as<std::string>(), "string"); !error.empty()) {
          return error;
        }
        break;
      case Kind::Date: {
        const double seconds = v->as<Date>().secondsSince2001;
        if (!isFiniteDate(seconds)) return "date is not a finite number";
        if (format == Format::Xml && !xmlDateFits(seconds)) {
          return "date outside the years 0000 to 9999 that XML can hold";
        }
        break;
      }
      case Kind::Array:
        for (const Value& element : v->as<Array>()) pending.push_back(&element);
        break;
      case Kind::Dictionary:
        if (format == Format::Xml && detail::xmlUidOf(v->as<Dictionary>())) {
          return "a dictionary holding only \"CF$UID\" would read back from XML as a UID";
        }
        for (const auto& [key, element] : v->as<Dictionary>()) {
          if (std::string error = checkText(key, "dictionary key"); !error.empty()) return error;
          pending.push_back(&element);
        }
        break;
      default:
        break;
    }
  }
  return {};
}

WriteResult writeFileAtomically(const std::filesystem::path& path, const Value& value,
                                Format format) {
  const std::string name = path.string();
  const auto fail = [&](std::string error) { return WriteResult{false, name + ": " + error}; };
  if (!path.has_filename()) return fail("not a file path");
  if (std::string error = isWritable(value, format); !error.empty()) {
    return fail("cannot write value: " + error);
  }
  std::string bytes;
  if (format == Format::Xml) {
    bytes = toXml(value);
  } else {
    const std::vector<std::uint8_t> binary = toBinary(value);
    bytes.assign(binary.begin(), binary.end());
  }

  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  if (folderRefusesWrites(folder)) return fail(errnoText("cannot create a temporary file", EACCES));
  // A name no other writer in this or another process picks: pid, a counter and the clock.
  static std::atomic<std::uint64_t> counter{0};
  std::filesystem::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    temp = folder / ("." + path.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter++) + "-" + std::to_string(now & 0xFFFFFF));
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int error = errno;
    return fail(errnoText("cannot create a temporary file", error));
  }

  // Keep the permissions of the file being replaced.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    (void)::fchmod(fd, old.st_mode & 07777);
  }
  const auto abandon = [&](std::string what, int error) {
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    return fail(errnoText(what, error));
  };
  if (!writeAll(fd, bytes.data(), bytes.size())) {
    const int error = errno;
    return abandon("cannot write", error);
  }
  if (::fsync(fd) != 0) {
    const int error = errno;
    return abandon("cannot sync", error);
  }
  const int closed = ::close(fd);
  const int closeError = errno;
  fd = -1;
  if (closed != 0) return abandon("cannot close", closeError);
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    return abandon("cannot replace", error);
  }

  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0 || ::fsync(dirFd) != 0) {
    const int error = errno;
    if (dirFd >= 0) ::close(dirFd);
    return fail(errnoText("written, but the folder could not be synced", error));
  }
  ::close(dirFd);
  return WriteResult{true, {}};
}

}  // namespace platform::plist
