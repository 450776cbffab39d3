#pragma once
// NSOperationQueue as far as the device needs it: the main queue, whose operations run on the
// main run loop.

#include <functional>

#include "platform/objc/object.h"
#include "platform/objc/type_encoding.h"

namespace platform {

// The class "NSOperationQueue".
Class NSOperationQueueClass();

// The main queue, the same object on every call.
id mainOperationQueue();

}  // namespace platform

namespace sel {
using platform::objc::Selector;
// The main queue (class methods); on the device the current queue is always the main one.
inline const Selector<id()> mainQueue{"mainQueue"};
inline const Selector<id()> currentQueue{"currentQueue"};
// Runs the block later on the main run loop, as the calling process.
inline const Selector<void(std::function<void()>)> addOperationWithBlock{"addOperationWithBlock:"};
}  // namespace sel
