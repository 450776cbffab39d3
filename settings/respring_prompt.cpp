#include "settings/respring_prompt.h"

#include "platform/dispatch/distributed_notification_center.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/object.h"
#include "platform/objc/strong.h"
#include "settings/pane_settings.h"
#include "settings/preferences_headers.h"

namespace pane {
namespace {

using platform::objc::Strong;

// An alert with `title`, `message`, `tag` and `delegate`; the caller adds its buttons.
Strong makeAlert(const char* title, const char* message, long tag, id delegate) {
  Strong alert = Strong::adopt(sel::new_(paneClass("UIAlertView")));
  ps::setTitle(alert, CFSTR(title));
  ps::setMessage(alert, CFSTR(message));
  ps::setTag(alert, tag);
  ps::setDelegate(alert, delegate);
  return alert;
}

}  // namespace

void showRespringPrompt(id delegate) {
  Strong alert = makeAlert("Tarrow 8", "You should probably respring now. Do you want to?",
                           kRespringPromptTag, delegate);
  ps::addButtonWithTitle(alert, CFSTR("No"));
  ps::addButtonWithTitle(alert, CFSTR("Yes"));
  ps::setCancelButtonIndex(alert, 0);
  ps::show(alert);
}

void showWriteFailedNotice(id delegate) {
  Strong alert = makeAlert("Tarrow 8",
                           "Your change was not saved: the settings file cannot be written. "
                           "Tarrow8 keeps its previous settings.",
                           kWriteFailedTag, delegate);
  ps::addButtonWithTitle(alert, CFSTR("OK"));
  ps::setCancelButtonIndex(alert, 0);
  ps::show(alert);
}

void respringPromptDismissed(id alert, long buttonIndex) {
  if (buttonIndex != kYesButton || ps::tag(alert) != kRespringPromptTag) return;
  id center = sel::defaultCenter(paneClass("NSDistributedNotificationCenter"));
  sel::postNotificationName_object(center, CFSTR(kRespringNotification), nil);
}

}  // namespace pane
