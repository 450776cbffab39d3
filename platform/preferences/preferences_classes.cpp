#include "platform/preferences/preferences_classes.h"

#include "platform/preferences/applist/application_list.h"
#include "platform/preferences/pslistcontroller.h"
#include "platform/preferences/psspecifier.h"
#include "platform/preferences/pstablecell.h"
#include "platform/preferences/psviewcontroller.h"

namespace platform::preferences {

void registerClasses() {
  PSSpecifierClass();
  PSViewControllerClass();
  PSListControllerClass();
  PSTableCellClass();
  PSSwitchTableCellClass();
  ALApplicationListControllerClass();
  ALCheckCellClass();
}

}  // namespace platform::preferences
