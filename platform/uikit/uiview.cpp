// UIView, CALayer and UIControl: the view tree, its properties and layout on request.

#include "platform/uikit/uiview.h"

#include <algorithm>
#include <string>

#include "platform/foundation/nsarray.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/uikit/uiapplication.h"
#include "platform/uikit/uicolor.h"
#include "platform/uikit/uigesturerecognizer.h"
#include "platform/uikit/uiwindow.h"

namespace platform::uikit {
namespace {

using objc::Strong;

ViewBody& body(id self) {
  return *objc::native<ViewBody>(self);
}

// CALayer.

struct LayerBody : objc::NativeBody {
  double cornerRadius = 0;
  bool masksToBounds = false;
};

LayerBody& layerBody(id self) {
  return *objc::native<LayerBody>(self);
}
double cornerRadius(id self, SEL) {
  return layerBody(self).cornerRadius;
}
void setCornerRadius(id self, SEL, double radius) {
  layerBody(self).cornerRadius = radius;
}
BOOL masksToBounds(id self, SEL) {
  return layerBody(self).masksToBounds ? YES : NO;
}
void setMasksToBounds(id self, SEL, BOOL masks) {
  layerBody(self).masksToBounds = masks != NO;
}

// UIView.

id init(id self, SEL) {
  return sel::initWithFrame(self, CGRectZero);
}
id initWithFrame(id self, SEL, CGRect frame) {
  body(self).frame = frame;
  return self;
}
CGRect frame(id self, SEL) {
  return body(self).frame;
}
void setFrame(id self, SEL, CGRect frame) {
  body(self).frame = frame;
}
CGRect bounds(id self, SEL) {
  return {{0, 0}, body(self).frame.size};
}
void setBounds(id self, SEL, CGRect bounds) {
  CGRect& frame = body(self).frame;
  frame.origin.x -= (bounds.size.width - frame.size.width) / 2;
  frame.origin.y -= (bounds.size.height - frame.size.height) / 2;
  frame.size = bounds.size;
}
long tag(id self, SEL) {
  return body(self).tag;
}
void setTag(id self, SEL, long tag) {
  body(self).tag = tag;
}
id viewWithTag(id self, SEL, long tag) {
  if (body(self).tag == tag) return self;
  for (const Strong& child : body(self).subviews) {
    if (id found = sel::viewWithTag(child, tag)) return found;
  }
  return nil;
}
id superview(id self, SEL) {
  return body(self).superview;
}
id subviews(id self, SEL) {
  Strong list = mutableArray();
  for (const Strong& child : body(self).subviews) sel::addObject(list, child);
  return objc::autorelease(list.leak());
}

// Takes `view` out of its superview's list; the caller holds a reference to it.
void detach(id view) {
  ViewBody& b = body(view);
  if (!b.superview) return;
  auto& siblings = body(b.superview).subviews;
  auto it = std::find_if(siblings.begin(), siblings.end(),
                         [view](const Strong& s) { return s.get() == view; });
  b.superview = nil;
  if (it != siblings.end()) siblings.erase(it);
}

// Puts `view` among the subviews of `self` at `index` (clamped to the list), as addSubview:
// and insertSubview:atIndex: do.
void insertAt(id self, id view, long index, const char* method) {
  if (!view) return;
  if (view == self) NSException::raise(NSInvalidArgumentException, "Can't add self as subview");
  if (!viewBody(view)) {
    NSException::raise(NSInvalidArgumentException, std::string("-[UIView ") + method + "]: " +
                                                       objc::className(view) + " is not a UIView");
  }
  for (id up = self; up; up = body(up).superview) {
    if (up == view)
      NSException::raise(NSInvalidArgumentException, "Can't add a superview as a subview");
  }
  Strong keep(view);
  detach(view);
  auto& children = body(self).subviews;
  auto at = static_cast<std::size_t>(std::max(0L, index));
  children.insert(children.begin() + static_cast<long>(std::min(at, children.size())), keep);
  body(view).superview = self;
}
void addSubview(id self, SEL, id view) {
  insertAt(self, view, static_cast<long>(body(self).subviews.size()) + 1, "addSubview:");
}
void insertSubviewAtIndex(id self, SEL, id view, long index) {
  insertAt(self, view, index, "insertSubview:atIndex:");
}
void removeFromSuperview(id self, SEL) {
  Strong keep(self);
  detach(self);
}
void bringSubviewToFront(id self, SEL, id view) {
  auto& children = body(self).subviews;
  auto it = std::find_if(children.begin(), children.end(),
                         [view](const Strong& s) { return s.get() == view; });
  if (it == children.end()) return;
  std::rotate(it, it + 1, children.end());
}
id window(id self, SEL) {
  for (id up = self; up; up = body(up).superview) {
    if (objc::isKindOf(up, UIWindowClass())) return up;
  }
  return nil;
}
double alpha(id self, SEL) {
  return body(self).alpha;
}
void setAlpha(id self, SEL, double alpha) {
  body(self).alpha = std::clamp(alpha, 0.0, 1.0);
}
BOOL isHidden(id self, SEL) {
  return body(self).hidden ? YES : NO;
}
void setHidden(id self, SEL, BOOL hidden) {
  body(self).hidden = hidden != NO;
}
id layer(id self, SEL) {
  ViewBody& b = body(self);
  if (!b.layer) b.layer = objc::make(CALayerClass());
  return b.layer;
}
BOOL clipsToBounds(id self, SEL) {
  return sel::masksToBounds(sel::layer(self));
}
void setClipsToBounds(id self, SEL, BOOL clips) {
  sel::setMasksToBounds(sel::layer(self), clips);
}
id backgroundColor(id self, SEL) {
  return body(self).backgroundColor;
}
void setBackgroundColor(id self, SEL, id color) {
  body(self).backgroundColor = color;
}
id tintColor(id self, SEL) {
  for (id up = self; up; up = body(up).superview) {
    if (body(up).tintColor) return body(up).tintColor;
  }
  static Strong* systemBlue = new Strong(uicolor(0.0, 122.0 / 255, 1.0, 1.0));
  return *systemBlue;
}
void setTintColor(id self, SEL, id color) {
  body(self).tintColor = color;
}
void setNeedsLayout(id self, SEL) {
  body(self).needsLayout = true;
}
void layoutIfNeeded(id self, SEL) {
  forEachViewInTree(self, [](id view) {
    ViewBody* b = viewBody(view);
    if (!b || !b->needsLayout) return;
    b->needsLayout = false;
    sel::layoutSubviews(view);
  });
}
void layoutSubviews(id, SEL) {}
void addGestureRecognizer(id self, SEL, id recognizer) {
  if (!recognizer) return;
  Strong keep(recognizer);
  if (id previous = recognizerView(recognizer)) sel::removeGestureRecognizer(previous, recognizer);
  body(self).gestureRecognizers.push_back(keep);
  setRecognizerView(recognizer, self);
}
void removeGestureRecognizer(id self, SEL, id recognizer) {
  auto& list = body(self).gestureRecognizers;
  auto it = std::find_if(list.begin(), list.end(),
                         [recognizer](const Strong& r) { return r.get() == recognizer; });
  if (it == list.end()) return;
  Strong keep(recognizer);
  list.erase(it);
  setRecognizerView(recognizer, nil);
}
id gestureRecognizers(id self, SEL) {
  if (body(self).gestureRecognizers.empty()) return nil;
  Strong list = mutableArray();
  for (const Strong& r : body(self).gestureRecognizers) sel::addObject(list, r);
  return objc::autorelease(list.leak());
}
id accessibilityValue(id self, SEL) {
  return body(self).accessibilityValue;
}
void setAccessibilityValue(id self, SEL, id value) {
  body(self).accessibilityValue = value;
}

}  // namespace

ViewBody::ViewBody() : process(currentProcess()) {}

ViewBody::~ViewBody() {
  for (const Strong& child : subviews) {
    if (auto* b = viewBody(child)) b->superview = nil;
  }
  for (const Strong& recognizer : gestureRecognizers) setRecognizerView(recognizer, nil);
}

Strong makeView(Class cls, CGRect frame) {
  return Strong::adopt(sel::initWithFrame(sel::alloc(reinterpret_cast<id>(cls)), frame));
}

ViewBody* viewBody(id view) {
  return objc::native<ViewBody>(view);
}

const std::vector<Strong>& subviewsOf(id view) {
  static const std::vector<Strong> none;
  ViewBody* b = viewBody(view);
  return b ? b->subviews : none;
}

Class CALayerClass() {
  static Class cls = objc::deviceClass("CALayer", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<LayerBody>()
        .method(sel::cornerRadius, cornerRadius)
        .method(sel::setCornerRadius, setCornerRadius)
        .method(sel::masksToBounds, masksToBounds)
        .method(sel::setMasksToBounds, setMasksToBounds);
  });
  return cls;
}

