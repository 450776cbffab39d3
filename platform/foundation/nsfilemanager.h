#pragma once
// NSFileManager, as far as asking whether something exists at a device path.

#include "platform/objc/object.h"

namespace platform {

// The class "NSFileManager".
Class NSFileManagerClass();

}  // namespace platform

namespace sel {
using platform::objc::Selector;
inline const Selector<id()> defaultManager{"defaultManager"};
inline const Selector<BOOL(id)> fileExistsAtPath{"fileExistsAtPath:"};
}  // namespace sel
