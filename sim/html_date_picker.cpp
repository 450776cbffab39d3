// A date picker's wheels, turned to its date: the minute before and the minute after it greyed
// above and below, as the wheels show their neighbours.

#include "platform/foundation/device_locale.h"
#include "platform/foundation/nsdate.h"
#include "platform/uikit/uidatepicker.h"
#include "sim/html_markup.h"
#include "sim/html_screens.h"

namespace sim {

void drawDatePicker(id picker, std::string& html) {
  double date = platform::dateSeconds(sel::date(picker));
  auto shown = [](double seconds) {
    return htmlText(
        platform::formatDate(seconds, platform::DateStyle::Short, platform::DateStyle::Short));
  };
  html += "<div class=\"date-picker\"><div class=\"wheel-row near\">" + shown(date - 60) +
          "</div><div class=\"wheel-row chosen\">" + shown(date) +
          "</div><div class=\"wheel-row near\">" + shown(date + 60) + "</div></div>";
}

}  // namespace sim
