#include "platform/foundation/nsdata.h"

#include <filesystem>
#include <fstream>
#include <string_view>

#include "platform/foundation/atomic_file.h"
#include "platform/foundation/device_root.h"
#include "platform/foundation/nscoder.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nskeyedarchiver.h"
#include "platform/foundation/nskeyedunarchiver.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/read_only_folders.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform {
namespace {

struct DataBody : objc::NativeBody {
  std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t>& bytesOf(id self) {
  return objc::native<DataBody>(self)->bytes;
}

id newData(std::span<const std::uint8_t> bytes) {
  id d = objc::allocInstance(NSDataClass());
  bytesOf(d).assign(bytes.begin(), bytes.end());
  return d;
}

id dataWithBytes(id, SEL, const void* bytes, unsigned long length) {
  auto* start = static_cast<const std::uint8_t*>(bytes);
  return objc::autorelease(
      newData(start ? std::span(start, length) : std::span<const std::uint8_t>()));
}
// The whole contents of the regular file at the device path (following links); nil when it is
// missing, a folder or anything else, or cannot be read.
id dataWithContentsOfFile(id, SEL, id path) {
  auto hostPath = resolveDevicePath(utf8(path));
  std::error_code ec;
  if (!hostPath || !std::filesystem::is_regular_file(*hostPath, ec)) return nil;
  std::ifstream in(*hostPath, std::ios::binary);
  if (!in) return nil;
  std::vector<std::uint8_t> contents;
  char chunk[8192];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    contents.insert(contents.end(), chunk, chunk + in.gcount());
  if (in.bad()) return nil;
  return objc::autorelease(newData(contents));
}
// Writes the bytes to the device path, atomically (the old file or the whole new one) when
// asked; NO when the folder is missing or the write fails. Creates no folders.
BOOL writeToFileAtomically(id self, SEL, id path, BOOL atomically) {
  auto hostPath = resolveDevicePath(utf8(path));
  if (!hostPath) return NO;
  const auto& b = bytesOf(self);
  if (atomically) return writeBytesAtomically(*hostPath, b).empty() ? YES : NO;
  if (folderRefusesWrites(hostPath->parent_path())) return NO;
  std::ofstream out(*hostPath, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  out.close();
  return out ? YES : NO;
}
unsigned long length(id self, SEL) {
  return bytesOf(self).size();
}
const void* bytes(id self, SEL) {
  return bytesOf(self).data();
}
BOOL isEqualToData(id self, SEL, id other) {
  const auto* theirs = dataBytes(other);
  return theirs && *theirs == bytesOf(self) ? YES : NO;
}
BOOL isEqual(id self, SEL cmd, id other) {
  return self == other || isEqualToData(self, cmd, other);
}
unsigned long hash(id self, SEL) {
  const auto& b = bytesOf(self);
  return std::hash<std::string_view>()(
      std::string_view(reinterpret_cast<const char*>(b.data()), b.size()));
}
id copyWithZone(id self, SEL, void*) {
  return objc::retain(self);
}
id description(id self, SEL) {
  static const char* hex = "0123456789abcdef";
  std::string text = "<";
  const auto& b = bytesOf(self);
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (i > 0 && i % 4 == 0) text.push_back(' ');
    text.push_back(hex[b[i] >> 4]);
    text.push_back(hex[b[i] & 15]);
  }
  text.push_back('>');
  return objc::autorelease(nsstring(text).leak());
}

// The bytes under "NS.bytes", as Foundation writes data that is not written plain.
void encodeWithCoder(id self, SEL, id coder) {
  encodePropertyList(coder, "NS.bytes", plist::Value(bytesOf(self)));
}
id initWithCoder(id self, SEL, id coder) {
  const plist::Value* value = decodePropertyList(coder, "NS.bytes");
  if (!value) value = decodePropertyList(coder, "NS.data");
  if (!value || !value->is<plist::Data>()) {
    NSException::raise(NSInvalidUnarchiveOperationException,
                       "-[NSData initWithCoder:]: NS.bytes is missing or not data");
  }
  bytesOf(self) = value->as<plist::Data>();
  return self;
}

}  // namespace

Class NSDataClass() {
  static Class cls = objc::deviceClass("NSData", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<DataBody>()
        .classMethod(sel::dataWithBytes_length, dataWithBytes)
        .classMethod(sel::dataWithContentsOfFile, dataWithContentsOfFile)
        .method(sel::writeToFile_atomically, writeToFileAtomically)
        .method(sel::length, length)
        .method(sel::bytes, bytes)
        .method(sel::isEqualToData, isEqualToData)
        .method(sel::isEqual, isEqual)
        .method(sel::hash, hash)
        .method(sel::copyWithZone, copyWithZone)
        .method(sel::description, description)
        .method(sel::encodeWithCoder, encodeWithCoder)
        .method(sel::initWithCoder, initWithCoder);
  });
  return cls;
}

objc::Strong nsdata(std::span<const std::uint8_t> bytes) {
  return objc::Strong::adopt(newData(bytes));
}

const std::vector<std::uint8_t>* dataBytes(id data) {
  auto* body = objc::native<DataBody>(data);
  return body ? &body->bytes : nullptr;
}

}  // namespace platform
