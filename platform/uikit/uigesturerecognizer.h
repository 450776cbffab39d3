#pragma once
// UIGestureRecognizer and UILongPressGestureRecognizer: objects attached to a view that turn the
// user's touches into actions sent to their targets, passing themselves.
//
// A long press recognizes once the finger has stayed down for the recognizer's minimum duration
// (0.5 s unless set): its state becomes Began and its targets get their actions; when the finger
// lifts the state is Ended and the actions go again; then the recognizer is Possible once more.
// A press shorter than the minimum fires nothing. As on the platform, two recognizers of one
// view do not recognize together unless a delegate allows it
// (gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:): the first to reach
// its duration (the one added first, among equal durations) begins and the others fail.

#include <cstddef>

#include "platform/objc/object.h"
#include "platform/uikit/common_selectors.h"

namespace platform::uikit {

// The classes "UIGestureRecognizer" and "UILongPressGestureRecognizer", created on first use.
Class UIGestureRecognizerClass();
Class UILongPressGestureRecognizerClass();

// The platform's recognizer states.
enum UIGestureRecognizerState : long {
  UIGestureRecognizerStatePossible = 0,
  UIGestureRecognizerStateBegan = 1,
  UIGestureRecognizerStateChanged = 2,
  UIGestureRecognizerStateEnded = 3,
  UIGestureRecognizerStateCancelled = 4,
  UIGestureRecognizerStateFailed = 5,
};

// The view `recognizer` is attached to (nil when none), and the setter views use as they add
// and remove recognizers.
id recognizerView(id recognizer);
void setRecognizerView(id recognizer, id view);

// The user presses `view` with one finger for `holdSeconds`, starting now: the main run loop runs
// until the finger lifts (the device clock moves on by `holdSeconds`; other events due meanwhile
// run too), with the press's events running as the process that made the view. Returns how many
// recognizers of the view began.
std::size_t pressView(id view, double holdSeconds);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// A recognizer that sends `action` (void(id recognizer)) to `target` (not retained).
inline const Selector<id(id, SEL)> initWithTarget_action{"initWithTarget:action:"};
// Adds another target and action; each pair is sent in the order added.
inline const Selector<void(id, SEL)> addTarget_action{"addTarget:action:"};
inline const Selector<long()> state{"state"};
// UILongPressGestureRecognizer: how long the finger must stay down, in seconds.
inline const Selector<double()> minimumPressDuration{"minimumPressDuration"};
inline const Selector<void(double)> setMinimumPressDuration{"setMinimumPressDuration:"};
// The delegate's question when two recognizers of one view would both recognize.
inline const Selector<BOOL(id, id)>
    gestureRecognizer_shouldRecognizeSimultaneouslyWithGestureRecognizer{
        "gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:"};
}  // namespace sel
