#pragma once
// Defining Foundation's device classes up front, so that code looking classes up by name
// ("NSMutableDictionary") finds them from the first moment of a process.

namespace platform::foundation {

// Defines NSString, NSNumber, NSDate, NSData, NSArray, NSMutableArray, NSDictionary,
// NSMutableDictionary, NSSet, NSMutableSet, NSIndexPath, NSFileManager, NSDateFormatter,
// NSCalendar, NSDateComponents, NSKeyedArchiver and NSKeyedUnarchiver (idempotent).
void registerClasses();

}  // namespace platform::foundation
