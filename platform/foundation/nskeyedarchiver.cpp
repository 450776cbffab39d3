#include "platform/foundation/nskeyedarchiver.h"

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/foundation/nscoder.h"
#include "platform/foundation/nsdata.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/plist_file.h"
#include "platform/foundation/property_list_objects.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform {
namespace {

using objc::Strong;

struct ArchiverBody : objc::NativeBody {
  plist::Array objects{plist::Value("$null")};   // "$objects"; entry 0 is the null reference
  std::unordered_map<id, std::uint32_t> uids;    // the entry of each object met, by identity
  std::map<std::string, std::uint32_t> classes;  // the entry of each class dictionary, by name
  // The dictionaries being filled, innermost last; the first is "$top".
  std::vector<plist::Dictionary> containers{plist::Dictionary{}};
  // Every object met, kept alive so that no new object can take a freed one's address and its
  // entry while the archive is being made.
  std::vector<Strong> kept;
  bool finished = false;
};

ArchiverBody& body(id self) {
  return *objc::native<ArchiverBody>(self);
}

[[noreturn]] void refuse(const char* method, const std::string& why) {
  NSException::raise(NSInvalidArgumentException,
                     std::string("*** -[NSKeyedArchiver ") + method + "]: " + why);
}

// The key as it is stored: one that begins with "$" gets a second "$", so no key of an object
// can be taken for "$class".
std::string storedKey(std::string_view key) {
  return key.starts_with('$') ? "$" + std::string(key) : std::string(key);
}

// The key object as text. Raises for nil and for anything that is not a string.
std::string keyText(const char* method, id key) {
  if (!isString(key)) refuse(method, key ? "key is not a string" : "key is nil");
  return utf8(key);
}

// The dictionary the next value goes into. Raises once the archive is finished.
plist::Dictionary& container(id self, const char* method) {
  ArchiverBody& b = body(self);
  if (b.finished) refuse(method, "archive already finished, cannot encode anything more");
  return b.containers.back();
}

// The entry of the class dictionary of `object`'s class, adding it on first use.
std::uint32_t classEntry(ArchiverBody& b, id object) {
  Class cls = object_getClass(object);
  const std::string name = class_getName(cls);
  if (auto found = b.classes.find(name); found != b.classes.end()) return found->second;
  plist::Array chain;
  for (Class c = cls; c != Nil; c = class_getSuperclass(c)) chain.emplace_back(class_getName(c));
  const auto entry = static_cast<std::uint32_t>(b.objects.size());
  b.objects.emplace_back(plist::Dictionary{{"$classname", name}, {"$classes", std::move(chain)}});
  b.classes.emplace(name, entry);
  return entry;
}

// The entry of `object`, encoding it on first meeting: strings, numbers and data as plain
// values, anything else through its encodeWithCoder:. The entry is taken before the object's
// contents are encoded, so an object that leads back to itself refers to that entry.
std::uint32_t entryOf(id self, id object) {
  if (!object) return 0;
  ArchiverBody& b = body(self);
  if (auto found = b.uids.find(object); found != b.uids.end()) return found->second;
  const auto entry = static_cast<std::uint32_t>(b.objects.size());
  b.objects.emplace_back();
  b.uids.emplace(object, entry);
  b.kept.emplace_back(object);
  if (isString(object) || isNumber(object) || dataBytes(object)) {
    b.objects[entry] = *valueFromObject(object);
    return entry;
  }
  // "$top" plus one container per object on the way down.
  if (b.containers.size() > plist::Limits{}.maxDepth) {
    refuse("encodeObject:forKey:", "objects nested deeper than " +
                                       std::to_string(plist::Limits{}.maxDepth) +
                                       " levels, which no unarchiver reads");
  }
  b.containers.emplace_back();
  sel::encodeWithCoder(object, self);
  plist::Dictionary fields = std::move(b.containers.back());
  b.containers.pop_back();
  fields["$class"] = plist::Uid{classEntry(b, object)};
  b.objects[entry] = std::move(fields);
  return entry;
}

void encodeObject(id self, SEL, id object, id key) {
  const std::string name = storedKey(keyText("encodeObject:forKey:", key));
  container(self, "encodeObject:forKey:");
  const std::uint32_t entry = entryOf(self, object);
  container(self, "encodeObject:forKey:")[name] = plist::Uid{entry};
}
void encodeBool(id self, SEL, BOOL value, id key) {
  container(self, "encodeBool:forKey:")[storedKey(keyText("encodeBool:forKey:", key))] =
      plist::Value(value != NO);
}
void encodeInteger(id self, SEL, long value, id key) {
  container(self, "encodeInteger:forKey:")[storedKey(keyText("encodeInteger:forKey:", key))] =
      plist::Value(value);
}
void encodeDouble(id self, SEL, double value, id key) {
  container(self, "encodeDouble:forKey:")[storedKey(keyText("encodeDouble:forKey:", key))] =
      plist::Value(value);
}
BOOL allowsKeyedCoding(id, SEL) {
  return YES;
}

// The finished archive's bytes. Raises when the graph holds what a binary property list cannot
// (a string with a NUL) or the archive is larger than the unarchiver reads.
std::vector<std::uint8_t> finish(id self) {
  ArchiverBody& b = body(self);
  b.finished = true;
  plist::Value archive(plist::Dictionary{{"$archiver", "NSKeyedArchiver"},
                                         {"$version", 100000},
                                         {"$top", std::move(b.containers.front())},
                                         {"$objects", std::move(b.objects)}});
  if (std::string why = plist::isWritable(archive, plist::Format::Binary); !why.empty()) {
    refuse("finishEncoding", "cannot archive: " + why);
  }
  std::vector<std::uint8_t> bytes = plist::toBinary(archive);
  if (const std::size_t most = plist::Limits{}.maxBytes; bytes.size() > most) {
    refuse("finishEncoding", "an archive of " + std::to_string(bytes.size()) +
                                 " bytes is larger than the " + std::to_string(most) +
                                 " an unarchiver reads");
  }
  return bytes;
}

id archivedDataWithRootObject(id, SEL, id root) {
  Strong archiver = objc::make(NSKeyedArchiverClass());
  encodeObject(archiver, nullptr, root, nsstring("root"));
  return objc::autorelease(nsdata(finish(archiver)).leak());
}

// The body of `archiver` when it is an archiver still encoding. Raises otherwise.
ArchiverBody& encodingBody(id archiver, const char* what) {
  auto* b = objc::native<ArchiverBody>(archiver);
  if (!b) {
    NSException::raise(NSInvalidArgumentException,
                       std::string(what) + ": the coder is not an NSKeyedArchiver");
  }
  container(archiver, what);
  return *b;
}

}  // namespace

