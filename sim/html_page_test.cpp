// The page of a run, read back with an HTML parser as a browser reads it: valid HTML, one step
// per command, every row, button and title the transcript shows for a step named in that step's
// drawing, markup from a scenario shown as text, failures marked, and the transcript unchanged.

#include "sim/html_page.h"

#include <gumbo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "sim/phone_test_support.h"
#include "sim/scenario.h"
#include "sim/tour.h"

namespace sim::testing {
namespace {

namespace fs = std::filesystem;

// The head of gumbo's error record (its header keeps the rest private): where each parse error is.
struct GumboErrorHead {
  int type;
  GumboSourcePosition position;
};

// A page parsed as a browser parses it, with readers for what the tests look at.
class ParsedPage {
 public:
  explicit ParsedPage(const std::string& html) : html_(html) {
    output_ = gumbo_parse_with_options(&kGumboDefaultOptions, html_.data(), html_.size());
  }
  ~ParsedPage() { gumbo_destroy_output(&kGumboDefaultOptions, output_); }
  ParsedPage(const ParsedPage&) = delete;
  ParsedPage& operator=(const ParsedPage&) = delete;

  // The parse errors, each as "line:column: the text there".
  std::vector<std::string> errors() const {
    std::vector<std::string> found;
    for (unsigned i = 0; i < output_->errors.length; ++i) {
      const auto* e = static_cast<const GumboErrorHead*>(output_->errors.data[i]);
      found.push_back(std::to_string(e->position.line) + ":" + std::to_string(e->position.column) +
                      ": " + html_.substr(e->position.offset, 60));
    }
    return found;
  }
  bool hasDoctype() const { return output_->document->v.document.has_doctype; }

  // Every element under `from` (the whole document when null) that `match` accepts, in order.
  std::vector<const GumboNode*> all(const std::function<bool(const GumboNode*)>& match,
                                    const GumboNode* from = nullptr) const {
    std::vector<const GumboNode*> found;
    collect(from ? from : output_->root, match, found);
    return found;
  }
  std::vector<const GumboNode*> withClass(const std::string& name,
                                          const GumboNode* from = nullptr) const {
    return all([&](const GumboNode* n) { return hasClass(n, name); }, from);
  }
  std::vector<const GumboNode*> withTag(GumboTag tag, const GumboNode* from = nullptr) const {
    return all([&](const GumboNode* n) { return n->v.element.tag == tag; }, from);
  }

  static std::string attribute(const GumboNode* node, const char* name) {
    const GumboAttribute* a = gumbo_get_attribute(&node->v.element.attributes, name);
    return a ? a->value : "";
  }
  static bool hasClass(const GumboNode* node, const std::string& name) {
    std::istringstream classes(attribute(node, "class"));
    for (std::string c; classes >> c;) {
      if (c == name) return true;
    }
    return false;
  }
  // The text under `node` as a person reads it, and every attribute value, one per line.
  static std::string named(const GumboNode* node) {
    std::string text;
    gather(node, text);
    return text;
  }
  // The text under `node` only.
  static std::string text(const GumboNode* node) {
    if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE)
      return node->v.text.text;
    std::string all;
    if (node->type != GUMBO_NODE_ELEMENT) return all;
    for (unsigned i = 0; i < node->v.element.children.length; ++i)
      all += text(static_cast<const GumboNode*>(node->v.element.children.data[i]));
    return all;
  }

 private:
  static void collect(const GumboNode* node, const std::function<bool(const GumboNode*)>& match,
                      std::vector<const GumboNode*>& found) {
    if (node->type != GUMBO_NODE_ELEMENT) return;
    if (match(node)) found.push_back(node);
    for (unsigned i = 0; i < node->v.element.children.length; ++i)
      collect(static_cast<const GumboNode*>(node->v.element.children.data[i]), match, found);
  }
  static void gather(const GumboNode* node, std::string& out) {
    if (node->type == GUMBO_NODE_TEXT) {
      out += std::string(node->v.text.text) + "\n";
      return;
    }
    if (node->type != GUMBO_NODE_ELEMENT) return;
    const GumboVector& attributes = node->v.element.attributes;
    for (unsigned i = 0; i < attributes.length; ++i)
      out += std::string(static_cast<const GumboAttribute*>(attributes.data[i])->value) + "\n";
    for (unsigned i = 0; i < node->v.element.children.length; ++i)
      gather(static_cast<const GumboNode*>(node->v.element.children.data[i]), out);
  }

