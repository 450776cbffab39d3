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
  // "[0.3] Keep After Unlock (saveForUnlock): on, greyed": the label and the key.
  auto paneRow = [&](const std::string& item) {
    std::string rest = item.substr(item.find("] ") + 2);
    std::size_t end = std::min(rest.find(" ("), rest.find(": "));
    names.push_back(rest.substr(0, end));
    std::size_t key = rest.find(" (");
    if (key != std::string::npos) names.push_back(rest.substr(key + 2, rest.find(')') - key - 2));
  };
  enum { None, Rows, Layer, Pane, List } section = None;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("    pane \"", 0) == 0 || line.rfind("    list \"", 0) == 0) {
      section = line[4] == 'p' ? Pane : List;
      names.push_back(line.substr(10, line.rfind('"') - 10));
      continue;
    }
    if (line.rfind("    [", 0) == 0) {  // a switch flipped: its row as it is now
      paneRow(line.substr(4));
      continue;
    }
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
    if (section == Pane) {
      if (item.rfind("footer of section ", 0) == 0) {
        names.push_back(item.substr(item.find(": ") + 2));
      } else {
        paneRow(item);
      }
    } else if (section == List) {
      if (item.rfind("  [", 0) == 0) {  // "  [x] Name  bundle.identifier"
        for (const auto& piece : cut(item.substr(6), "  ")) names.push_back(piece);
      } else if (item.rfind("problem: ", 0) == 0) {
        names.push_back(item.substr(9));
      } else {
        names.push_back(item.substr(0, item.rfind(':')));
      }
    } else if (section == Rows && item != "(no notifications)") {
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

  // A fresh phone in `locale` and `timeZone`, nothing launched.
  void makePhoneIn(const std::string& locale, const std::string& timeZone) {
    phone_.reset();
    PhoneOptions options;
    options.extension = TARROW8_EXTENSION;
    options.locale = locale;
    options.timeZone = timeZone;
    phone_ = std::make_unique<Phone>(options);
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

// Every screen the actions menu and reminders pass through, with the transcript's `show` forms
// at each, on both kinds of device and in two regions: whatever the text shows, the drawing
// names, with dates and times in the device's locale and time zone.
TEST_F(HtmlPageTest, EveryScreenNamesWhatTheTranscriptShowsForIt) {
  const std::string screens =
      "settings enabled=true\n"
      "boot\n"
      "publish m1 com.apple.MobileSMS title=Anna message=\"Lunch at noon?\" date=2026-12-09T07:50\n"
      "publish e1 com.apple.mobilemail title=Work subtitle=Report message=Agenda "
      "date=2026-12-09T07:55\n"
      "publish n1 com.apple.mobilenotes\n"
      "show lockscreen\n"
      "swipe lockscreen m1\n"
      "show screen\n"
      "tap T\n"
      "show screen\n"
      "tap \"Add Reminder\"\n"
      "show screen\n"
      "pick 2026-12-09T09:00\n"
      "show screen\n"
      "tap Add\n"
      "show lockscreen\n"
      "unlock\n"
      "nc show\n"
      "show nc\n"
      "swipe nc e1\n"
      "show screen\n"
      "tap T\n"
      "tap \"Edit All Reminders\"\n"
      "show screen\n"
      "select 0\n"
      "show screen\n"
      "tap Cancel\n"
      "tap Done\n"
      "show screen\n";
  struct Case {
    const char* device;
    const char* locale;
    const char* timeZone;
    const char* clock;  // the status bar at the start, in the device's region
  };
  const Case cases[] = {
      {"phone", "en_US", "UTC", "8:00\u202fAM"},
      {"pad", "de_DE", "Europe/Berlin", "08:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.device) + " " + c.locale);
    makePhoneIn(c.locale, c.timeZone);
    out_.str("");
    printed_.clear();
    std::string html = runWithPage(std::string("device ") + c.device + "\n" + screens);
    ASSERT_EQ(failures_, 0) << out_.str();
    ParsedPage page(html);
    EXPECT_EQ(page.errors(), std::vector<std::string>{});
    ASSERT_EQ(page.withClass("step").size(), commands_);
    expectEveryShownThingDrawn(page);
    auto devices = page.withClass("device");
    EXPECT_EQ(page.withClass(c.device).size(), devices.size()) << "every step on a " << c.device;
    ASSERT_EQ(devices.size(), 30u);
    auto clock = page.withClass("clock", devices[2]);  // booted
    ASSERT_EQ(clock.size(), 1u);
    EXPECT_EQ(ParsedPage::text(clock[0]), c.clock);
    // The sheet and the alert come over a dimmed screen; the reminders window over everything.
    EXPECT_EQ(page.withClass("dimming", devices[9]).size(), 1u) << "the sheet's step";
    EXPECT_EQ(page.withClass("date-picker", devices[13]).size(), 1u) << "the picked alert";
    EXPECT_EQ(page.withClass("controller-screen", devices[23]).size(), 1u) << "the window";
  }
}

// The Settings app's pane and its application lists, as the transcript shows them: every row,
// its key and value, the sections and their applications, the respring prompt; switches drawn
// in their tint, greyed rows greyed, chosen applications checked.
TEST_F(HtmlPageTest, TheSettingsPaneAndItsListsNameWhatTheTranscriptShows) {
  std::string html = runWithPage(
      "boot\nunlock\nsettings-app open\nshow pane\ntoggle enabled\n"
      "toggle mirrorNotificationCenter\nshow screen\ntap No\nshow pane\n"
      "open-list blacklist\nshow list\ncheck com.facebook.Facebook\nshow list\nback\n"
      "settings-app close\n");
  ASSERT_EQ(failures_, 0) << out_.str();
  ParsedPage page(html);
  EXPECT_EQ(page.errors(), std::vector<std::string>{});
  expectEveryShownThingDrawn(page);
  auto steps = page.withClass("step");
  ASSERT_EQ(steps.size(), 15u);
  // The pane after both switches: the extension's switch on in red, mirroring on in the
  // platform's green, and the rows mirroring takes over greyed.
  auto row = [&](const GumboNode* step, const std::string& key) -> const GumboNode* {
    for (const GumboNode* r : page.withClass("pane-row", step)) {
      if (ParsedPage::attribute(r, "data-key") == key) return r;
    }
    return nullptr;
  };
  const GumboNode* enabled = row(steps[8], "enabled");
  ASSERT_NE(enabled, nullptr);
  auto switches = page.withClass("switch", enabled);
  ASSERT_EQ(switches.size(), 1u);
  EXPECT_TRUE(ParsedPage::hasClass(switches[0], "on"));
  EXPECT_EQ(ParsedPage::attribute(switches[0], "style"), "background:#ff3b30");
  EXPECT_EQ(ParsedPage::attribute(
                page.withClass("switch", row(steps[8], "mirrorNotificationCenter"))[0], "style"),
            "background:#4cd964");
  EXPECT_TRUE(ParsedPage::hasClass(row(steps[8], "saveForUnlock"), "greyed"));
  EXPECT_FALSE(ParsedPage::hasClass(row(steps[3], "saveForUnlock"), "greyed"));
  EXPECT_EQ(page.withClass("alert", steps[6]).size(), 1u) << "the respring prompt";
  std::vector<std::string> checked;
  for (const GumboNode* r : page.withClass("checked", steps[12]))
    checked.push_back(ParsedPage::attribute(r, "data-application"));
  EXPECT_EQ(checked, std::vector<std::string>{"com.facebook.Facebook"});
  EXPECT_EQ(page.withClass("settings", steps[14]).size(), 0u) << "closed: the home screen";
}

// The reminder dot is what the row's cell shows: there, in the extension's colour, while the
// reminder is pending, and gone once it fired.
TEST_F(HtmlPageTest, TheReminderDotIsDrawnWhereTheCellShowsIt) {
  std::string html = runWithPage(
      "settings enabled=true\nboot\nunlock\nnc show\nnc hide\nlock\n"
      "publish e1 com.apple.mobilemail title=Work message=Agenda\n"
      "publish m1 com.apple.MobileSMS title=Anna message=Lunch\n"
      "swipe lockscreen e1\ntap T\ntap \"Add Reminder\"\npick 2026-12-09T08:30\ntap Add\n"
      "expect marker e1 true\nwait 31m\nexpect marker e1 false\n");
  ASSERT_EQ(failures_, 0) << out_.str();
  ParsedPage page(html);
  auto steps = page.withClass("step");
  ASSERT_EQ(steps.size(), 16u);
  auto dotsIn = [&](std::size_t step) {
    std::vector<std::string> rows;
    for (const GumboNode* row : page.withClass("row", steps[step])) {
      for (const GumboNode* dot : page.withClass("reminder-dot", row))
        rows.push_back(ParsedPage::attribute(row, "data-bulletin") + " " +
                       ParsedPage::attribute(dot, "style"));
    }
    return rows;
  };
  EXPECT_EQ(dotsIn(11), std::vector<std::string>{}) << "before the reminder is added";
  EXPECT_EQ(dotsIn(12), std::vector<std::string>{"e1 left:15.25px;top:30.5px;width:9px;height:9px;"
                                                 "background:rgba(113,162,234,1)"});
  EXPECT_EQ(dotsIn(13), dotsIn(12));
  EXPECT_EQ(dotsIn(14), std::vector<std::string>{}) << "the reminder fired";
}

// Text from a scenario is text on the page: a message holding markup shows its characters and
// makes no element, in the drawing and in the transcript beside it.
TEST_F(HtmlPageTest, MarkupInAScenarioShowsAsText) {
  const std::string markup = "<script>alert(1)</script> & <b>bold</b> \\\"q\\\" 'a'";
  std::string html = runWithPage(
      "settings enabled=true\nboot\n"
      "publish x1 com.apple.MobileSMS title=\"<i>Anna</i>\" message=\"" +
      markup +
      "\"\n"
      "echo \"</pre><img src=x>\"\nswipe lockscreen x1\ntap T\nshow screen\n");
  ASSERT_EQ(failures_, 0) << out_.str();
  ParsedPage page(html);
  EXPECT_EQ(page.errors(), std::vector<std::string>{});
  EXPECT_EQ(page.withTag(GUMBO_TAG_SCRIPT).size(), 1u) << "only the page's own check";
  EXPECT_EQ(page.withTag(GUMBO_TAG_B).size(), 0u);
  EXPECT_EQ(page.withTag(GUMBO_TAG_I).size(), 0u);
  EXPECT_EQ(page.withTag(GUMBO_TAG_IMG).size(), 0u);
  auto steps = page.withClass("step");
  ASSERT_EQ(steps.size(), 7u);
  std::string message = "<script>alert(1)</script> & <b>bold</b> \"q\" 'a'";
  auto messages = page.withClass("row-message", steps[2]);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(ParsedPage::text(messages[0]), message);
  EXPECT_EQ(ParsedPage::text(page.withClass("title", steps[2])[0]), "<i>Anna</i>");
  EXPECT_NE(ParsedPage::text(steps[3]).find("</pre><img src=x>"), std::string::npos)
      << "the echoed line, in the transcript beside the drawing";
}

// A failed step is marked, its failure line in red, and the page opens at the first one.
TEST_F(HtmlPageTest, FailuresAreMarkedAndThePageOpensAtTheFirst) {
  std::string html = runWithPage(
      "boot\nexpect launches 1\nexpect launches 2\npublish m1 com.apple.MobileSMS\n"
      "expect lockscreen\n",
      "f.scenario");
  ASSERT_EQ(failures_, 2);
  ParsedPage page(html);
  EXPECT_EQ(page.errors(), std::vector<std::string>{});
  auto steps = page.withClass("step");
  ASSERT_EQ(steps.size(), 5u);
  std::vector<std::string> failed, lines;
  for (const GumboNode* step : steps) {
    if (ParsedPage::hasClass(step, "failed")) failed.push_back(ParsedPage::attribute(step, "id"));
    for (const GumboNode* line : page.withClass("failure", step))
      lines.push_back(ParsedPage::text(line));
  }
  EXPECT_EQ(failed, (std::vector<std::string>{"step-3", "step-5"}));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "f.scenario:3: expected launches 2, but SpringBoard was launched once",
                       "f.scenario:5: expected lockscreen (none), but it shows m1"}));
  auto anchors = page.all(
      [](const GumboNode* n) { return ParsedPage::attribute(n, "id") == "first-failure"; });
  ASSERT_EQ(anchors.size(), 1u);
  EXPECT_EQ(anchors[0]->parent, steps[2]) << "the anchor is in the first failed step";
  auto links = page.all(
      [](const GumboNode* n) { return ParsedPage::attribute(n, "href") == "#first-failure"; });
  EXPECT_EQ(links.size(), 1u) << "the summary links to it";
  EXPECT_NE(ParsedPage::text(page.withTag(GUMBO_TAG_SCRIPT)[0]).find("first-failure"),
            std::string::npos)
      << "the page's script scrolls there when it opens";
}

