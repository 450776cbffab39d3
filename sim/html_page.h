#pragma once
// The page of a run: for every step, the command, the transcript lines it printed and the
// phone's screen right after it, in one self-contained HTML file (inline style and script,
// nothing fetched). Failed steps are marked in red and the page opens at the first one.

#include <cstddef>
#include <string>
#include <vector>

#include "sim/phone.h"
#include "sim/scenario.h"

namespace sim {

class HtmlPage {
 public:
  // `scenario` names the run ("tour", a file) as the transcript does in its failure lines.
  explicit HtmlPage(std::string scenario);

  // Adds a step that has just run, with the screen of `phone` as the step left it.
  void addStep(const Step& step, const Phone& phone);
  // An observer for ScenarioRunner::setStepObserver that adds every step run on `phone`.
  // REQUIRES: this page and `phone` outlive the runner's use of it.
  StepObserver observer(const Phone& phone);

  std::size_t stepCount() const { return steps_.size(); }
  std::size_t failedCount() const;
  // The whole page.
  std::string text() const;

 private:
  struct DrawnStep {
    int line = 0;
    std::string printed;
    bool ok = true;
    std::string screen;  // the device's drawing
  };
  std::string scenario_;
  std::vector<DrawnStep> steps_;
};

// The file a page goes to, opened before a run so that a path that cannot be written is known
// before anything runs. Its contents change only when the page is written; a file the opening
// made and nothing was written to is removed again.
class PageFile {
 public:
  PageFile() = default;
  ~PageFile();
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;

  // Opens `path` for writing. Returns "" or why it cannot be written, e.g.
  // "cannot write the page to page.html: Permission denied". REQUIRES: not opened before.
  std::string open(const std::string& path);
  // Replaces the file's contents with `text`. Returns "" or why that failed.
  // REQUIRES: open succeeded.
  std::string write(const std::string& text);

 private:
  int fd_ = -1;
  std::string path_;
  bool created_ = false;
  bool written_ = false;
};

}  // namespace sim
