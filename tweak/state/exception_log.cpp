#include "tweak/state/exception_log.h"

#include "platform/foundation/nslog.h"
#include "platform/foundation/nsstring.h"

namespace tarrow8 {

void logException(const char* message, int line, const NSException& exception) {
  platform::objc::Strong reason = platform::nsstring(exception.reason());
  NSLog(message, line, reason.get());
}

}  // namespace tarrow8
