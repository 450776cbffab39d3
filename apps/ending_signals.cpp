#include "apps/ending_signals.h"

#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <map>
#include <thread>

namespace simulator {
namespace {

struct Cleanups {
  std::recursive_mutex mutex;
  std::map<int, std::function<void()>> byToken;
  int nextToken = 1;
};

Cleanups& cleanups() {
  static auto* c = new Cleanups();  // the signal thread may use it while statics are destroyed
  return *c;
}

// The signals taken, less those the program was started with ignored.
sigset_t endingSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    if (current.sa_handler != SIG_IGN) sigaddset(&set, signal);
  }
  return set;
}

[[noreturn]] void endBy(int signal) {
  {
    std::lock_guard lock(cleanups().mutex);
    for (auto it = cleanups().byToken.rbegin(); it != cleanups().byToken.rend(); ++it) it->second();
  }
  std::signal(signal, SIG_DFL);
  sigset_t one;
  sigemptyset(&one);
  sigaddset(&one, signal);
  pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
  std::raise(signal);
  _exit(128 + signal);  // only if the signal's default action did not end the process
}

}  // namespace

void catchEndingSignals() {
  sigset_t set = endingSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread([set] {
    int signal = 0;
    while (sigwait(&set, &signal) != 0) {
    }
    endBy(signal);
  }).detach();
}

int onEndingSignal(std::function<void()> cleanup) {
  std::lock_guard lock(cleanups().mutex);
  int token = cleanups().nextToken++;
  cleanups().byToken.emplace(token, std::move(cleanup));
  return token;
}

void forgetEndingCleanup(int token) {
  std::lock_guard lock(cleanups().mutex);
  cleanups().byToken.erase(token);
}

EndingSignalsHeld::EndingSignalsHeld() : lock_(cleanups().mutex) {}

}  // namespace simulator
