// Sanitizer settings compiled into every test executable, so that they hold
// however the test is started (ctest, by hand, under a debugger). Any report
// ends the test with a failure.

extern "C" {

const char* __asan_default_options() {
  return "detect_leaks=1:abort_on_error=1:strict_string_checks=1:"
         "detect_stack_use_after_return=1";
}

const char* __ubsan_default_options() {
  return "halt_on_error=1:print_stacktrace=1";
}

// Only process-lifetime caches of system libraries; never the project's code.
const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libX11.so\n";
}

}  // extern "C"
