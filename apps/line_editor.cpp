#include "apps/line_editor.h"

#include <histedit.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "apps/ending_signals.h"

namespace simulator {
namespace {

LineEditor* editorOf(EditLine* el) {
  void* data = nullptr;
  el_get(el, EL_CLIENTDATA, &data);
  return static_cast<LineEditor*>(data);
}

// The longest start that every word shares.
std::string commonStart(const std::vector<std::string>& words) {
  std::string common = words.front();
  for (const auto& w : words) {
    auto [end, ignored] = std::mismatch(common.begin(), common.end(), w.begin(), w.end());
    common.erase(end, common.end());
  }
  return common;
}

// Prints `words` in columns under the line being edited.
void listWords(const std::vector<std::string>& words) {
  std::size_t width = 0;
  for (const auto& w : words) width = std::max(width, w.size());
  width += 2;
  std::size_t perLine = std::max<std::size_t>(1, 78 / width);
  std::fputs("\n", stdout);
  for (std::size_t i = 0; i < words.size(); ++i) {
    bool last = (i + 1) % perLine == 0 || i + 1 == words.size();
    std::printf("%-*s%s", last ? 0 : static_cast<int>(width), words[i].c_str(), last ? "\n" : "");
  }
  std::fflush(stdout);
}

}  // namespace

LineEditor::LineEditor(const char* program, Completer completer)
    : el_(el_init(program, stdin, stdout, stderr)),
      history_(history_init()),
      completer_(std::move(completer)) {
  // Put the terminal back if a signal ends the program while a line is being edited.
  termios saved{};
  tcgetattr(STDIN_FILENO, &saved);
  cleanup_ = onEndingSignal([saved] { tcsetattr(STDIN_FILENO, TCSANOW, &saved); });
  HistEvent event;
  ::history(history_, &event, H_SETSIZE, 1000);
  ::history(history_, &event, H_SETUNIQUE, 1);
  el_set(el_, EL_CLIENTDATA, this);
  el_set(el_, EL_EDITOR, "emacs");
  el_set(el_, EL_PROMPT, &LineEditor::promptOf);
  el_set(el_, EL_HIST, ::history, history_);
  el_set(el_, EL_ADDFN, "tarrow8-complete", "Complete the word before the cursor",
         &LineEditor::complete);
  el_set(el_, EL_BIND, "^I", "tarrow8-complete", nullptr);
  el_source(el_, nullptr);
}

LineEditor::~LineEditor() {
  el_end(el_);
  history_end(history_);
  forgetEndingCleanup(cleanup_);
}

std::optional<std::string> LineEditor::readLine(const std::string& prompt,
                                                const std::function<void()>& untilTyping) {
  prompt_ = prompt;
  if (untilTyping) {
    // Keys must be seen as they are pressed, not when a whole line is in.
    termios cooked{};
    tcgetattr(STDIN_FILENO, &cooked);
    termios keys = cooked;
    keys.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    std::fputs(prompt.c_str(), stdout);
    std::fflush(stdout);
    tcsetattr(STDIN_FILENO, TCSANOW, &keys);
    untilTyping();
    tcsetattr(STDIN_FILENO, TCSANOW, &cooked);
    std::fputs("\r\x1b[K", stdout);  // the editor draws the prompt again
  }
  int count = 0;
  const char* line = el_gets(el_, &count);
  if (!line || count <= 0) return std::nullopt;
  std::string text(line, static_cast<std::size_t>(count));
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

void LineEditor::remember(const std::string& line) {
  HistEvent event;
  ::history(history_, &event, H_ENTER, line.c_str());
}

char* LineEditor::promptOf(EditLine* el) {
  return editorOf(el)->prompt_.data();
}

unsigned char LineEditor::complete(EditLine* el, int) {
  LineEditor* self = editorOf(el);
  const LineInfo* info = el_line(el);
  std::string before(info->buffer, info->cursor);
  std::size_t wordStart = before.find_last_of(" \t");
  std::string word = before.substr(wordStart == std::string::npos ? 0 : wordStart + 1);
  std::vector<std::string> words = self->completer_(before);
  if (words.empty()) return CC_ERROR;
  std::string common = commonStart(words);
  if (common.size() > word.size()) el_insertstr(el, common.substr(word.size()).c_str());
  if (words.size() == 1) {
    el_insertstr(el, " ");
  } else if (common.size() == word.size()) {
    listWords(words);
  }
  return CC_REDISPLAY;
}

}  // namespace simulator