Class UIViewClass() {
  static Class cls = objc::deviceClass("UIView", UIResponderClass(), [](objc::ClassBuilder& b) {
    b.body<ViewBody>()
        .method(sel::init, init)
        .method(sel::initWithFrame, initWithFrame)
        .method(sel::frame, frame)
        .method(sel::setFrame, setFrame)
        .method(sel::bounds, bounds)
        .method(sel::setBounds, setBounds)
        .method(sel::tag, tag)
        .method(sel::setTag, setTag)
        .method(sel::viewWithTag, viewWithTag)
        .method(sel::superview, superview)
        .method(sel::subviews, subviews)
        .method(sel::addSubview, addSubview)
        .method(sel::insertSubview_atIndex, insertSubviewAtIndex)
        .method(sel::removeFromSuperview, removeFromSuperview)
        .method(sel::bringSubviewToFront, bringSubviewToFront)
        .method(sel::window, window)
        .method(sel::alpha, alpha)
        .method(sel::setAlpha, setAlpha)
        .method(sel::isHidden, isHidden)
        .method(sel::setHidden, setHidden)
        .method(sel::layer, layer)
        .method(sel::clipsToBounds, clipsToBounds)
        .method(sel::setClipsToBounds, setClipsToBounds)
        .method(sel::backgroundColor, backgroundColor)
        .method(sel::setBackgroundColor, setBackgroundColor)
        .method(sel::tintColor, tintColor)
        .method(sel::setTintColor, setTintColor)
        .method(sel::setNeedsLayout, setNeedsLayout)
        .method(sel::layoutIfNeeded, layoutIfNeeded)
        .method(sel::layoutSubviews, layoutSubviews)
        .method(sel::addGestureRecognizer, addGestureRecognizer)
        .method(sel::removeGestureRecognizer, removeGestureRecognizer)
        .method(sel::gestureRecognizers, gestureRecognizers)
        .method(sel::accessibilityValue, accessibilityValue)
        .method(sel::setAccessibilityValue, setAccessibilityValue);
  });
  return cls;
}

Class UIControlClass() {
  static Class cls = objc::deviceClass("UIControl", UIViewClass(), [](objc::ClassBuilder&) {});
  return cls;
}

}  // namespace platform::uikit
