#include "platform/foundation/plist_value.h"

namespace platform::plist {

std::string_view kindName(Kind kind) {
  switch (kind) {
    case Kind::Boolean:
      return "boolean";
    case Kind::Integer:
      return "integer";
    case Kind::Real:
      return "real";
    case Kind::String:
      return "string";
    case Kind::Date:
      return "date";
    case Kind::Data:
      return "data";
    case Kind::Array:
      return "array";
    case Kind::Dictionary:
      return "dictionary";
    case Kind::Uid:
      return "uid";
  }
  return "unknown";
}

std::string Integer::toString() const {
  return aboveSignedMax_ ? std::to_string(bits()) : std::to_string(bits_);
}

const Value* Value::find(const std::string& key) const {
  const Dictionary* entries = get<Dictionary>();
  if (entries == nullptr) return nullptr;
  auto it = entries->find(key);
  return it == entries->end() ? nullptr : &it->second;
}

bool operator==(const Value& a, const Value& b) {
  return a.storage_ == b.storage_;
}

}  // namespace platform::plist
