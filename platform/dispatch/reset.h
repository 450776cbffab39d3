#pragma once
// Bringing the dispatch layer to the state of a freshly booted device.

namespace platform::dispatch {

// Defines the layer's device classes (NSNotification, NSOperationQueue, NSRunLoop,
// NSDistributedNotificationCenter, PCSimpleTimer) so that they can be found by name.
void registerClasses();

// Empties the notification centres, invalidates every timer, clears suspension marks and
// empties the run loop (restoring its default crash handler). The clock is left as it is.
void resetForNewDevice();

}  // namespace platform::dispatch
