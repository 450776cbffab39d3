#include "platform/foundation/nskeyedunarchiver.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nscoder.h"
#include "platform/foundation/nsdata.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/plist_file.h"
#include "platform/foundation/property_list_objects.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform {
namespace {

using objc::Strong;

// What became of one entry of "$objects".
struct Entry {
  Strong object;            // the decoded object (nil when its initWithCoder: gave nil)
  std::uint64_t nodes = 0;  // objects reachable from it, shared ones counted each time
  enum : std::uint8_t { kUnseen, kOpen, kDone } state = kUnseen;
};

// An object whose initWithCoder: is running: its keys are what the decode methods read.
struct Frame {
  const plist::Dictionary* fields;
  std::uint64_t nodes = 1;  // itself and what it has decoded so far
};

struct UnarchiverBody : objc::NativeBody {
  plist::Limits limits;
  plist::Value archive;                    // the whole property list read
  const plist::Dictionary* top = nullptr;  // "$top", what decoding outside any object reads
  const plist::Array* objects = nullptr;   // "$objects"
  std::vector<Entry> entries;              // one per entry of "$objects"
  std::vector<Frame> frames;               // the objects being decoded, innermost last
};

UnarchiverBody& body(id self) {
  return *objc::native<UnarchiverBody>(self);
}

[[noreturn]] void refuse(const char* method, const std::string& why) {
  NSException::raise(NSInvalidUnarchiveOperationException,
                     std::string("*** -[NSKeyedUnarchiver ") + method + "]: " + why);
}

// The key as the archiver stored it (a leading "$" doubled).
std::string storedKey(std::string_view key) {
  return key.starts_with('$') ? "$" + std::string(key) : std::string(key);
}

// The key object as text. Raises NSInvalidArgumentException for nil and non-strings.
std::string keyText(const char* method, id key) {
  if (!isString(key)) {
    NSException::raise(NSInvalidArgumentException, std::string("*** -[NSKeyedUnarchiver ") +
                                                       method + "]: key is " +
                                                       (key ? "not a string" : "nil"));
  }
  return utf8(key);
}

// The keys that decoding reads now: the innermost object's, or "$top" outside any.
const plist::Dictionary& current(const UnarchiverBody& b) {
  return b.frames.empty() ? *b.top : *b.frames.back().fields;
}

// "a dictionary", "an array" and so on, for messages.
std::string aKind(const plist::Value& value) {
  const std::string_view name = value.kindName();
  const bool vowel = name.find_first_of("aeiou") == 0;
  return std::string(vowel ? "an " : "a ") + std::string(name);
}

// Counts `nodes` more objects under the innermost object being decoded, refusing a graph
// that, expanded, holds more values than the property-list reader accepts.
void addNodes(UnarchiverBody& b, std::uint64_t nodes, const std::string& key) {
  if (b.frames.empty()) return;
  Frame& frame = b.frames.back();
  frame.nodes += nodes;
  if (frame.nodes > b.limits.maxNodes) {
    refuse("decodeObjectForKey:", "objects for key (" + key + "), counted with every shared one, " +
                                      "are more than " + std::to_string(b.limits.maxNodes));
  }
}

// The device class for an archived class name: Foundation's own (the mutable string and data
// classes the device does not have separately become NSString and NSData) or any device class
// that answers initWithCoder:. Nil for anything else.
Class classNamed(const std::string& name) {
  static const std::pair<const char*, Class (*)()> kFoundation[] = {
      {"NSString", NSStringClass},
      {"NSMutableString", NSStringClass},
      {"NSNumber", NSNumberClass},
      {"NSDate", NSDateClass},
      {"NSData", NSDataClass},
      {"NSMutableData", NSDataClass},
      {"NSArray", NSArrayClass},
      {"NSMutableArray", NSMutableArrayClass},
      {"NSDictionary", NSDictionaryClass},
      {"NSMutableDictionary", NSMutableDictionaryClass},
  };
  for (const auto& [known, cls] : kFoundation) {
    if (name == known) return cls();
  }
  Class cls = objc_getClass(name.c_str());
  if (cls == Nil || !class_respondsToSelector(cls, sel::initWithCoder.sel())) return Nil;
  for (Class c = cls; c != Nil; c = class_getSuperclass(c)) {
    if (c == objc::rootClass()) return cls;
  }
  return Nil;
}

// The class that the "$class" reference of object `index` names. Raises for a missing or
// dangling reference, a class entry of the wrong shape, or a class the device cannot decode.
Class classOf(const UnarchiverBody& b, const plist::Dictionary& fields, std::uint32_t index,
              const std::string& key) {
  const std::string object = "object " + std::to_string(index) + " for key (" + key + ")";
  const auto ref = fields.find("$class");
  if (ref == fields.end() || !ref->second.is<plist::Uid>()) {
    refuse("decodeObjectForKey:", object + " has no $class reference");
  }
  const std::uint32_t classIndex = ref->second.as<plist::Uid>().value;
  if (classIndex >= b.objects->size()) {
    refuse("decodeObjectForKey:", "the $class of " + object + " refers to entry " +
                                      std::to_string(classIndex) + " of " +
                                      std::to_string(b.objects->size()));
  }
  const plist::Value& entry = (*b.objects)[classIndex];
  const plist::Value* name = entry.find("$classname");
  const plist::Value* chain = entry.find("$classes");
  bool chainOk = chain == nullptr || chain->is<plist::Array>();
  if (chainOk && chain) {
    for (const plist::Value& element : chain->as<plist::Array>()) {
      chainOk = chainOk && element.is<std::string>();
    }
  }
  if (!name || !name->is<std::string>() || !chainOk) {
    refuse("decodeObjectForKey:",
           "the $class of " + object + " is " + aKind(entry) + " that is no class entry");
  }
  Class cls = classNamed(name->as<std::string>());
  if (cls == Nil) {
    refuse("decodeObjectForKey:", "cannot decode object of class (" + name->as<std::string>() +
                                      ") for key (" + key +
                                      "); the class may be defined in source code or a library "
                                      "that is not linked");
  }
  return cls;
}

// Decodes the object dictionary of entry `index`: its class is allocated and initWithCoder:
// reads its keys. Raises as classOf does and past the reader's depth limit.
id decodeInstance(id self, std::uint32_t index, const plist::Dictionary& fields,
                  const std::string& key) {
  UnarchiverBody& b = body(self);
  Class cls = classOf(b, fields, index, key);
  if (b.frames.size() >= b.limits.maxDepth) {
    refuse("decodeObjectForKey:", "objects for key (" + key + ") nested deeper than " +
                                      std::to_string(b.limits.maxDepth) + " levels");
  }
  Entry& entry = b.entries[index];
  entry.state = Entry::kOpen;
  b.frames.push_back(Frame{&fields});
  id allocated = sel::alloc(reinterpret_cast<id>(cls));
  id result = nil;
  try {
    result = sel::initWithCoder(allocated, self);
  } catch (...) {
    objc::release(allocated);
    b.frames.pop_back();
    entry.state = Entry::kUnseen;
    throw;
  }
  entry.object = Strong::adopt(result);
  entry.nodes = b.frames.back().nodes;
  entry.state = Entry::kDone;
  b.frames.pop_back();
  addNodes(b, entry.nodes, key);
  return result;
}

// The object entry `index` of "$objects" stands for, decoding it the first time: the null
// reference is nil, plain strings, numbers and data are themselves, dictionaries are objects of
// their "$class". Raises for a dangling reference, a cycle or an entry of another kind.
id objectAt(id self, std::uint32_t index, const std::string& key) {
  UnarchiverBody& b = body(self);
  if (index >= b.objects->size()) {
    refuse("decodeObjectForKey:", "reference (" + std::to_string(index) + ") for key (" + key +
                                      ") is past the end of $objects (" +
                                      std::to_string(b.objects->size()) +
                                      (b.objects->size() == 1 ? " entry)" : " entries)"));
  }
  if (index == 0) return nil;
  Entry& entry = b.entries[index];
  if (entry.state == Entry::kDone) {
    addNodes(b, entry.nodes, key);
    return entry.object;
  }
  if (entry.state == Entry::kOpen) {
    refuse("decodeObjectForKey:", "object " + std::to_string(index) + " for key (" + key +
                                      ") refers back to itself through a reference cycle");
  }
  const plist::Value& value = (*b.objects)[index];
  switch (value.kind()) {
    case plist::Kind::String:
    case plist::Kind::Integer:
    case plist::Kind::Real:
    case plist::Kind::Boolean:
    case plist::Kind::Data:
      entry.object = objectFromValue(value);
      entry.nodes = 1;
      entry.state = Entry::kDone;
      addNodes(b, 1, key);
      return entry.object;
    case plist::Kind::Dictionary:
      return decodeInstance(self, index, value.as<plist::Dictionary>(), key);
    default:
      refuse("decodeObjectForKey:", "object " + std::to_string(index) + " for key (" + key +
                                        ") is " + aKind(value) + ", not an object");
  }
}

// Empty when `archive` has the keyed archive's shape; otherwise why not.
std::string archiveShapeError(const plist::Value& archive) {
  const std::string prefix = "incomprehensible archive";
  if (!archive.is<plist::Dictionary>()) return prefix + ": the root is " + aKind(archive);
  const plist::Value* archiver = archive.find("$archiver");
  if (!archiver || !archiver->is<std::string>() ||
      archiver->as<std::string>() != "NSKeyedArchiver") {
    return prefix + ": $archiver is not NSKeyedArchiver";
  }
  const plist::Value* version = archive.find("$version");
  if (!version || !version->is<std::int64_t>() || version->as<std::int64_t>() != 100000) {
    const bool number = version && version->is<plist::Integer>();
    return prefix + " version (" +
           (number ? version->as<plist::Integer>().toString() : std::string("none")) + ")";
  }
  const plist::Value* top = archive.find("$top");
  if (!top || !top->is<plist::Dictionary>()) return prefix + ": $top is not a dictionary";
  const plist::Value* objects = archive.find("$objects");
  if (!objects || !objects->is<plist::Array>()) return prefix + ": $objects is not an array";
  return {};
}

// "0x62, 0x61, ...": the first bytes of data that is no archive, as Foundation shows them.
std::string leadingBytes(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size() && i < 8; ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%s0x%02x", i ? ", " : "", bytes[i]);
    text += hex;
  }
  return text;
}

