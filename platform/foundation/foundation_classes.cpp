#include "platform/foundation/foundation_classes.h"

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nscalendar.h"
#include "platform/foundation/nsdata.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdateformatter.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsfilemanager.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nskeyedarchiver.h"
#include "platform/foundation/nskeyedunarchiver.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsset.h"
#include "platform/foundation/nsstring.h"

namespace platform::foundation {

void registerClasses() {
  NSStringClass();
  NSNumberClass();
  NSDateClass();
  NSDataClass();
  NSDateFormatterClass();
  NSCalendarClass();
  NSDateComponentsClass();
  NSKeyedArchiverClass();
  NSKeyedUnarchiverClass();
  NSMutableArrayClass();
  NSMutableDictionaryClass();
  NSMutableSetClass();
  NSIndexPathClass();
  NSFileManagerClass();
}

}  // namespace platform::foundation
