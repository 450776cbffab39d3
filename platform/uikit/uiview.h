#pragma once
// UIView, its layer (CALayer) and UIControl: rectangles on screen in a tree of superviews and
// subviews, with a tag, transparency, colours, gesture recognizers and layout. A view retains
// its subviews, its layer and its recognizers; its superview is not retained.
//
// Layout happens when asked: setNeedsLayout marks a view, layoutIfNeeded lays out the marked
// views of its subtree (parents first) by sending them layoutSubviews. A new view starts marked.
// Tables lay out their cells themselves whenever they show them (platform/uikit/uitableview.h).

#include <vector>

#include "platform/foundation/process.h"
#include "platform/objc/object.h"
#include "platform/uikit/common_selectors.h"
#include "platform/uikit/geometry.h"

namespace platform::uikit {

// The classes "UIView", "UIControl" and "CALayer", created on first use.
Class UIViewClass();
Class UIControlClass();
Class CALayerClass();

// The native state of every UIView; a subclass that carries more state derives its body from it.
struct ViewBody : objc::NativeBody {
  ViewBody();
  // Lets go of the subviews (their superview becomes nil) and the recognizers (their view
  // becomes nil).
  ~ViewBody() override;

  CGRect frame;
  ProcessId process;  // the process that made the view; its events run as that process
  long tag = 0;
  double alpha = 1.0;
  bool hidden = false;
  bool needsLayout = true;
  id superview = nil;                  // not retained
  std::vector<objc::Strong> subviews;  // back to front
  std::vector<objc::Strong> gestureRecognizers;
  objc::Strong layer;  // made on first use
  objc::Strong backgroundColor;
  objc::Strong tintColor;
  objc::Strong accessibilityValue;
};

// A new view of class `cls` (UIView or a subclass) made with initWithFrame:.
objc::Strong makeView(Class cls, CGRect frame);

// The body of `view`, or null when it is not a UIView.
ViewBody* viewBody(id view);

// The view's subviews, back to front (empty for anything but a view).
const std::vector<objc::Strong>& subviewsOf(id view);

// Calls `visit` on `view` and every descendant, parents before their subviews, back to front.
template <class Visit>
void forEachViewInTree(id view, const Visit& visit) {
  visit(view);
  std::vector<objc::Strong> children = subviewsOf(view);  // a visit may change the tree
  for (const objc::Strong& child : children) forEachViewInTree(child.get(), visit);
}

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// UIView. init is initWithFrame: with the empty rectangle.
inline const Selector<id(CGRect)> initWithFrame{"initWithFrame:"};
inline const Selector<CGRect()> frame{"frame"};
inline const Selector<void(CGRect)> setFrame{"setFrame:"};
// The view's own coordinates: origin (0, 0), the frame's size. setBounds: changes the size
// about the view's centre; its origin is not kept (the device does not scroll contents).
inline const Selector<CGRect()> bounds{"bounds"};
inline const Selector<void(CGRect)> setBounds{"setBounds:"};
inline const Selector<long()> tag{"tag"};
inline const Selector<void(long)> setTag{"setTag:"};
// The view itself when its tag matches, else the first descendant with it (depth first, back to
// front); nil when none has it.
inline const Selector<id(long)> viewWithTag{"viewWithTag:"};
inline const Selector<id()> superview{"superview"};
// A new array of the subviews, back to front.
inline const Selector<id()> subviews{"subviews"};
// Puts the view in front of the receiver's subviews, taking it from its old superview first.
// Adding a view to itself or to one of its descendants raises NSInvalidArgumentException.
inline const Selector<void(id)> addSubview{"addSubview:"};
// Puts the view at `index` among the receiver's subviews (0 is the back; beyond the end, the
// front), taking it from its old superview first.
inline const Selector<void(id, long)> insertSubview_atIndex{"insertSubview:atIndex:"};
inline const Selector<void()> removeFromSuperview{"removeFromSuperview"};
// Moves a subview in front of its siblings; a view that is not a subview is left alone.
inline const Selector<void(id)> bringSubviewToFront{"bringSubviewToFront:"};
// The UIWindow the view is in (itself for a window), nil when it is in none.
inline const Selector<id()> window{"window"};
inline const Selector<double()> alpha{"alpha"};
inline const Selector<void(double)> setAlpha{"setAlpha:"};
inline const Selector<BOOL()> isHidden{"isHidden"};
inline const Selector<void(BOOL)> setHidden{"setHidden:"};
// Whether drawing stops at the bounds: the layer's masksToBounds.
inline const Selector<BOOL()> clipsToBounds{"clipsToBounds"};
inline const Selector<void(BOOL)> setClipsToBounds{"setClipsToBounds:"};
// The tint: the view's own, else its superview's, else the system blue.
inline const Selector<id()> tintColor{"tintColor"};
inline const Selector<void(id)> setTintColor{"setTintColor:"};
// The view's CALayer, the same object on every call.
inline const Selector<id()> layer{"layer"};
inline const Selector<void()> setNeedsLayout{"setNeedsLayout"};
inline const Selector<void()> layoutIfNeeded{"layoutIfNeeded"};
// Positions the subviews; UIView's own does nothing. Subclasses and hooks override it.
inline const Selector<void()> layoutSubviews{"layoutSubviews"};
// The view retains the recognizer and becomes its view (taking it from a previous view).
inline const Selector<void(id)> addGestureRecognizer{"addGestureRecognizer:"};
inline const Selector<void(id)> removeGestureRecognizer{"removeGestureRecognizer:"};
// A new array of the recognizers, in the order they were added; nil when there are none.
inline const Selector<id()> gestureRecognizers{"gestureRecognizers"};
// The accessibility value (an NSString, retained), which callers also use to tag a view.
inline const Selector<id()> accessibilityValue{"accessibilityValue"};
inline const Selector<void(id)> setAccessibilityValue{"setAccessibilityValue:"};

// CALayer.
inline const Selector<double()> cornerRadius{"cornerRadius"};
inline const Selector<void(double)> setCornerRadius{"setCornerRadius:"};
inline const Selector<BOOL()> masksToBounds{"masksToBounds"};
inline const Selector<void(BOOL)> setMasksToBounds{"setMasksToBounds:"};
}  // namespace sel