// Watching a run changes nothing in it: the transcript is the same to the byte, log lines
// included, with or without a page.
TEST_F(HtmlPageTest, TheTranscriptIsTheSameWithAPage) {
  const std::string scenarios[] = {
      tourScenario(),
      "settings enabled=true\nboot\npublish m1 com.apple.MobileSMS title=Anna\nunlock\nnc show\n"
      "long-press m1\ntap \"Add Reminder\"\npick 2026-12-09T08:10\ntap Add\nswipe nc m1\n"
      "tap T\ntap \"Edit All Reminders\"\nselect 0\ntap Delete\ntap Done\nlock\nwait 20m\n"
      "write-file /var/mobile/Library/Preferences/net.vornel.tarrow8.plist \"<plist>\"\n"
      "post darwin net.vornel.tarrow8/preferences\nrespring\n"};
  for (const std::string& text : scenarios) {
    std::string transcripts[2];
    for (int watched = 0; watched < 2; ++watched) {
      makePhone();
      std::ostringstream out;
      phone_->setLogListener([&](const std::string& process, const std::string& message) {
        out << "    log   " << process << ": " << message << "\n";
      });
      ParsedScenario parsed = parseScenario(text, "t");
      ScenarioRunner runner(*phone_, out, "t");
      HtmlPage page("t");
      if (watched) runner.setStepObserver(page.observer(*phone_));
      runner.runAll(parsed.commands);
      transcripts[watched] = out.str();
      if (watched) EXPECT_EQ(page.stepCount(), parsed.commands.size());
    }
    EXPECT_EQ(transcripts[1], transcripts[0]);
  }
}

