#pragma once
// The simulator's prompt: commands typed one at a time against a phone, with `help`, `help
// COMMAND`, `quit`, and a closing summary whose exit status matches it.

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "sim/html_page.h"
#include "sim/phone.h"

namespace simulator {

// Where typed lines come from.
class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next line (shown after `prompt` where lines are typed), or nothing at the end of input.
  // `untilTyping`, when given, runs first and returns once input is waiting.
  virtual std::optional<std::string> next(const std::string& prompt,
                                          const std::function<void()>& untilTyping) = 0;
  // Called with every line that was not blank, for a history.
  virtual void remember(const std::string&) {}
};

// The words the prompt completes for the word before the cursor: command names first, and
// after `help`.
std::vector<std::string> promptCompletions(const std::string& beforeCursor);

// Runs lines from `lines` against `phone` until `quit`, `exit` or the end of input, writing the
// transcript to `out`; a live phone keeps running while the prompt waits. Ends with a summary
// such as "session: 3 commands run, 1 failed" and returns the exit status it reports: 0 when
// every command held, 1 otherwise. `save-html FILE` writes the page of the steps run so far;
// `page`, when given, gets the page of the whole session at its end (2 when that fails).
int runPrompt(sim::Phone& phone, LineSource& lines, std::ostream& out, bool live,
              sim::PageFile* page = nullptr);

}  // namespace simulator
