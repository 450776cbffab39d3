#include "platform/springboard/notification_cell.h"

#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/springboard/bulletin.h"
#include "platform/uikit/uilabel.h"
#include "platform/uikit/uitableview.h"
#include "platform/uikit/uitableviewcell.h"
#include "platform/uikit/uiview.h"

namespace platform::springboard {
namespace {

using objc::Strong;

constexpr double kLabelHeight = 18.0;

id initWithStyle(id self, SEL cmd, long style, id identifier) {
  auto inherited = reinterpret_cast<id (*)(id, SEL, long, id)>(
      class_getMethodImplementation(uikit::UITableViewCellClass(), cmd));
  self = inherited(self, cmd, style, identifier);
  Strong label =
      Strong::adopt(sel::initWithFrame(sel::alloc(reinterpret_cast<id>(uikit::UILabelClass())),
                                       CGRectMake(40, 8, 240, kLabelHeight)));
  objc::setObjectIvar(self, "_primaryLabel", label);
  sel::addSubview(sel::contentView(self), label);
  return self;
}

id primaryLabel(id self, SEL) {
  return objc::objectIvar(self, "_primaryLabel");
}

}  // namespace

Class SBNotificationCellClass() {
  static Class cls = objc::deviceClass(
      "SBNotificationCell", uikit::UITableViewCellClass(), [](objc::ClassBuilder& b) {
        b.ivar<id>("_primaryLabel")
            .method(sel::initWithStyle_reuseIdentifier, initWithStyle)
            .method(sbsel::primaryLabel, primaryLabel);
      });
  return cls;
}

id notificationCellFor(id table, id bulletin) {
  Strong identifier = nsstring(kNotificationCellIdentifier);
  id cell = sel::dequeueReusableCellWithIdentifier(table, identifier);
  if (!cell) {
    cell = objc::autorelease(sel::initWithStyle_reuseIdentifier(
        sel::alloc(reinterpret_cast<id>(SBNotificationCellClass())), 3, identifier));
  }
  auto contents = bulletinContents(bulletin);
  std::string title =
      contents ? (contents->title.empty() ? contents->sectionID : contents->title) : "";
  sel::setText(sbsel::primaryLabel(cell), nsstring(title));
  sel::setText(sel::detailTextLabel(cell), nsstring(contents ? contents->message : ""));
  return cell;
}

}  // namespace platform::springboard
