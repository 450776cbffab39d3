#include "tweak/actions/reminder_editor.h"

#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsstring.h"
#include "tweak/state/globals.h"
#include "tweak/state/uikit_headers.h"

namespace tarrow8 {
namespace {

constexpr double kPickerX = 10.0;
constexpr double kPickerWidth = 320.0;
constexpr double kPickerHeight = 216.0;
constexpr double kAlertExtraHeight = 20.0;
constexpr long kDateAndTimeMode = 2;
constexpr double kEarliestSeconds = -300.0;
constexpr unsigned long kHourMinuteSecond = 224;

}  // namespace

void openReminderEditor(id key, id delegate, id date) {
  reminderAlert = newInstance("UIAlertView");
  id alert = reminderAlert;
  ui::setTag(alert, kReminderAlertTag);
  ui::setAccessibilityValue(alert, key);
  ui::setTitle(alert, CFSTR("Tarrow 8"));
  ui::setDelegate(alert, delegate);
  ui::addButtonWithTitle(alert, CFSTR("Add"));
  ui::addButtonWithTitle(alert, CFSTR("Delete"));
  ui::addButtonWithTitle(alert, CFSTR("Cancel"));
  ui::setCancelButtonIndex(alert, 2);
  CGRect bounds = ui::bounds(alert);
  reminderDatePicker = Strong::adopt(
      ui::initWithFrame(sel::alloc(classObject("UIDatePicker")),
                        CGRectMake(kPickerX, bounds.size.height, kPickerWidth, kPickerHeight)));
  id picker = reminderDatePicker;
  ui::setDatePickerMode(picker, kDateAndTimeMode);
  ui::setMinimumDate(picker,
                     sel::dateWithTimeIntervalSinceNow(classObject("NSDate"), kEarliestSeconds));
  ui::setDate(picker, date);
  ui::setValue_forKey(alert, picker, CFSTR("accessoryView"));
  ui::setBounds(alert, CGRectMake(0, 0, bounds.size.width,
                                  bounds.size.height + kPickerHeight + kAlertExtraHeight));
  ui::show(alert);
}

id onItsMinute(id date) {
  id parts = ui::components_fromDate(ui::currentCalendar(classObject("NSCalendar")),
                                     kHourMinuteSecond, date);
  return ui::dateWithTimeInterval_sinceDate(classObject("NSDate"),
                                            -static_cast<double>(ui::second(parts)), date);
}

}  // namespace tarrow8