// Releases the unarchiver being made and raises NSInvalidArgumentException for `why`.
[[noreturn]] void refuseData(id self, const std::string& why) {
  objc::release(self);
  NSException::raise(NSInvalidArgumentException,
                     "*** -[NSKeyedUnarchiver initForReadingWithData:]: " + why);
}

id initForReadingWithData(id self, SEL, id data) {
  if (!data) refuseData(self, "data is NULL");
  const std::vector<std::uint8_t>* bytes = dataBytes(data);
  if (!bytes) refuseData(self, std::string("data is an instance of ") + objc::className(data));
  if (bytes->empty()) {
    objc::release(self);
    return nil;
  }
  UnarchiverBody& b = body(self);
  plist::ParseResult read = plist::parse(*bytes, b.limits);
  if (!read.ok()) {
    refuseData(self, "incomprehensible archive (" + leadingBytes(*bytes) + "): " + read.error);
  }
  if (std::string why = archiveShapeError(*read.value); !why.empty()) {
    refuseData(self, why);
  }
  b.archive = std::move(*read.value);
  b.top = &b.archive.find("$top")->as<plist::Dictionary>();
  b.objects = &b.archive.find("$objects")->as<plist::Array>();
  b.entries.resize(b.objects->size());
  return self;
}

id unarchiveObjectWithData(id, SEL, id data) {
  Strong unarchiver = Strong::adopt(initForReadingWithData(
      sel::alloc(reinterpret_cast<id>(NSKeyedUnarchiverClass())), nullptr, data));
  if (!unarchiver) return nil;
  return objc::autorelease(objc::retain(sel::decodeObjectForKey(unarchiver, nsstring("root"))));
}

