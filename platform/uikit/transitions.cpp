#include "platform/uikit/transitions.h"

#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"

namespace platform::uikit {

void endTransition(bool animated, std::function<void()> ended) {
  if (!ended) return;
  if (!animated) {
    ended();
    return;
  }
  RunLoop::main().post(DeviceClock::shared().now(), std::move(ended));
}

}  // namespace platform::uikit
