#include "platform/uikit/alert_presentation.h"

#include <algorithm>

#include "platform/foundation/nsstring.h"
#include "platform/uikit/transitions.h"
#include "platform/uikit/uiwindow.h"

namespace platform::uikit {
namespace {

using objc::Strong;

struct Shown {
  Strong object;
  Strong hostView;
  Strong delegate;  // kept alive until it has heard of the dismissal
  ProcessId process;
  std::uint64_t order;
};

std::vector<Shown>& stack() {
  static auto* shown = new std::vector<Shown>();
  return *shown;
}

// The delegate's news for one kind.
struct DelegateNews {
  const objc::Selector<void(id, long)>& clicked;
  const objc::Selector<void(id, long)>& willDismiss;
  const objc::Selector<void(id, long)>& didDismiss;
};

DelegateNews newsFor(ModalKind kind) {
  if (kind == ModalKind::Sheet) {
    return {sel::actionSheet_clickedButtonAtIndex, sel::actionSheet_willDismissWithButtonIndex,
            sel::actionSheet_didDismissWithButtonIndex};
  }
  return {sel::alertView_clickedButtonAtIndex, sel::alertView_willDismissWithButtonIndex,
          sel::alertView_didDismissWithButtonIndex};
}

void tell(const objc::Selector<void(id, long)>& news, id delegate, id modal, long index) {
  if (objc::respondsTo(delegate, news.sel())) news(delegate, modal, index);
}

ModalBody& body(id self) {
  return *modalBody(self);
}

id title(id self, SEL) {
  return body(self).title;
}
void setTitle(id self, SEL, id title) {
  body(self).title = Strong::adopt(sel::copy(title));
}
id delegate(id self, SEL) {
  return body(self).delegate;
}
// A shown one keeps its new delegate alive in place of the old.
void setDelegate(id self, SEL, id delegate) {
  body(self).delegate = delegate;
  for (Shown& s : stack()) {
    if (s.object.get() == self) s.delegate = delegate;
  }
}
long addButtonWithTitle(id self, SEL, id title) {
  if (!isString(title)) return -1;
  auto& titles = body(self).buttonTitles;
  titles.push_back(Strong::adopt(sel::copy(title)));
  return static_cast<long>(titles.size()) - 1;
}
long numberOfButtons(id self, SEL) {
  return static_cast<long>(body(self).buttonTitles.size());
}
id buttonTitleAtIndex(id self, SEL, long index) {
  const auto& titles = body(self).buttonTitles;
  if (index < 0 || index >= static_cast<long>(titles.size())) return nil;
  return titles[static_cast<std::size_t>(index)];
}
long cancelButtonIndex(id self, SEL) {
  return body(self).cancelButtonIndex;
}
void setCancelButtonIndex(id self, SEL, long index) {
  body(self).cancelButtonIndex = index;
}
BOOL isVisible(id self, SEL) {
  return body(self).visible ? YES : NO;
}

void dismiss(id self, SEL, long index, BOOL animated) {
  ModalBody& b = body(self);
  if (!b.visible) return;
  auto& shown = stack();
  auto it = std::find_if(shown.begin(), shown.end(),
                         [self](const Shown& s) { return s.object.get() == self; });
  Strong modal(self);
  Strong listener(b.delegate);
  Strong keepHost;
  if (it != shown.end()) {
    keepHost = it->hostView;
    shown.erase(it);
  }
  b.visible = false;
  DelegateNews news = newsFor(b.kind);
  tell(news.willDismiss, listener, modal, index);
  endTransition(animated != NO, [modal, listener, keepHost, index, kind = b.kind] {
    tell(newsFor(kind).didDismiss, listener, modal, index);
  });
}

// A process that ends takes what it showed away, without a word to the delegates.
void dropShownBy(ProcessId pid) {
  std::vector<Shown> gone;
  auto& shown = stack();
  for (auto it = shown.begin(); it != shown.end();) {
    if (it->process == pid) {
      gone.push_back(std::move(*it));
      it = shown.erase(it);
    } else {
      ++it;
    }
  }
  for (const Shown& s : gone) body(s.object).visible = false;
}

}  // namespace

ModalBody* modalBody(id object) {
  return objc::native<ModalBody>(object);
}

void addModalMethods(objc::ClassBuilder& b) {
  static int exitToken = onProcessExit(dropShownBy);
  (void)exitToken;
  b.method(sel::title, title)
      .method(sel::setTitle, setTitle)
      .method(sel::delegate, delegate)
      .method(sel::setDelegate, setDelegate)
      .method(sel::addButtonWithTitle, addButtonWithTitle)
      .method(sel::numberOfButtons, numberOfButtons)
      .method(sel::buttonTitleAtIndex, buttonTitleAtIndex)
      .method(sel::cancelButtonIndex, cancelButtonIndex)
      .method(sel::setCancelButtonIndex, setCancelButtonIndex)
      .method(sel::isVisible, isVisible)
      .method(sel::dismissWithClickedButtonIndex_animated, dismiss);
}

void showModal(id modal, id hostView) {
  ModalBody* b = modalBody(modal);
  if (!b || b->visible) return;
  b->visible = true;
  stack().push_back({Strong(modal), Strong(hostView), Strong(b->delegate), currentProcess(),
                     nextStackingOrder()});
}

std::vector<ShownModal> shownModals() {
  std::vector<ShownModal> list;
  for (const Shown& s : stack()) list.push_back({s.object, s.hostView, s.process, s.order});
  return list;
}

std::string tapModalButton(id modal, long index) {
  ModalBody* b = modalBody(modal);
  if (!b) return "not an alert or an action sheet";
  if (!b->visible) return "it is not shown";
  long count = static_cast<long>(b->buttonTitles.size());
  if (index < 0 || index >= count) {
    return "it has " + std::to_string(count) + (count == 1 ? " button" : " buttons") +
           ", no button " + std::to_string(index);
  }
  Strong keep(modal);
  Strong listener(b->delegate);
  // The touch lands in the process that shows it, whichever process the caller runs as.
  auto shown = std::find_if(stack().begin(), stack().end(),
                            [&](const Shown& s) { return s.object.get() == modal; });
  ProcessScope scope(shown != stack().end() ? shown->process : currentProcess());
  tell(newsFor(b->kind).clicked, listener, modal, index);
  sel::dismissWithClickedButtonIndex_animated(modal, index, YES);
  return "";
}

}  // namespace platform::uikit
