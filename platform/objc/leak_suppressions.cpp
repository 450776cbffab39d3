// GNU libobjc allocates some of its tables once, keeps them for the life of the process and
// never frees them, which LeakSanitizer reports as leaks. Leak checks of the device therefore
// ignore allocations made inside libobjc; the device's own objects are still checked.

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libobjc.so\n";
}

// Keeps the suppression statistics out of every test's output.
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}
