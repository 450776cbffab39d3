#pragma once
// The platform's exception: every error a device object raises is one of these, carrying the
// exception's name and reason the way NSException does.

#include <exception>
#include <string>

// A raised platform exception. Thrown by value, caught by reference.
class NSException : public std::exception {
 public:
  NSException(std::string name, std::string reason);

  // The exception's name, e.g. "NSInvalidArgumentException".
  const std::string& name() const { return name_; }
  // The human-readable cause, e.g. "-[NSObject foo]: unrecognized selector sent to instance 0x1".
  const std::string& reason() const { return reason_; }
  // "name: reason", for diagnostics that only know std::exception.
  const char* what() const noexcept override;

  // Throws an NSException with the given name and reason.
  [[noreturn]] static void raise(std::string name, std::string reason);

 private:
  std::string name_;
  std::string reason_;
  std::string what_;
};

// The names the device raises.
inline constexpr const char* NSInvalidArgumentException = "NSInvalidArgumentException";
inline constexpr const char* NSRangeException = "NSRangeException";
inline constexpr const char* NSInternalInconsistencyException = "NSInternalInconsistencyException";