  std::string html_;
  GumboOutput* output_ = nullptr;
};

// What a transcript's lines show on the screens, as the text renderers print them: each row's
// pieces, and the layer's title, message, picker date, buttons and rows.
std::vector<std::string> namedInTranscript(const std::string& printed) {
  std::vector<std::string> names;
  std::istringstream lines(printed);
  auto cut = [](std::string s, const std::string& separator) {
    std::vector<std::string> pieces;
    for (std::size_t at; (at = s.find(separator)) != std::string::npos;) {
      if (at > 0) pieces.push_back(s.substr(0, at));
      s.erase(0, at + separator.size());
    }
    if (!s.empty()) pieces.push_back(s);
    return pieces;
  };
  enum { None, Rows, Layer } section = None;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("    lock screen (up)", 0) == 0 ||
        line.rfind("    Notification Center (shown)", 0) == 0) {
      section = Rows;
      continue;
    }
    if (line.rfind("    the ", 0) == 0 && line.back() == ':') {
      section = Layer;
      std::size_t quote = line.find('"');
      if (quote != std::string::npos)
        names.push_back(line.substr(quote + 1, line.rfind('"') - quote - 1));
      continue;
    }
    if (line.rfind("    row actions: ", 0) == 0) {
      for (const auto& title : cut(line.substr(17), ", ")) names.push_back(title);
      continue;
    }
    if (line.rfind("      ", 0) != 0) {
      section = None;
      continue;
    }
    std::string item = line.substr(6);
    if (section == Rows && item != "(no notifications)") {
      // "ID  Application  Title - Subtitle: Message  8:05 AM  [played]"
      for (const auto& piece : cut(item, "  ")) {
        if (piece.front() == '[') continue;
        for (const auto& heading : cut(piece, ": "))
          for (const auto& part : cut(heading, " - ")) names.push_back(part);
      }
    } else if (section == Layer) {
      if (item.rfind("message: ", 0) == 0) {
        names.push_back(item.substr(9));
      } else if (item.rfind("picker: ", 0) == 0) {
        names.push_back(item.substr(8));
      } else if (item.front() == '[') {
        std::string title = item.substr(item.find("] ") + 2);
        if (title.size() > 10 && title.substr(title.size() - 10) == "  (cancel)")
          title.resize(title.size() - 10);
        names.push_back(title);
      } else if (item.rfind("row ", 0) == 0) {
        for (const auto& piece : cut(item.substr(item.find(": ") + 2), "  ")) {
          if (piece.rfind("[icon of ", 0) == 0) {
            names.push_back(piece.substr(9, piece.size() - 10));
          } else {
            names.push_back(piece);
          }
        }
      }
    }
  }
  return names;
}

class HtmlPageTest : public PhoneTest {
 protected:
  // Runs `text` as the scenario `name` on the test's phone with a page watching; returns the
  // page. The transcript collects in out_.
  std::string runWithPage(const std::string& text, const std::string& name = "t") {
    ParsedScenario parsed = parseScenario(text, name);
    EXPECT_TRUE(parsed.errors.empty()) << (parsed.errors.empty() ? "" : parsed.errors.front());
    commands_ = parsed.commands.size();
    HtmlPage page(name);
    ScenarioRunner runner(*phone_, out_, name);
    std::vector<std::string> printed;
    runner.setStepObserver([&](const Step& step) {
      page.addStep(step, *phone_);
      printed_.push_back(step.printed);
    });
    failures_ = runner.runAll(parsed.commands);
    return page.text();
  }

  // Checks that every step's drawing names what its transcript lines show.
  void expectEveryShownThingDrawn(const ParsedPage& page) {
    auto steps = page.withClass("step");
    ASSERT_EQ(steps.size(), printed_.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
      auto devices = page.withClass("device", steps[i]);
      ASSERT_EQ(devices.size(), 1u) << "step " << i + 1;
      std::string drawn = ParsedPage::named(devices[0]);
      for (const auto& name : namedInTranscript(printed_[i])) {
        EXPECT_NE(drawn.find(name), std::string::npos)
            << "step " << i + 1 << " shows \"" << name << "\" in its transcript:\n"
            << printed_[i] << "but its drawing names only:\n"
            << drawn;
      }
    }
  }

  std::ostringstream out_;
  std::size_t commands_ = 0;
  int failures_ = 0;
  std::vector<std::string> printed_;
};

TEST_F(HtmlPageTest, TheToursPageIsValidHtmlWithOneDrawnStepPerCommand) {
  std::string html = runWithPage(tourScenario(), "tour");
  ASSERT_EQ(failures_, 0) << out_.str();
  ParsedPage page(html);
  EXPECT_TRUE(page.hasDoctype());
  EXPECT_EQ(page.errors(), std::vector<std::string>{});
  auto steps = page.withClass("step");
  ASSERT_EQ(steps.size(), commands_);
  for (const GumboNode* step : steps) {
    EXPECT_EQ(page.withClass("screen", step).size(), 1u) << ParsedPage::text(step);
    EXPECT_EQ(page.withClass("command", step).size(), 1u);
  }
  EXPECT_EQ(ParsedPage::attribute(page.withTag(GUMBO_TAG_BODY)[0], "data-steps"),
            std::to_string(commands_));
  expectEveryShownThingDrawn(page);
}

}  // namespace
}  // namespace sim::testing
