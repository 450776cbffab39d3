#include "platform/uikit/uitableviewcell.h"

#include <algorithm>

#include "platform/objc/class_builder.h"
#include "platform/uikit/uiimage.h"
#include "platform/uikit/uilabel.h"
#include "platform/uikit/uiview.h"

namespace platform::uikit {
namespace {

using objc::Strong;

// The platform's margins and row height, in points.
constexpr double kMargin = 15;
constexpr double kImageSide = 29;
constexpr double kDefaultRowHeight = 44;

struct CellBody : ViewBody {
  long style = UITableViewCellStyleDefault;
  bool built = false;
  bool selected = false;
  bool userInteractionEnabled = true;
  long selectionStyle = UITableViewCellSelectionStyleDefault;
  long accessoryType = UITableViewCellAccessoryNone;
  Strong reuseIdentifier;
  Strong contentView;
  Strong textLabel;
  Strong detailTextLabel;
  Strong imageView;
};

CellBody& cell(id self) {
  return *objc::native<CellBody>(self);
}

// Makes the content view and what the cell's style puts in it.
void build(id self) {
  CellBody& b = cell(self);
  b.built = true;
  b.contentView = makeView(UIViewClass(), CGRectZero);
  sel::addSubview(self, b.contentView);
  if (b.style != UITableViewCellStyleValue2) {
    b.imageView = makeView(UIImageViewClass(), CGRectZero);
    sel::addSubview(b.contentView, b.imageView);
  }
  b.textLabel = makeView(UILabelClass(), CGRectZero);
  sel::addSubview(b.contentView, b.textLabel);
  if (b.style != UITableViewCellStyleDefault) {
    b.detailTextLabel = makeView(UILabelClass(), CGRectZero);
    sel::addSubview(b.contentView, b.detailTextLabel);
  }
}

id initWithFrame(id self, SEL, CGRect frame) {
  cell(self).frame = frame;
  if (!cell(self).built) build(self);
  return self;
}
id initWithStyle(id self, SEL, long style, id reuseIdentifier) {
  CellBody& b = cell(self);
  b.style = style >= UITableViewCellStyleDefault && style <= UITableViewCellStyleSubtitle
                ? style
                : UITableViewCellStyleDefault;
  b.reuseIdentifier = Strong::adopt(sel::copy(reuseIdentifier));
  return sel::initWithFrame(self, CGRectMake(0, 0, 320, kDefaultRowHeight));
}
id reuseIdentifier(id self, SEL) {
  return cell(self).reuseIdentifier;
}
id textLabel(id self, SEL) {
  return cell(self).textLabel;
}
id detailTextLabel(id self, SEL) {
  return cell(self).detailTextLabel;
}
id imageView(id self, SEL) {
  return cell(self).imageView;
}
id contentView(id self, SEL) {
  return cell(self).contentView;
}
void prepareForReuse(id, SEL) {}
BOOL isSelected(id self, SEL) {
  return cell(self).selected ? YES : NO;
}
void setSelected(id self, SEL, BOOL selected, BOOL) {
  cell(self).selected = selected != NO;
}

BOOL isUserInteractionEnabled(id self, SEL) {
  return cell(self).userInteractionEnabled ? YES : NO;
}
void setUserInteractionEnabled(id self, SEL, BOOL enabled) {
  cell(self).userInteractionEnabled = enabled != NO;
}
long selectionStyle(id self, SEL) {
  return cell(self).selectionStyle;
}
void setSelectionStyle(id self, SEL, long style) {
  cell(self).selectionStyle = style;
}
long accessoryType(id self, SEL) {
  return cell(self).accessoryType;
}
void setAccessoryType(id self, SEL, long type) {
  cell(self).accessoryType = type;
}

// The content view fills the cell; the image sits at the left, the labels after it as the
// style places them.
void layoutSubviews(id self, SEL) {
  CellBody& b = cell(self);
  CGSize size = b.frame.size;
  if (b.contentView) sel::setFrame(b.contentView, CGRectMake(0, 0, size.width, size.height));
  double x = kMargin;
  if (b.imageView && sel::image(b.imageView)) {
    sel::setFrame(b.imageView,
                  CGRectMake(kMargin, (size.height - kImageSide) / 2, kImageSide, kImageSide));
    x += kImageSide + kMargin;
  }
  double width = std::max(0.0, size.width - x - kMargin);
  switch (b.style) {
    case UITableViewCellStyleSubtitle:
      sel::setFrame(b.textLabel, CGRectMake(x, 0, width, size.height / 2));
      sel::setFrame(b.detailTextLabel, CGRectMake(x, size.height / 2, width, size.height / 2));
      break;
    case UITableViewCellStyleValue1:
    case UITableViewCellStyleValue2:
      sel::setFrame(b.textLabel, CGRectMake(x, 0, width / 2, size.height));
      sel::setFrame(b.detailTextLabel, CGRectMake(x + width / 2, 0, width / 2, size.height));
      break;
    default:
      sel::setFrame(b.textLabel, CGRectMake(x, 0, width, size.height));
  }
}

}  // namespace

Class UITableViewCellClass() {
  static Class cls = objc::deviceClass("UITableViewCell", UIViewClass(), [](objc::ClassBuilder& b) {
    b.body<CellBody>()
        .method(sel::initWithFrame, initWithFrame)
        .method(sel::initWithStyle_reuseIdentifier, initWithStyle)
        .method(sel::reuseIdentifier, reuseIdentifier)
        .method(sel::textLabel, textLabel)
        .method(sel::detailTextLabel, detailTextLabel)
        .method(sel::imageView, imageView)
        .method(sel::contentView, contentView)
        .method(sel::prepareForReuse, prepareForReuse)
        .method(sel::isSelected, isSelected)
        .method(sel::setSelected_animated, setSelected)
        .method(sel::isUserInteractionEnabled, isUserInteractionEnabled)
        .method(sel::setUserInteractionEnabled, setUserInteractionEnabled)
        .method(sel::selectionStyle, selectionStyle)
        .method(sel::setSelectionStyle, setSelectionStyle)
        .method(sel::accessoryType, accessoryType)
        .method(sel::setAccessoryType, setAccessoryType)
        .method(sel::layoutSubviews, layoutSubviews);
  });
  return cls;
}

}  // namespace platform::uikit
