#include "tweak/actions/row_key.h"

#include <string>

#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"

namespace tarrow8 {

platform::objc::Strong rowKey(id indexPath) {
  return platform::stringWithFormat("%li:%li", sel::row(indexPath), sel::section(indexPath));
}

platform::objc::Strong indexPathOfRowKey(id key) {
  std::string text = platform::utf8(key);
  std::size_t colon = text.find(':');
  auto piece = [](const std::string& s) {
    return static_cast<long>(sel::intValue(platform::nsstring(s)));
  };
  long row = piece(text.substr(0, colon));
  long section = colon == std::string::npos ? 0 : piece(text.substr(colon + 1));
  return platform::indexPath(row, section);
}

}  // namespace tarrow8
