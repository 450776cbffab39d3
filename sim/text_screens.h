#pragma once
// The phone's screens as text for the transcript: one function per screen, fed by what
// SpringBoard's own views show (screens.h).

#include <iosfwd>
#include <string>

#include "platform/springboard/delivery_log.h"
#include "sim/screens.h"

namespace sim {

// The lock screen: whether it is up, then its rows top first with what each last played.
void renderLockScreen(const LockScreenShot& screen, std::ostream& out);
// Notification Center: whether it is shown, then its rows top first.
void renderNotificationCenter(const NotificationCenterShot& screen, std::ostream& out);
// One row: "m1  Messages  Anna: Lunch?  8:05 AM".
std::string describeRow(const ScreenRow& row);
// What a delivery did: "m1 played lights and sound \"ding\" on the lock screen".
std::string describeDelivery(const platform::springboard::Delivery& delivery);
// The application's name on the home screen, or its bundle identifier when not installed.
std::string applicationName(const std::string& bundleIdentifier);

}  // namespace sim
