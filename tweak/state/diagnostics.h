#pragma once
// The extension's diagnostics entry point: a snapshot of its flags and stores, for the device's
// developer tools (the simulator's "show" command). It changes nothing.

#include <objc/objc.h>

extern "C" {
// A new dictionary (owned by the caller) with "flags" (name -> boolean), "keptItems",
// "removedBulletinIDs" and "reminders" (arrays of bulletin IDs, sorted), "reminderDates"
// (bulletin ID -> the reminder's fire date), "preferences" (the
// loaded settings dictionary) and "remembered" (names of the SpringBoard objects held).
id Tarrow8CopyDiagnostics();
}
