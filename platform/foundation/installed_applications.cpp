#include "platform/foundation/installed_applications.h"

#include <algorithm>

namespace platform {

const std::vector<InstalledApplication>& installedApplications() {
  static const auto* apps = [] {
    auto* list = new std::vector<InstalledApplication>{
        {"com.apple.AppStore", "App Store"},
        {"com.apple.calculator", "Calculator"},
        {"com.apple.mobilecal", "Calendar"},
        {"com.apple.camera", "Camera"},
        {"com.apple.mobiletimer", "Clock"},
        {"com.apple.MobileAddressBook", "Contacts"},
        {"com.apple.facetime", "FaceTime"},
        {"com.apple.mobileme.fmip1", "Find iPhone"},
        {"com.apple.gamecenter", "Game Center"},
        {"com.apple.Health", "Health"},
        {"com.apple.mobilemail", "Mail"},
        {"com.apple.Maps", "Maps"},
        {"com.apple.MobileSMS", "Messages"},
        {"com.apple.Music", "Music"},
        {"com.apple.mobilenotes", "Notes"},
        {"com.apple.mobilephone", "Phone"},
        {"com.apple.mobileslideshow", "Photos"},
        {"com.apple.reminders", "Reminders"},
        {"com.apple.mobilesafari", "Safari"},
        {"com.apple.Preferences", "Settings"},
        {"com.apple.stocks", "Stocks"},
        {"com.apple.weather", "Weather"},
        {"com.apple.Passbook", "Passbook"},
        {"com.apple.videos", "Videos"},
        {"net.whatsapp.WhatsApp", "WhatsApp"},
        {"com.atebits.Tweetie2", "Twitter"},
        {"com.facebook.Facebook", "Facebook"},
        {"com.google.Gmail", "Gmail"},
        {"com.apple.webapp", "Web App", true},
        {"com.apple.AccountAuthenticationDialog", "Account Authentication", true},
        {"com.apple.datadetectors.DDActionsService", "DDActionsService", true},
        {"com.apple.springboard", "SpringBoard", true},
    };
    std::sort(list->begin(), list->end(),
              [](const auto& a, const auto& b) { return a.displayName < b.displayName; });
    return list;
  }();
  return *apps;
}

const InstalledApplication* installedApplication(const std::string& bundleIdentifier) {
  for (const auto& app : installedApplications()) {
    if (app.bundleIdentifier == bundleIdentifier) return &app;
  }
  return nullptr;
}

}  // namespace platform
