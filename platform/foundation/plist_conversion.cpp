#include "platform/foundation/plist_conversion.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "platform/foundation/plist_text.h"

namespace platform::plist::detail {

std::optional<Uid> xmlUidOf(const Dictionary& entries) {
  if (entries.size() != 1 || entries.begin()->first != "CF$UID") return std::nullopt;
  const Integer* index = entries.begin()->second.get<Integer>();
  const std::optional<std::uint64_t> value = index ? index->toUnsigned() : std::nullopt;
  if (!value || *value > UINT32_MAX) return std::nullopt;
  return Uid{static_cast<std::uint32_t>(*value)};
}

// ---------------------------------------------------------------------------------------------
// libplist tree to Value.

std::optional<Value> Converter::convert(plist_t node, std::uint64_t index) {
  const ObjectInfo* info = binary_ != nullptr ? &binary_->object(index) : nullptr;
  const plist_type type = plist_get_node_type(node);
  const auto expect = [&](std::initializer_list<ObjectType> allowed) {
    if (info == nullptr) return true;
    return std::find(allowed.begin(), allowed.end(), info->type) != allowed.end();
  };
  switch (type) {
    case PLIST_BOOLEAN: {
      if (!expect({ObjectType::Bool})) break;
      std::uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return Value(b != 0);
    }
    case PLIST_UINT: {
      if (!expect({ObjectType::Integer})) break;
      if (info != nullptr) return Value(info->integer);
      if (scalars_ == nullptr) break;
      std::uint64_t u = 0;
      plist_get_uint_val(node, &u);
      if (u >= scalars_->size()) break;
      return (*scalars_)[u];
    }
    case PLIST_REAL: {
      if (!expect({ObjectType::Real})) break;
      double d = 0;
      plist_get_real_val(node, &d);
      return Value(d);
    }
    case PLIST_DATE:
      // XML dates reach libplist only as integer indexes.
      if (info == nullptr || !expect({ObjectType::Date})) break;
      return Value(Date{info->date});
    case PLIST_UID:
      // XML has no UID element; libplist reads "CF$UID" dictionaries as dictionaries.
      if (info == nullptr || !expect({ObjectType::Uid})) break;
      return Value(Uid{info->uid});
    case PLIST_STRING:
    case PLIST_KEY: {
      if (!expect({ObjectType::Ascii, ObjectType::Utf16})) break;
      std::string s;
      if (type == PLIST_STRING) {
        std::uint64_t length = 0;
        const char* p = plist_get_string_ptr(node, &length);
        if (p != nullptr) s.assign(p, length);
      } else {
        char* key = nullptr;
        plist_get_key_val(node, &key);
        if (key != nullptr) s = key;
        std::free(key);
      }
      if (error_ = checkText(s, "string"); !error_.empty()) return std::nullopt;
      return Value(std::move(s));
    }
    case PLIST_DATA: {
      if (!expect({ObjectType::Data})) break;
      std::uint64_t length = 0;
      const char* p = plist_get_data_ptr(node, &length);
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(p);
      return Value(p != nullptr ? Data(bytes, bytes + length) : Data());
    }
    case PLIST_ARRAY:
      if (!expect({ObjectType::Array})) break;
      return convertArray(node, info);
    case PLIST_DICT:
      if (!expect({ObjectType::Dict})) break;
      return convertDict(node, info);
    default:
      break;
  }
  error_ = info != nullptr ? "object " + std::to_string(index) + " decoded as an unexpected type"
                           : "unexpected value type";
  return std::nullopt;
}

// Walks the elements with an iterator: plist_array_get_item is linear in the index for
// arrays read from binary files, which would make large arrays quadratic.
std::optional<Value> Converter::convertArray(plist_t node, const ObjectInfo* info) {
  plist_array_iter it = nullptr;
  plist_array_new_iter(node, &it);
  if (it == nullptr) {
    error_ = "cannot iterate an array";
    return std::nullopt;
  }
  std::unique_ptr<void, decltype(&std::free)> iter(it, &std::free);
  Array elements;
  if (info != nullptr) elements.reserve(info->count);
  for (std::uint64_t i = 0;; ++i) {
    plist_t item = nullptr;
    plist_array_next_item(node, it, &item);
    if (item == nullptr) break;
    if (info != nullptr && i >= info->count) {
      error_ = "array decoded with the wrong number of elements";
      return std::nullopt;
    }
    std::optional<Value> element =
        convert(item, info != nullptr ? binary_->reference(*info, i) : 0);
    if (!element) return std::nullopt;
    elements.push_back(std::move(*element));
  }
  if (info != nullptr && elements.size() != info->count) {
    error_ = "array decoded with the wrong number of elements";
    return std::nullopt;
  }
  return Value(std::move(elements));
}

std::optional<Value> Converter::convertDict(plist_t node, const ObjectInfo* info) {
  plist_dict_iter it = nullptr;
  plist_dict_new_iter(node, &it);
  if (it == nullptr) {
    error_ = "cannot iterate a dictionary";
    return std::nullopt;
  }
  std::unique_ptr<void, decltype(&std::free)> iter(it, &std::free);
  Dictionary entries;
  std::uint64_t n = 0;
  for (;; ++n) {
    char* rawKey = nullptr;
    plist_t item = nullptr;
    plist_dict_next_item(node, it, &rawKey, &item);
    std::unique_ptr<char, decltype(&std::free)> key(rawKey, &std::free);
    if (item == nullptr) break;
    if (key == nullptr || (info != nullptr && n >= info->count)) {
      error_ = "dictionary decoded with the wrong entries";
      return std::nullopt;
    }
    std::string name(key.get());
    if (error_ = checkText(name, "dictionary key"); !error_.empty()) return std::nullopt;
    std::optional<Value> value =
        convert(item, info != nullptr ? binary_->reference(*info, info->count + n) : 0);
    if (!value) return std::nullopt;
    // A repeated key keeps its last value, as libplist's XML reader does.
    entries.insert_or_assign(std::move(name), std::move(*value));
  }
  if (info != nullptr && n != info->count) {
    error_ = "dictionary decoded with the wrong number of entries";
    return std::nullopt;
  }
  if (info == nullptr) {
    if (const std::optional<Uid> uid = xmlUidOf(entries)) return Value(*uid);
  }
  return Value(std::move(entries));
}

}  // namespace platform::plist::detail