// The page's file is opened before a run: a path that cannot be written is refused at once and
// leaves nothing behind, and a file's old contents stay until the page replaces them.
TEST(PageFileTest, APathThatCannotBeWrittenIsRefusedBeforeAnythingRuns) {
  fs::path folder = fs::temp_directory_path() / ("tarrow8-page-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder / "a folder");
  std::ofstream(folder / "a file") << "an old page, longer than the new one";
  struct Case {
    std::string path;
    const char* reason;
  };
  const Case cases[] = {
      {(folder / "a folder").string(), "it is a folder"},
      {(folder / "missing" / "page.html").string(), "No such file or directory"},
      {(folder / "a file" / "page.html").string(), "Not a directory"},
      {"", "the path is empty"},
  };
  for (const Case& c : cases) {
    PageFile file;
    std::string error = file.open(c.path);
    EXPECT_EQ(error.rfind("cannot write the page to ", 0), 0u) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
  EXPECT_FALSE(fs::exists(folder / "missing"));
  {
    PageFile file;
    ASSERT_EQ(file.open((folder / "a file").string()), "");
    std::stringstream before;
    before << std::ifstream(folder / "a file").rdbuf();
    EXPECT_EQ(before.str(), "an old page, longer than the new one")
        << "untouched until the page is written";
    ASSERT_EQ(file.write("<!DOCTYPE html>"), "");
    std::stringstream after;
    after << std::ifstream(folder / "a file").rdbuf();
    EXPECT_EQ(after.str(), "<!DOCTYPE html>");
  }
  {
    PageFile file;
    ASSERT_EQ(file.open((folder / "new.html").string()), "");
    EXPECT_TRUE(fs::exists(folder / "new.html"));
  }
  EXPECT_FALSE(fs::exists(folder / "new.html")) << "a page never written leaves no empty file";
  fs::remove_all(folder);
}

}  // namespace
}  // namespace sim::testing
