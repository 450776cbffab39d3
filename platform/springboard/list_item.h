#pragma once
// SBAwayBulletinListItem: the lock-screen list's wrapper of one bulletin. Its date is the
// bulletin's date, which orders the list (newest first).

#include "platform/objc/object.h"

namespace platform::springboard {

// The class "SBAwayBulletinListItem", created on first use.
Class SBAwayBulletinListItemClass();

// The observer the item was made with (device side; the platform keeps it private).
id listItemObserver(id item);

}  // namespace platform::springboard

namespace platform::springboard::sbsel {
using objc::Selector;
// A new item for `bulletin`, delivered through `observer` (either may be nil).
inline const Selector<id(id, id)> initWithBulletin_andObserver{"initWithBulletin:andObserver:"};
// The bulletin the item presents (nil for an item made without one).
inline const Selector<id()> activeBulletin{"activeBulletin"};
// `date` (declared with BBBulletin): the item's bulletin's date, or the moment it was made when
// it has no bulletin.
}  // namespace platform::springboard::sbsel
