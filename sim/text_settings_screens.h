#pragma once
// The Settings app's screens as text for the transcript: the extension's pane and the
// application list it opens, fed by what their cells show (platform/preferences).

#include <iosfwd>
#include <string>

#include "platform/preferences/settings_app.h"

namespace sim {

// The pane: its title, then each row with its place, label, key, value, and whether it is
// greyed or its switch tinted; then the sections' footers.
void renderPane(const platform::preferences::PaneShot& pane, std::ostream& out);
// An application list: each section's title, then its applications with their check marks.
void renderApplicationList(const platform::preferences::ListShot& list, std::ostream& out);
// One row: "[0.3] Keep After Unlock (saveForUnlock): on, greyed".
std::string describePaneRow(const platform::preferences::PaneRow& row);

}  // namespace sim
