#include "platform/foundation/nsindexpath.h"

#include "platform/foundation/format.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

struct IndexPathBody : objc::NativeBody {
  long row = 0;
  long section = 0;
};

IndexPathBody& body(id self) {
  return *objc::native<IndexPathBody>(self);
}

id newIndexPath(long row, long section) {
  id p = objc::allocInstance(NSIndexPathClass());
  body(p).row = row;
  body(p).section = section;
  return p;
}

id forRowInSection(id, SEL, long row, long section) {
  return objc::autorelease(newIndexPath(row, section));
}
long row(id self, SEL) {
  return body(self).row;
}
long section(id self, SEL) {
  return body(self).section;
}
BOOL isEqual(id self, SEL, id other) {
  auto* theirs = objc::native<IndexPathBody>(other);
  return theirs && theirs->row == body(self).row && theirs->section == body(self).section ? YES
                                                                                          : NO;
}
unsigned long hash(id self, SEL) {
  return static_cast<unsigned long>(body(self).section) * 1000003UL +
         static_cast<unsigned long>(body(self).row);
}
id copyWithZone(id self, SEL, void*) {
  return objc::retain(self);
}
id description(id self, SEL) {
  return objc::autorelease(
      nsstring(formatString("<NSIndexPath: {%ld, %ld}>", body(self).section, body(self).row))
          .leak());
}

}  // namespace

Class NSIndexPathClass() {
  static Class cls = objc::deviceClass("NSIndexPath", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<IndexPathBody>()
        .classMethod(sel::indexPathForRow_inSection, forRowInSection)
        .method(sel::row, row)
        .method(sel::section, section)
        .method(sel::isEqual, isEqual)
        .method(sel::hash, hash)
        .method(sel::copyWithZone, copyWithZone)
        .method(sel::description, description);
  });
  return cls;
}

objc::Strong indexPath(long row, long section) {
  return objc::Strong::adopt(newIndexPath(row, section));
}

}  // namespace platform
