// UITableView: a scrolling list of rows in sections, whose counts it asks its data source for.
// It holds its data source weakly, as UIKit does.

#include "platform/objc/class_builder.h"
#include "platform/uikit/uikit_classes.h"

namespace platform::uikit {
namespace {

struct TableBody : ViewBody {
  id dataSource = nil;  // not retained
};

TableBody& body(id self) {
  return *objc::native<TableBody>(self);
}

id dataSource(id self, SEL) {
  return body(self).dataSource;
}
void setDataSource(id self, SEL, id source) {
  body(self).dataSource = source;
}
long numberOfSections(id self, SEL) {
  id source = body(self).dataSource;
  if (!source) return 0;
  if (objc::respondsTo(source, sel::numberOfSectionsInTableView.sel()))
    return sel::numberOfSectionsInTableView(source, self);
  return 1;
}
long numberOfRowsInSection(id self, SEL, long section) {
  id source = body(self).dataSource;
  if (!source || section < 0 || section >= numberOfSections(self, nullptr)) return 0;
  return sel::tableView_numberOfRowsInSection(source, self, section);
}
// Rows are read from the data source whenever they are asked for, so a reload has nothing to
// cache; it exists because callers rely on being able to send it.
void reloadData(id, SEL) {}

}  // namespace

Class UITableViewClass() {
  static Class cls = objc::deviceClass("UITableView", UIViewClass(), [](objc::ClassBuilder& b) {
    b.body<TableBody>()
        .method(sel::dataSource, dataSource)
        .method(sel::setDataSource, setDataSource)
        .method(sel::numberOfSections, numberOfSections)
        .method(sel::numberOfRowsInSection, numberOfRowsInSection)
        .method(sel::reloadData, reloadData);
  });
  return cls;
}

}  // namespace platform::uikit
