#pragma once
// The hooking library's entry point, as extensions call it: replace one method of one class and
// get back the implementation that was in force, so the replacement can call through to it.

#include <objc/runtime.h>

extern "C" {
// Installs `replacement` as the implementation of `selector` on `cls` and stores the
// implementation it replaced in *result (when result is not null). A method the class only
// inherits is added to `cls` itself, so the superclass and its other subclasses keep theirs.
// When `cls` is Nil or no class in its chain has the method, nothing is installed and *result
// becomes null.
void MSHookMessageEx(Class cls, SEL selector, IMP replacement, IMP* result);
}
