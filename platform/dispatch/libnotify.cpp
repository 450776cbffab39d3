#include "platform/dispatch/libnotify.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/dispatch/run_loop.h"

namespace platform::dispatch {
namespace {

struct Registration {
  ProcessId owner;
  std::string name;
  notify_handler_t handler;  // empty for a registration made by notify_register_check
  bool pending = false;      // a delivery is queued or waiting for the owner to resume
  bool held = false;         // the delivery found the owner suspended
  bool posted = true;        // for notify_check: the first check reports a post
};

struct NotifyCenter {
  int nextToken = 1;
  std::map<int, Registration> registrations;  // by token, so deliveries go in registration order
  std::map<std::string, std::uint64_t> states;
  std::set<ProcessId> suspended;
  std::set<std::string> failingReads;
};

NotifyCenter& center();

// The registration `token` names if the calling process holds it.
Registration* ownRegistration(int token) {
  auto it = center().registrations.find(token);
  if (it == center().registrations.end() || it->second.owner != currentProcess()) return nullptr;
  return &it->second;
}

bool nameInUse(const std::string& name) {
  for (const auto& [token, r] : center().registrations) {
    if (r.name == name) return true;
  }
  return false;
}

// Removes registrations; a name nobody registers any more loses its state, as in the daemon.
void removeRegistrations(const std::vector<int>& tokens) {
  std::vector<Registration> removed;  // handlers are destroyed once the centre is consistent
  for (int token : tokens) {
    auto it = center().registrations.find(token);
    if (it == center().registrations.end()) continue;
    removed.push_back(std::move(it->second));
    center().registrations.erase(it);
  }
  for (const Registration& r : removed) {
    if (!nameInUse(r.name)) center().states.erase(r.name);
  }
}

void deliver(int token) {
  auto it = center().registrations.find(token);
  if (it == center().registrations.end() || !it->second.pending) return;
  Registration& r = it->second;
  if (center().suspended.count(r.owner)) {
    r.held = true;
    return;
  }
  r.pending = false;
  // A copy: the handler may cancel its own registration.
  notify_handler_t handler = r.handler;
  handler(token);
}

void queueDelivery(int token, ProcessId owner) {
  RunLoop::main().postFor(owner, DeviceClock::shared().now(), [token] { deliver(token); });
}

NotifyCenter& center() {
  static NotifyCenter* c = [] {
    auto* made = new NotifyCenter();
    onProcessExit([](ProcessId pid) {
      std::vector<int> owned;
      for (const auto& [token, r] : center().registrations) {
        if (r.owner == pid) owned.push_back(token);
      }
      center().suspended.erase(pid);
      removeRegistrations(owned);
    });
    return made;
  }();
  return *c;
}

std::uint32_t addRegistration(const char* name, int* out_token, notify_handler_t handler) {
  if (!name) return NOTIFY_STATUS_INVALID_NAME;
  if (!out_token) return NOTIFY_STATUS_INVALID_REQUEST;
  int token = center().nextToken++;
  center().registrations.emplace(token, Registration{currentProcess(), name, std::move(handler)});
  *out_token = token;
  return NOTIFY_STATUS_OK;
}

}  // namespace

void setProcessSuspended(ProcessId pid, bool suspended) {
  if (suspended) {
    center().suspended.insert(pid);
    return;
  }
  if (!center().suspended.erase(pid)) return;
  for (auto& [token, r] : center().registrations) {
    if (r.owner == pid && r.held) {
      r.held = false;
      queueDelivery(token, pid);
    }
  }
}

bool isProcessSuspended(ProcessId pid) {
  return center().suspended.count(pid) > 0;
}

void setStateReadsFail(const std::string& name, bool failing) {
  if (failing)
    center().failingReads.insert(name);
  else
    center().failingReads.erase(name);
}

void resetNotifyCenter() {
  std::map<int, Registration> dropped;
  dropped.swap(center().registrations);
  center().states.clear();
  center().suspended.clear();
  center().failingReads.clear();
}

}  // namespace platform::dispatch

using platform::dispatch::center;
using platform::dispatch::ownRegistration;

std::uint32_t notify_register_dispatch(const char* name, int* out_token, dispatch_queue_t queue,
                                       notify_handler_t handler) {
  if (name && !queue) return NOTIFY_STATUS_INVALID_REQUEST;
  if (name && !handler) return NOTIFY_STATUS_INVALID_REQUEST;
  return platform::dispatch::addRegistration(name, out_token, std::move(handler));
}

std::uint32_t notify_register_check(const char* name, int* out_token) {
  return platform::dispatch::addRegistration(name, out_token, nullptr);
}

std::uint32_t notify_check(int token, int* check) {
  auto* r = ownRegistration(token);
  if (!r) return NOTIFY_STATUS_INVALID_TOKEN;
  if (!check) return NOTIFY_STATUS_INVALID_REQUEST;
  *check = (!r->handler && r->posted) ? 1 : 0;
  r->posted = false;
  return NOTIFY_STATUS_OK;
}

std::uint32_t notify_post(const char* name) {
  if (!name) return NOTIFY_STATUS_INVALID_NAME;
  for (auto& [token, r] : center().registrations) {
    if (r.name != name) continue;
    if (!r.handler) {
      r.posted = true;
    } else if (!r.pending) {
      r.pending = true;
      platform::dispatch::queueDelivery(token, r.owner);
    }
  }
  return NOTIFY_STATUS_OK;
}

std::uint32_t notify_get_state(int token, std::uint64_t* state) {
  auto* r = ownRegistration(token);
  if (!r) return NOTIFY_STATUS_INVALID_TOKEN;
  if (!state) return NOTIFY_STATUS_INVALID_REQUEST;
  if (center().failingReads.count(r->name)) return NOTIFY_STATUS_FAILED;
  auto it = center().states.find(r->name);
  *state = it == center().states.end() ? 0 : it->second;
  return NOTIFY_STATUS_OK;
}

std::uint32_t notify_set_state(int token, std::uint64_t state) {
  auto* r = ownRegistration(token);
  if (!r) return NOTIFY_STATUS_INVALID_TOKEN;
  center().states[r->name] = state;
  return NOTIFY_STATUS_OK;
}

std::uint32_t notify_cancel(int token) {
  if (!ownRegistration(token)) return NOTIFY_STATUS_INVALID_TOKEN;
  platform::dispatch::removeRegistrations({token});
  return NOTIFY_STATUS_OK;
}

bool notify_is_valid_token(int token) {
  return ownRegistration(token) != nullptr;
}
