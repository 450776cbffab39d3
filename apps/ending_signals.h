#pragma once
// Ending on SIGINT, SIGTERM or SIGHUP (Ctrl-C, `timeout`, a closed terminal) without leaving
// anything behind: the signals are taken by a thread of their own, which runs the clean-ups
// registered here (in ordinary code, not in a signal handler) and then lets the signal end the
// process as it would have.

#include <functional>
#include <mutex>

namespace simulator {

// Starts taking the signals; a signal that was ignored when the program started stays ignored
// (as under nohup). REQUIRES: no other thread has started yet, so that every thread inherits
// the blocked signals.
void catchEndingSignals();

// Registers `cleanup` to run if one of the signals ends the process (the last registered runs
// first). Returns a token for forgetEndingCleanup.
int onEndingSignal(std::function<void()> cleanup);
// Forgets a clean-up registered with onEndingSignal.
void forgetEndingCleanup(int token);

// While one is alive, an ending signal waits, so that what is being made can register its
// clean-up before the signal acts.
class EndingSignalsHeld {
 public:
  EndingSignalsHeld();

 private:
  std::unique_lock<std::recursive_mutex> lock_;
};

}  // namespace simulator