id decodeObject(id self, SEL, id key) {
  const std::string name = keyText("decodeObjectForKey:", key);
  const plist::Dictionary& fields = current(body(self));
  const auto found = fields.find(storedKey(name));
  if (found == fields.end()) return nil;
  if (!found->second.is<plist::Uid>()) {
    refuse("decodeObjectForKey:",
           "value for key (" + name + ") is " + aKind(found->second) + ", not an object reference");
  }
  return objectAt(self, found->second.as<plist::Uid>().value, name);
}
id decodeObjectOfClass(id self, SEL cmd, Class cls, id key) {
  id object = decodeObject(self, cmd, key);
  if (object && !objc::isKindOf(object, cls)) {
    refuse("decodeObjectOfClass:forKey:",
           "value for key '" + utf8(key) + "' was of unexpected class '" + objc::className(object) +
               "'. Allowed classes are '{(" + class_getName(cls) + ")}'.");
  }
  return object;
}

// The plain value under `key` of the object being decoded, or null when there is none.
const plist::Value* valueFor(id self, const char* method, id key) {
  const plist::Dictionary& fields = current(body(self));
  const auto found = fields.find(storedKey(keyText(method, key)));
  return found == fields.end() ? nullptr : &found->second;
}

BOOL decodeBool(id self, SEL, id key) {
  const plist::Value* value = valueFor(self, "decodeBoolForKey:", key);
  if (!value) return NO;
  if (const bool* b = value->get<bool>()) return *b ? YES : NO;
  if (const plist::Integer* i = value->get<plist::Integer>()) return i->bits() != 0 ? YES : NO;
  refuse("decodeBoolForKey:",
         "value for key (" + utf8(key) + ") is " + aKind(*value) + ", not a boolean");
}
long decodeInteger(id self, SEL, id key) {
  const plist::Value* value = valueFor(self, "decodeIntegerForKey:", key);
  if (!value) return 0;
  if (const bool* b = value->get<bool>()) return *b ? 1 : 0;
  if (const plist::Integer* i = value->get<plist::Integer>()) {
    if (!i->toSigned()) {
      refuse("decodeIntegerForKey:", "value (" + i->toString() + ") for key (" + utf8(key) +
                                         ") too large to fit in 64-bit integer");
    }
    return *i->toSigned();
  }
  refuse("decodeIntegerForKey:",
         "value for key (" + utf8(key) + ") is " + aKind(*value) + ", not an integer");
}
double decodeDouble(id self, SEL, id key) {
  const plist::Value* value = valueFor(self, "decodeDoubleForKey:", key);
  if (!value) return 0;
  if (const double* d = value->get<double>()) return *d;
  if (const plist::Integer* i = value->get<plist::Integer>()) {
    return i->aboveSignedMax() ? static_cast<double>(i->bits())
                               : static_cast<double>(*i->toSigned());
  }
  refuse("decodeDoubleForKey:",
         "value for key (" + utf8(key) + ") is " + aKind(*value) + ", not a number");
}
BOOL containsValue(id self, SEL, id key) {
  return valueFor(self, "containsValueForKey:", key) ? YES : NO;
}
BOOL allowsKeyedCoding(id, SEL) {
  return YES;
}
void finishDecoding(id, SEL) {}

