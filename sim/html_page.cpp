#include "sim/html_page.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/foundation/device_locale.h"
#include "sim/html_markup.h"
#include "sim/html_screens.h"
#include "sim/scenario_source.h"

namespace sim {
namespace {

// The look of the page and of iOS 8's screens. Sizes inside a screen are the device's points.
constexpr const char* kStyle = R"CSS(
*{box-sizing:border-box}
body{margin:0;background:#e9ecf1;color:#1d1d1f;font:14px/1.4 "Helvetica Neue",Helvetica,Arial,sans-serif}
header{padding:18px 24px;background:#1f2a38;color:#fff}
header h1{margin:0 0 4px;font-size:22px;font-weight:500}
header p{margin:2px 0}
header a{color:#ffb4b4;font-weight:bold}
#page-check{font-size:12px;opacity:.75}
ol.steps{list-style:none;margin:0;padding:0}
.step{display:flex;gap:24px;align-items:flex-start;padding:14px 24px;border-bottom:1px solid #d5d9e0;background:#fff}
.step.failed{border-left:6px solid #d70015;background:#fff1f1}
.transcript{flex:1;min-width:0}
.transcript pre{margin:0;white-space:pre-wrap;word-break:break-word;font:12px/1.5 "DejaVu Sans Mono",Menlo,Consolas,monospace}
.number{color:#8a94a3;font-size:11px}
.command{font-weight:bold;color:#0b2a4a}
.failed .command{color:#b00012}
.failure{color:#d70015;font-weight:bold}
.device{flex:none;position:relative;padding:16px 12px 48px;background:#161618;border-radius:38px}
.device.pad{padding:22px 22px 48px;border-radius:30px}
.home-button{position:absolute;bottom:9px;left:50%;width:30px;height:30px;margin-left:-15px;border-radius:50%;border:2px solid #3a3a3c}
.bezel{position:relative;overflow:hidden;background:#000}
.screen{position:absolute;top:0;left:0;overflow:hidden;color:#fff;font-size:14px;line-height:1.3;font-family:"Helvetica Neue",Helvetica,Arial,sans-serif}
.pad .screen{transform:scale(.6);transform-origin:0 0}
.lock-screen,.home-screen,.notification-center,.controller-screen,.dimming,.off{position:absolute;top:0;left:0;right:0;bottom:0}
.wallpaper{background:linear-gradient(165deg,#21466b 0%,#4a3566 55%,#1b1b33 100%)}
.off{background:#000;color:#8e8e93;display:flex;align-items:center;justify-content:center;text-align:center;padding:24px}
.status-bar{position:absolute;top:0;left:0;right:0;height:20px;padding:0 6px;display:flex;align-items:center;justify-content:space-between;font-size:12px;font-weight:600;color:#fff}
.status-bar.dark{color:#000}
.status-bar .clock{position:absolute;left:0;right:0;text-align:center}
.status-bar .signal{letter-spacing:-1px;font-size:8px}
.battery .level{display:inline-block;width:22px;height:10px;margin-left:3px;border:1px solid currentColor;border-radius:2px;background:currentColor;vertical-align:middle}
.icon{display:inline-flex;align-items:center;justify-content:center;flex:none;color:#fff;font-weight:600;line-height:1}
.grabber{position:absolute;left:50%;width:36px;height:5px;margin-left:-18px;border-radius:3px;background:rgba(255,255,255,.5)}
.grabber.top{top:24px}
.grabber.bottom{bottom:8px}
.lock-clock{position:absolute;top:34px;left:0;right:0;text-align:center;font-size:76px;font-weight:100;line-height:1}
.lock-date{position:absolute;top:114px;left:0;right:0;text-align:center;font-size:16px;font-weight:300}
.lock-list{position:absolute;top:150px;left:0;right:0;bottom:64px;overflow:hidden}
.pad .lock-clock{top:70px;font-size:120px}
.pad .lock-date{top:196px;font-size:22px}
.pad .lock-list{top:250px;left:134px;right:134px;bottom:110px}
.slide{position:absolute;bottom:26px;left:0;right:0;text-align:center;font-size:22px;font-weight:200;color:rgba(255,255,255,.85)}
.chevron{font-size:26px}
.camera{position:absolute;right:12px;bottom:10px;width:22px;height:16px;border:2px solid rgba(255,255,255,.7);border-radius:4px}
.row{position:relative;overflow:hidden;border-bottom:1px solid rgba(255,255,255,.18)}
.row.empty{padding:8px 12px;color:rgba(255,255,255,.6)}
.row-content{position:relative;min-height:34px;padding:8px 12px 8px 40px}
.lock-list .row-content{background:rgba(0,0,0,.22)}
.notification-center .row-content{background:rgba(40,40,42,1)}
.row-content .icon{position:absolute;left:10px;top:8px}
.row-title{display:flex;align-items:baseline;height:18px;line-height:18px}
.row-title .title{flex:1;font-size:15px;font-weight:600;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}
.row-title .application{margin:0 6px;font-size:11px;opacity:.6}
.notification-center .row-title .application{display:none}
.row-title .time{font-size:12px;opacity:.6}
.row-subtitle{font-size:14px;font-weight:600}
.row-message{font-size:14px;line-height:18px;white-space:pre-line;overflow-wrap:anywhere}
.reminder-dot{position:absolute;border-radius:50%}
.row-actions{position:absolute;top:0;right:0;bottom:0;display:flex}
.row-action{display:flex;align-items:center;justify-content:center;color:#fff;font-size:15px}
.loose-row-actions{position:absolute;left:0;right:0;bottom:0;display:flex;justify-content:flex-end;background:#c7c7cc}
.loose-row-actions .row-action{width:74px;height:44px;background:#8e8e93}
.notification-center{background:rgba(22,22,24,.94)}
.tabs{position:absolute;top:28px;left:50%;transform:translateX(-50%);display:flex;border:1px solid rgba(255,255,255,.85);border-radius:5px;overflow:hidden;font-size:13px}
.tabs span{padding:3px 16px}
.tabs .on{background:rgba(255,255,255,.85);color:#000}
.nc-list{position:absolute;top:62px;left:0;right:0;bottom:24px;overflow:hidden}
.pad .nc-list{left:104px;right:104px}
.nc-header{display:flex;align-items:center;gap:8px;padding:10px 12px 4px;font-size:15px}
.nc-name{flex:1}
.nc-clear{width:20px;height:20px;border-radius:50%;background:rgba(255,255,255,.25);text-align:center;line-height:20px}
.nothing{margin-top:140px;text-align:center;font-size:20px;font-weight:300;color:rgba(255,255,255,.6)}
.home-grid{position:absolute;top:34px;left:0;right:0;display:grid;grid-template-columns:repeat(4,1fr);row-gap:14px;justify-items:center}
.pad .home-grid{top:90px;left:90px;right:90px;row-gap:60px}
.home-icon{display:flex;flex-direction:column;align-items:center;width:74px}
.home-name{max-width:74px;margin-top:4px;font-size:11px;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}
.dock{position:absolute;left:0;right:0;bottom:0;height:96px;display:flex;justify-content:space-around;align-items:center;background:rgba(255,255,255,.22)}
.pad .dock{left:120px;right:120px;height:120px}
.dimming{background:rgba(0,0,0,.4)}
.sheet{position:absolute;left:8px;right:8px;bottom:8px;color:#000}
.sheet-group{margin-top:8px;background:rgba(248,248,248,.97);border-radius:13px;overflow:hidden}
.sheet-title{padding:14px 16px;border-bottom:1px solid #dbdbdb;text-align:center;font-size:13px;color:#8f8f8f}
.sheet-button{height:57px;line-height:57px;padding:0 8px;border-bottom:1px solid #dbdbdb;text-align:center;font-size:20px;color:#007aff;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}
.sheet-button:last-child{border-bottom:0}
.sheet-button.cancel{font-weight:600}
.sheet-button.destructive{color:#ff3b30}
.sheet.popover{left:50%;right:auto;bottom:auto;top:320px;width:320px;margin-left:-160px;border-radius:13px;overflow:hidden;box-shadow:0 6px 30px rgba(0,0,0,.45)}
.sheet.popover .sheet-group{margin-top:0;border-radius:0;border-top:1px solid #dbdbdb}
.alert{position:absolute;top:50%;left:50%;width:270px;transform:translate(-50%,-50%);background:rgba(248,248,248,.97);border-radius:13px;overflow:hidden;color:#000;text-align:center}
.alert-body{padding:19px 16px 16px}
.alert-title{font-size:17px;font-weight:600}
.alert-message{margin-top:4px;font-size:13px;white-space:pre-line}
.alert-buttons{border-top:1px solid #dbdbdb}
.alert-button{height:44px;line-height:44px;border-top:1px solid #dbdbdb;font-size:17px;color:#007aff}
.alert-button:first-child{border-top:0}
.alert-buttons.side-by-side{display:flex}
.side-by-side .alert-button{flex:1;border-top:0;border-left:1px solid #dbdbdb}
.side-by-side .alert-button:first-child{border-left:0}
.alert-button.cancel{font-weight:600}
.date-picker{margin:12px -16px -16px;background:#fff}
.wheel-row{height:30px;line-height:30px;font-size:17px}
.wheel-row.near{font-size:14px;color:#b4b4b8}
.wheel-row.chosen{border-top:1px solid #d1d1d6;border-bottom:1px solid #d1d1d6}
.controller-screen{background:#efeff4;color:#000}
.navigation-bar{position:absolute;top:0;left:0;right:0;height:64px;background:rgba(248,248,248,.97);border-bottom:1px solid #b2b2b2}
.navigation-title{position:absolute;top:20px;left:58px;right:58px;height:44px;line-height:44px;text-align:center;font-size:17px;font-weight:600;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}
.bar-button{position:absolute;top:20px;height:44px;line-height:44px;font-size:17px;color:#007aff}
.bar-button.left{left:8px}
.bar-button.right{right:8px}
.table{position:absolute;top:64px;left:0;right:0;bottom:0;padding-top:20px;overflow:hidden}
.cell{display:flex;align-items:center;gap:12px;min-height:44px;padding:6px 15px;background:#fff;border-bottom:1px solid #c8c7cc}
.cell-text{font-size:17px}
.cell-detail{font-size:12px;color:#8e8e93}
.grouped{padding-top:0}
.grouped .group{border-top:1px solid #c8c7cc;margin-top:22px}
.grouped .header{margin:22px 15px -16px;font-size:13px;color:#6d6d72;text-transform:uppercase}
.grouped .footer{margin:6px 15px 0;font-size:13px;color:#6d6d72}
.grouped .footer.problem{color:#ff3b30}
.pane-row,.list-row{justify-content:space-between}
.pane-label{flex:1;font-size:17px}
.pane-value{font-size:17px;color:#8e8e93}
.greyed .pane-label,.greyed .pane-value,.greyed .switch{opacity:.4}
.switch{position:relative;flex:none;width:51px;height:31px;border-radius:16px;background:#fff;box-shadow:inset 0 0 0 1.5px #e5e5ea}
.switch .knob{position:absolute;top:1.5px;left:1.5px;width:28px;height:28px;border-radius:50%;background:#fff;box-shadow:0 2px 3px rgba(0,0,0,.3)}
.switch.on{box-shadow:none}
.switch.on .knob{left:21.5px}
.chevron-right{font-size:24px;color:#c7c7cc}
.check-mark{font-size:17px;color:#007aff}
)CSS";

// Counts the steps drawn, says so in the page (the browser check reads it), and opens the page
// at its first failure.
constexpr const char* kScript = R"JS(
(function () {
  var steps = document.querySelectorAll('li.step');
  var drawn = 0;
  for (var i = 0; i < steps.length; i++) {
    var screen = steps[i].querySelector('.device .screen');
    if (screen && screen.getBoundingClientRect().height > 0) drawn++;
  }
  var expected = Number(document.body.getAttribute('data-steps'));
  var check = document.getElementById('page-check');
  var ok = drawn === expected && steps.length === expected;
  check.setAttribute('data-steps-found', String(drawn));
  check.setAttribute('data-result', ok ? 'ok' : 'missing');
  check.textContent = ok ? 'Page check: all ' + expected + ' steps drawn.'
                         : 'Page check: only ' + drawn + ' of ' + expected + ' steps drawn.';
  var first = document.getElementById('first-failure');
  if (first && !location.hash) first.scrollIntoView();
})();
)JS";

std::string plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

HtmlPage::HtmlPage(std::string scenario) : scenario_(std::move(scenario)) {}

void HtmlPage::addStep(const Step& step, const Phone& phone) {
  steps_.push_back({step.command.line, step.printed, step.ok, drawPhone(phone)});
}

StepObserver HtmlPage::observer(const Phone& phone) {
  return [this, &phone](const Step& step) { addStep(step, phone); };
}

std::size_t HtmlPage::failedCount() const {
  std::size_t failed = 0;
  for (const DrawnStep& step : steps_) failed += step.ok ? 0 : 1;
  return failed;
}

std::string HtmlPage::text() const {
  std::size_t failed = failedCount();
  std::string name = htmlText(scenario_);
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
      name + ": Tarrow8 simulator</title>\n<style>" + kStyle + "</style>\n</head>\n";
  html += "<body data-steps=\"" + std::to_string(steps_.size()) + "\">\n<header>\n<h1>" + name +
          "</h1>\n<p>Tarrow8 simulator: locale " + htmlText(platform::deviceLocale()) +
          ", time zone " + htmlText(platform::deviceTimeZone()) + "; " +
          plural(steps_.size(), "command", "commands") + ", " +
          (failed == 0 ? std::string("all passed") : plural(failed, "failed", "failed")) + "</p>\n";
  if (failed > 0) html += "<p><a href=\"#first-failure\">Go to the first failure</a></p>\n";
  html += "<p id=\"page-check\" data-result=\"pending\">Page check: not run.</p>\n</header>\n";
  html += "<ol class=\"steps\">\n";
  bool firstFailure = true;
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    const DrawnStep& step = steps_[i];
    std::string number = std::to_string(i + 1);
    html += "<li class=\"step" + std::string(step.ok ? "" : " failed") + "\" id=\"step-" + number +
            "\" data-line=\"" + std::to_string(step.line) + "\">";
    if (!step.ok && firstFailure) {
      html += "<a id=\"first-failure\"></a>";
      firstFailure = false;
    }
    html += "<div class=\"transcript\"><div class=\"number\">step " + number + ", line " +
            std::to_string(step.line) + "</div><pre>";
    // The stamped command first, then what it printed; its failure lines in red.
    std::string failurePrefix = scenario_ + ":" + std::to_string(step.line) + ": ";
    std::size_t start = 0;
    for (bool first = true; start < step.printed.size(); first = false) {
      std::size_t end = step.printed.find('\n', start);
      if (end == std::string::npos) end = step.printed.size();
      std::string line = step.printed.substr(start, end - start);
      const char* kind = first                               ? "command"
                         : line.rfind(failurePrefix, 0) == 0 ? "failure"
                                                             : nullptr;
      if (kind) {
        html += std::string("<span class=\"") + kind + "\">" + htmlText(line) + "</span>\n";
      } else {
        html += htmlText(line) + "\n";
      }
      start = end + 1;
    }
    html += "</pre></div>" + step.screen + "</li>\n";
  }
  html += "</ol>\n<script>" + std::string(kScript) + "</script>\n</body>\n</html>\n";
  return html;
}

PageFile::~PageFile() {
  if (fd_ < 0) return;
  close(fd_);
  if (created_ && !written_) unlink(path_.c_str());
}

std::string PageFile::open(const std::string& path) {
  path_ = path;
  auto failure = [&](const std::string& why) {
    return "cannot write the page to " + displayText(path) + ": " + why;
  };
  if (path.empty()) return failure("the path is empty");
  struct stat before {};
  bool existed = stat(path.c_str(), &before) == 0;
  if (existed && S_ISDIR(before.st_mode)) return failure("it is a folder");
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) return failure(std::strerror(errno));
  created_ = !existed;
  return "";
}

std::string PageFile::write(const std::string& text) {
  auto failure = [&](const char* step) {
    return "cannot write the page to " + displayText(path_) + ": " + step + ": " +
           std::strerror(errno);
  };
  if (ftruncate(fd_, 0) != 0) return failure("emptying it");
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = pwrite(fd_, text.data() + done, text.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return failure("writing");
    done += static_cast<std::size_t>(n);
  }
  written_ = true;
  return "";
}

}  // namespace sim