Class NSKeyedArchiverClass() {
  static Class cls =
      objc::deviceClass("NSKeyedArchiver", NSCoderClass(), [](objc::ClassBuilder& b) {
        b.body<ArchiverBody>()
            .classMethod(sel::archivedDataWithRootObject, archivedDataWithRootObject)
            .method(sel::allowsKeyedCoding, allowsKeyedCoding)
            .method(sel::encodeObject_forKey, encodeObject)
            .method(sel::encodeBool_forKey, encodeBool)
            .method(sel::encodeInteger_forKey, encodeInteger)
            .method(sel::encodeDouble_forKey, encodeDouble);
      });
  return cls;
}

void encodePropertyList(id archiver, std::string_view key, plist::Value value) {
  encodingBody(archiver, "encodePropertyList").containers.back()[storedKey(key)] = std::move(value);
}

void encodeArrayOfObjects(id archiver, std::span<const objc::Strong> objects,
                          std::string_view key) {
  encodingBody(archiver, "encodeArrayOfObjects");
  plist::Array references;
  references.reserve(objects.size());
  for (const Strong& object : objects)
    references.emplace_back(plist::Uid{entryOf(archiver, object)});
  body(archiver).containers.back()[storedKey(key)] = std::move(references);
}

}  // namespace platform
