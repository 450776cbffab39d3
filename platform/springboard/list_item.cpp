#include "platform/springboard/list_item.h"

#include "platform/foundation/clock.h"
#include "platform/foundation/format.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/springboard/bulletin.h"

namespace platform::springboard {
namespace {

using objc::Strong;

struct ItemBody : objc::NativeBody {
  Strong bulletin;
  Strong observer;
  Strong made;  // the item's creation date, used when it has no bulletin
};

ItemBody& body(id self) {
  return *objc::native<ItemBody>(self);
}

id initWithBulletin(id self, SEL, id bulletin, id observer) {
  body(self).bulletin = bulletin;
  body(self).observer = observer;
  body(self).made = nsdate(DeviceClock::shared().nowSeconds());
  return self;
}
id activeBulletin(id self, SEL) {
  return body(self).bulletin;
}
id date(id self, SEL) {
  id bulletin = body(self).bulletin;
  id bulletinDate = objc::isKindOf(bulletin, BBBulletinClass()) ? sbsel::date(bulletin) : nil;
  return bulletinDate ? bulletinDate : body(self).made.get();
}
id copyWithZone(id self, SEL, void*) {
  id copy = objc::allocInstance(object_getClass(self));
  body(copy) = body(self);
  return copy;
}
id description(id self, SEL) {
  return objc::autorelease(
      nsstring(formatString("<SBAwayBulletinListItem: %s>",
                            utf8(objc::isKindOf(body(self).bulletin, BBBulletinClass())
                                     ? sbsel::bulletinID(body(self).bulletin)
                                     : nil,
                                 "no bulletin")
                                .c_str()))
          .leak());
}

}  // namespace

Class SBAwayBulletinListItemClass() {
  static Class cls =
      objc::deviceClass("SBAwayBulletinListItem", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<ItemBody>()
            .method(sbsel::initWithBulletin_andObserver, initWithBulletin)
            .method(sbsel::activeBulletin, activeBulletin)
            .method(sbsel::date, date)
            .method(sel::copyWithZone, copyWithZone)
            .method(sel::description, description);
      });
  return cls;
}

id listItemObserver(id item) {
  auto* b = objc::native<ItemBody>(item);
  return b ? b->observer.get() : nil;
}

}  // namespace platform::springboard
