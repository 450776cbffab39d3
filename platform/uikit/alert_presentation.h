#pragma once
// What UIAlertView and UIActionSheet share: a title, a list of buttons with one cancel index, a
// delegate, and being shown and dismissed. The device keeps the shown ones in the order they
// came up; one shown later covers the earlier ones, which stay shown underneath.
//
// Dismissing (dismissWithClickedButtonIndex:animated:) takes a shown one off the screen and
// tells the delegate: first ...willDismissWithButtonIndex:, then, once the transition ends
// (later when animated, platform/uikit/transitions.h), ...didDismissWithButtonIndex:, each only
// when the delegate answers it. As in UIKit, dismissing one that is not shown (never shown, or
// already dismissed) does nothing and calls no delegate. A tap on a button first tells the
// delegate ...clickedButtonAtIndex:, then dismisses with that index, animated.
//
// UIKit does not retain the delegate; the device keeps a shown one's delegate alive until the
// delegate has heard of the dismissal, so that it is never messaged after it has gone. A process
// that ends takes its shown alerts and sheets away without telling their delegates.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/foundation/process.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/object.h"
#include "platform/uikit/common_selectors.h"
#include "platform/uikit/uiview.h"

namespace platform::uikit {

enum class ModalKind { Alert, Sheet };

// The state an alert or a sheet shares. Titles are kept as the NSStrings given.
struct ModalBody : ViewBody {
  explicit ModalBody(ModalKind k) : kind(k) {}
  ModalKind kind;
  objc::Strong title;
  std::vector<objc::Strong> buttonTitles;
  long cancelButtonIndex = -1;
  id delegate = nil;  // not retained (see above)
  bool visible = false;
};

// The body of an alert or a sheet, or null for anything else.
ModalBody* modalBody(id object);

// Adds the methods of the shared selectors below to an alert or sheet class.
void addModalMethods(objc::ClassBuilder& builder);

// Puts `modal` on screen, above what is shown, for the current process; a sheet is shown in
// `hostView` (retained while shown), an alert in none. One already shown is left as it is.
void showModal(id modal, id hostView);

// An alert or a sheet on screen.
struct ShownModal {
  id object;    // the alert or sheet
  id hostView;  // a sheet's view, nil for an alert
  ProcessId process;
  std::uint64_t stackingOrder;  // platform/uikit/uiwindow.h's nextStackingOrder
};
// What is shown, in the order it came up.
std::vector<ShownModal> shownModals();

// The user taps button `index` of the shown alert or sheet `modal`, which runs as the process
// that shows it. Returns "" or why nothing was tapped (not shown, no such button).
std::string tapModalButton(id modal, long index);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// Adds a button at the end and answers its index; a nil or non-string title adds none and
// answers -1.
inline const Selector<long(id)> addButtonWithTitle{"addButtonWithTitle:"};
inline const Selector<long()> numberOfButtons{"numberOfButtons"};
// The title of the button at `index`, nil beyond the buttons.
inline const Selector<id(long)> buttonTitleAtIndex{"buttonTitleAtIndex:"};
// The cancel button's index, -1 when there is none.
inline const Selector<long()> cancelButtonIndex{"cancelButtonIndex"};
inline const Selector<void(long)> setCancelButtonIndex{"setCancelButtonIndex:"};
// Whether it is on screen (shown and not yet dismissed).
inline const Selector<BOOL()> isVisible{"isVisible"};
// Takes it off the screen as if button `index` had been chosen (see above).
inline const Selector<void(long, BOOL)> dismissWithClickedButtonIndex_animated{
    "dismissWithClickedButtonIndex:animated:"};

// The delegate's news (each optional), for sheets and for alerts.
inline const Selector<void(id, long)> actionSheet_clickedButtonAtIndex{
    "actionSheet:clickedButtonAtIndex:"};
inline const Selector<void(id, long)> actionSheet_willDismissWithButtonIndex{
    "actionSheet:willDismissWithButtonIndex:"};
inline const Selector<void(id, long)> actionSheet_didDismissWithButtonIndex{
    "actionSheet:didDismissWithButtonIndex:"};
inline const Selector<void(id, long)> alertView_clickedButtonAtIndex{
    "alertView:clickedButtonAtIndex:"};
inline const Selector<void(id, long)> alertView_willDismissWithButtonIndex{
    "alertView:willDismissWithButtonIndex:"};
inline const Selector<void(id, long)> alertView_didDismissWithButtonIndex{
    "alertView:didDismissWithButtonIndex:"};
}  // namespace sel
