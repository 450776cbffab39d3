#pragma once
// The extension's one kind of log line: a caught platform exception, reported with NSLog under
// a fixed message and line number ("[Tarrow8] [Line %d]: ... Exception: %@").

#include "platform/objc/exception.h"

namespace tarrow8 {

// Logs `message` (a format taking the line number, then the exception's reason as "%@").
void logException(const char* message, int line, const NSException& exception);

}  // namespace tarrow8
