#include "platform/objc/exception.h"

#include <utility>

NSException::NSException(std::string name, std::string reason)
    : name_(std::move(name)), reason_(std::move(reason)), what_(name_ + ": " + reason_) {}

const char* NSException::what() const noexcept {
  return what_.c_str();
}

void NSException::raise(std::string name, std::string reason) {
  throw NSException(std::move(name), std::move(reason));
}
