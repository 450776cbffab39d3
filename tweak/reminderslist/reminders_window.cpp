#include "tweak/reminderslist/reminders_window.h"

#include "platform/foundation/nsstring.h"
#include "tweak/state/globals.h"
#include "tweak/state/springboard_headers.h"
#include "tweak/state/uikit_headers.h"

namespace tarrow8 {

void openRemindersWindow() {
  id center = sb::sharedInstanceIfExists(classObject("SBNotificationCenterController"));
  if (sb::isVisible(center)) sb::dismissAnimated(center, YES);
  id screen = ui::mainScreen(classObject("UIScreen"));
  remindersWindow =
      Strong::adopt(ui::initWithFrame(sel::alloc(classObject("UIWindow")), ui::bounds(screen)));
  id window = remindersWindow;
  ui::setScreen(window, screen);
  ui::setWindowLevel(window, ui::kUIWindowLevelStatusBar - 1.0);
  Strong list = Strong::adopt(sel::init(sel::alloc(reinterpret_cast<id>(myViewControllerClass()))));
  Strong navigation = Strong::adopt(
      ui::initWithRootViewController(sel::alloc(classObject("UINavigationController")), list));
  ui::setBarStyle(ui::navigationBar(navigation), 1);
  ui::setTitle(list, CFSTR("Tarrow 8 Reminders"));
  Strong root =
      Strong::adopt(sel::init(sel::alloc(reinterpret_cast<id>(myRootViewControllerClass()))));
  ui::setRootViewController(window, root);
  ui::makeKeyAndVisible(window);
  ui::presentViewController_animated_completion(ui::rootViewController(window), navigation, YES,
                                                nullptr);
}

}  // namespace tarrow8
