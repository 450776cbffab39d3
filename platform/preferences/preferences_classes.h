#pragma once
// Defining the Preferences framework's classes and the application-list library's up front, as
// the Settings app has them from its first moment, so that a bundle's code finds them by name.

namespace platform::preferences {

// Defines PSSpecifier, PSViewController, PSListController, PSTableCell, PSSwitchTableCell,
// ALApplicationListController and ALCheckCell (idempotent).
void registerClasses();

}  // namespace platform::preferences
