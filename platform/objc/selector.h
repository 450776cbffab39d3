#pragma once
// Typed selectors and the typed message send. A selector is declared once with its C++
// signature; every send through it is checked by the compiler and dispatched by the runtime,
// so method hooks apply to it exactly as they would on the device.

#include <objc/message.h>
#include <objc/runtime.h>

#include <atomic>
#include <type_traits>

#include "platform/objc/type_encoding.h"

namespace platform::objc {

namespace detail {
// The implementation the runtime hands back for a selector the receiver lacks. A variable, not
// a call, because every send compares against it.
extern const IMP gUnrecognizedSelectorImp;
inline IMP unrecognizedSelectorImp() {
  return gUnrecognizedSelectorImp;
}
// Raises the platform's "unrecognized selector sent to instance" exception.
[[noreturn]] void throwUnrecognizedSelector(id receiver, SEL selector);
// The typed selector with the given name and type encoding, registered on the first call and
// the same one on every later call.
SEL registerSelector(const char* name, const char* types);
}  // namespace detail

template <class Signature>
class Selector;

// A selector whose methods take Args... and return R.
template <class R, class... Args>
class Selector<R(Args...)> {
 public:
  using Result = R;
  using Imp = R (*)(id, SEL, Args...);

  constexpr explicit Selector(const char* name) : name_(name) {}
  Selector(const Selector&) = delete;
  Selector& operator=(const Selector&) = delete;

  // The selector's name, e.g. "observer:removeBulletin:".
  const char* name() const { return name_; }
  // The runtime selector, registered on first use.
  SEL sel() const {
    SEL s = sel_.load(std::memory_order_acquire);
    if (!s) {
      s = detail::registerSelector(name_, types());
      sel_.store(s, std::memory_order_release);
    }
    return s;
  }
  // The method encoding of the signature, e.g. "v@:@q".
  static constexpr const char* types() { return kTypes.c_str(); }

  // Sends the message to `receiver`. nil receiver: nothing happens and a zero result is
  // returned. A receiver without the method raises NSException (unrecognized selector).
  template <class Receiver, class... Given>
  requires std::is_convertible_v<Receiver, id> &&(sizeof...(Given) == sizeof...(Args)) R operator()(
      Receiver&& receiver, Given&&... args) const {
    id self = receiver;
    if (self == nil) {
      if constexpr (std::is_void_v<R>) {
        return;
      } else {
        return R{};
      }
    }
    SEL s = sel();
    IMP imp = objc_msg_lookup(self, s);
    if (imp == detail::gUnrecognizedSelectorImp) [[unlikely]] {
      detail::throwUnrecognizedSelector(self, s);
    }
    return reinterpret_cast<Imp>(imp)(self, s, static_cast<Args>(std::forward<Given>(args))...);
  }

 private:
  static constexpr auto kTypes = methodEncoding<R, Args...>();
  const char* name_;
  mutable std::atomic<SEL> sel_{nullptr};
};

// Calls a saved implementation (one a hook handed back) as the method `selector`, passing the
// receiver, selector and arguments the hook received; a null implementation does nothing and
// returns zero. REQUIRES: imp was registered for a method of exactly this signature.
template <class R, class... Args, class... Given>
R callSaved(IMP imp, const Selector<R(Args...)>&, id self, SEL cmd, Given&&... args) {
  if (!imp) return R();
  return reinterpret_cast<R (*)(id, SEL, Args...)>(imp)(
      self, cmd, static_cast<Args>(std::forward<Given>(args))...);
}

}  // namespace platform::objc
