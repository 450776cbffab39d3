#pragma once
// The extension's hook table: every method it replaces or adds on SpringBoard's classes, one
// row each, installed in the table's order.

#include <objc/runtime.h>

#include <span>

namespace tarrow8 {

enum class HookKind {
  Hook,   // replaces an existing method, keeping the replaced implementation in `saved`
  Added,  // adds a new method with the row's type encoding
};

struct HookRow {
  const char* className;
  const char* selector;
  HookKind kind;
  IMP implementation;
  const char* types;  // Added rows only
  IMP* saved;         // Hook rows only
};

// Installs every row of the table, in order. A row whose class is missing from the running
// SpringBoard is skipped; a hook whose method is missing leaves its saved implementation null.
void installHookTable();

}  // namespace tarrow8
