#pragma once
// Reading lines typed at a terminal with editing (the emacs keys, as in a shell), a history
// walked with the arrow keys, and tab completion, through libedit.

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct editline;
struct history;

namespace simulator {

class LineEditor {
 public:
  // The words that may complete the word before the cursor, given the line up to the cursor.
  using Completer = std::function<std::vector<std::string>(const std::string& beforeCursor)>;

  // An editor on the terminal of standard input and output (~/.editrc applies, as for every
  // program that uses libedit). REQUIRES: both are terminals.
  LineEditor(const char* program, Completer completer);
  ~LineEditor();
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  // Shows `prompt` and returns the line typed (without its newline); nothing at the end of
  // input (Ctrl-D on an empty line). When `untilTyping` is given it runs first, with the prompt
  // shown, and must return once a key has been pressed.
  std::optional<std::string> readLine(const std::string& prompt,
                                      const std::function<void()>& untilTyping = {});
  // Adds `line` to the history (a line equal to the one before is kept once).
  void remember(const std::string& line);

 private:
  static char* promptOf(struct editline* el);
  static unsigned char complete(struct editline* el, int key);

  struct editline* el_;
  struct history* history_;
  std::string prompt_;
  Completer completer_;
  int cleanup_;
};

}  // namespace simulator
