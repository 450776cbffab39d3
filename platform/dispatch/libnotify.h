#pragma once
// libnotify, the device-wide notification service under the Darwin notify centre: names that
// any process posts and observes, each with one 64-bit state shared by all who registered it.
// A post is delivered later on the run loop, once per registration however often it was posted
// meanwhile.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/process.h"

// What every notify_* call returns: OK, or why the call did nothing.
inline constexpr std::uint32_t NOTIFY_STATUS_OK = 0;
inline constexpr std::uint32_t NOTIFY_STATUS_INVALID_NAME = 1;
inline constexpr std::uint32_t NOTIFY_STATUS_INVALID_TOKEN = 2;
inline constexpr std::uint32_t NOTIFY_STATUS_INVALID_PORT = 3;
inline constexpr std::uint32_t NOTIFY_STATUS_INVALID_FILE = 4;
inline constexpr std::uint32_t NOTIFY_STATUS_INVALID_SIGNAL = 5;
inline constexpr std::uint32_t NOTIFY_STATUS_INVALID_REQUEST = 6;
inline constexpr std::uint32_t NOTIFY_STATUS_NOT_AUTHORIZED = 7;
inline constexpr std::uint32_t NOTIFY_STATUS_FAILED = 1000000;

// Called with the registration's token when a post of its name is delivered.
using notify_handler_t = std::function<void(int token)>;

// Registers the calling process for posts of `name`; each delivery runs `handler` on `queue`
// (on the run loop, as the registering process). Stores the new token in *out_token.
// INVALID_NAME for a null name, INVALID_REQUEST for a null queue or out_token.
std::uint32_t notify_register_dispatch(const char* name, int* out_token, dispatch_queue_t queue,
                                       notify_handler_t handler);
// Registers for `name` without a handler: notify_check tells whether it was posted.
std::uint32_t notify_register_check(const char* name, int* out_token);
// Sets *check to 1 on the first call and when `name` was posted since the previous call,
// to 0 otherwise. REQUIRES: token came from notify_register_check (others always report 0).
std::uint32_t notify_check(int token, int* check);

// Posts `name` to every registration of it in every process. INVALID_NAME for a null name.
std::uint32_t notify_post(const char* name);

// Reads the state of the token's name into *state. INVALID_TOKEN for a token the calling
// process does not hold.
std::uint32_t notify_get_state(int token, std::uint64_t* state);
// Sets the state of the token's name, seen by every token of the name. The state lives as long
// as the name has registrations. INVALID_TOKEN for a token the calling process does not hold.
std::uint32_t notify_set_state(int token, std::uint64_t state);

// Ends the registration: no delivery of it runs afterwards, even one already on its way.
std::uint32_t notify_cancel(int token);
// Whether the calling process holds `token`.
bool notify_is_valid_token(int token);

namespace platform::dispatch {

// Marks a process suspended or resumed. A suspended process's deliveries wait, one per
// registration, and run when it resumes. SpringBoard is never suspended.
void setProcessSuspended(ProcessId pid, bool suspended);
// Whether setProcessSuspended marked `pid` suspended.
bool isProcessSuspended(ProcessId pid);

// While `failing`, every notify_get_state of `name` fails with NOTIFY_STATUS_FAILED and leaves
// *state untouched, as when the daemon cannot answer; posts and registrations still work. For
// tests of how readers treat a failed read.
void setStateReadsFail(const std::string& name, bool failing);

// Drops every registration, every name's state, all suspension marks and failing reads, as on
// a fresh device.
void resetNotifyCenter();

}  // namespace platform::dispatch
