#include "platform/dispatch/operation_queue.h"

#include "platform/dispatch/run_loop.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

id mainQueueOf(id, SEL) {
  return mainOperationQueue();
}

// Queues the block on the run loop as the calling process, never running it synchronously.
void addOperationWithBlock(id, SEL, std::function<void()> block) {
  if (block) RunLoop::main().post(DeviceClock::shared().now(), std::move(block));
}

}  // namespace

Class NSOperationQueueClass() {
  static Class cls =
      objc::deviceClass("NSOperationQueue", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.method(sel::addOperationWithBlock, addOperationWithBlock)
            .classMethod(sel::mainQueue, mainQueueOf)
            .classMethod(sel::currentQueue, mainQueueOf);
      });
  return cls;
}

id mainOperationQueue() {
  // Lives as long as the device: the runtime's objects are never torn down at exit.
  static id queue = objc::make(NSOperationQueueClass()).leak();
  return queue;
}

}  // namespace platform
