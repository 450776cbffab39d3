#include "sim/text_settings_screens.h"

#include <ostream>

namespace sim {

namespace prefs = platform::preferences;

std::string describePaneRow(const prefs::PaneRow& row) {
  std::string text =
      "[" + std::to_string(row.section) + "." + std::to_string(row.row) + "] " + row.label;
  if (!row.key.empty()) text += " (" + row.key + ")";
  std::string state;
  switch (row.kind) {
    case prefs::RowKind::Switch:
      state = row.on ? "on" : "off";
      if (row.tint == prefs::SwitchTint::Red) state += ", red switch";
      if (row.tint == prefs::SwitchTint::Other) state += ", tinted switch";
      break;
    case prefs::RowKind::Link:
      state = "opens a list";
      break;
    default:
      state = row.value;
  }
  if (row.greyed) state += state.empty() ? "greyed" : ", greyed";
  return state.empty() ? text : text + ": " + state;
}

void renderPane(const prefs::PaneShot& pane, std::ostream& out) {
  out << "    pane \"" << pane.title << "\"" << (pane.onTop ? "" : " (under a list)") << ":\n";
  for (const prefs::PaneRow& row : pane.rows) out << "      " << describePaneRow(row) << "\n";
  for (std::size_t section = 0; section < pane.footers.size(); ++section) {
    if (!pane.footers[section].empty())
      out << "      footer of section " << section << ": " << pane.footers[section] << "\n";
  }
}

void renderApplicationList(const prefs::ListShot& list, std::ostream& out) {
  out << "    list \"" << list.title << "\":\n";
  for (const prefs::ListSection& section : list.sections) {
    out << "      " << section.title << (section.rows.empty() ? ": (none)" : ":") << "\n";
    for (const prefs::ListRow& row : section.rows) {
      out << "        " << (row.checked ? "[x] " : "[ ] ") << row.name << "  "
          << row.bundleIdentifier << "\n";
    }
  }
  for (const std::string& problem : list.problems) out << "      problem: " << problem << "\n";
}

}  // namespace sim