// The body of `unarchiver`. Raises NSInvalidArgumentException for anything else.
UnarchiverBody& decodingBody(id unarchiver, const char* what) {
  auto* b = objc::native<UnarchiverBody>(unarchiver);
  if (!b || !b->top) {
    NSException::raise(NSInvalidArgumentException,
                       std::string(what) + ": the coder is not an NSKeyedUnarchiver");
  }
  return *b;
}

}  // namespace

Class NSKeyedUnarchiverClass() {
  static Class cls =
      objc::deviceClass("NSKeyedUnarchiver", NSCoderClass(), [](objc::ClassBuilder& b) {
        b.body<UnarchiverBody>()
            .classMethod(sel::unarchiveObjectWithData, unarchiveObjectWithData)
            .method(sel::initForReadingWithData, initForReadingWithData)
            .method(sel::allowsKeyedCoding, allowsKeyedCoding)
            .method(sel::decodeObjectForKey, decodeObject)
            .method(sel::decodeObjectOfClass_forKey, decodeObjectOfClass)
            .method(sel::decodeBoolForKey, decodeBool)
            .method(sel::decodeIntegerForKey, decodeInteger)
            .method(sel::decodeDoubleForKey, decodeDouble)
            .method(sel::containsValueForKey, containsValue)
            .method(sel::finishDecoding, finishDecoding);
      });
  return cls;
}

const plist::Value* decodePropertyList(id unarchiver, std::string_view key) {
  const plist::Dictionary& fields = current(decodingBody(unarchiver, "decodePropertyList"));
  const auto found = fields.find(storedKey(key));
  return found == fields.end() ? nullptr : &found->second;
}

std::vector<objc::Strong> decodeArrayOfObjects(id unarchiver, std::string_view key) {
  const plist::Value* value = decodePropertyList(unarchiver, key);
  std::vector<Strong> objects;
  if (!value) return objects;
  const plist::Array* references = value->get<plist::Array>();
  bool allReferences = references != nullptr;
  for (std::size_t i = 0; allReferences && i < references->size(); ++i) {
    allReferences = (*references)[i].is<plist::Uid>();
  }
  if (!allReferences) {
    refuse("decodeArrayOfObjects", "value for key (" + std::string(key) + ") is " + aKind(*value) +
                                       ", not an array of object references");
  }
  objects.reserve(references->size());
  for (const plist::Value& reference : *references) {
    objects.emplace_back(objectAt(unarchiver, reference.as<plist::Uid>().value, std::string(key)));
  }
  return objects;
}

}  // namespace platform
