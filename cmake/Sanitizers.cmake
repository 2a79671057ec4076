# Tests run under AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer;
# any report aborts the test, so a sanitizer finding is a failing test.
if(WAD_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -g -O1)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
  set(WAD_SANITIZER_ENV
      "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
      "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
      "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/support/lsan.supp")
endif()
