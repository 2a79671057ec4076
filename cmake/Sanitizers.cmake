# Tests run under AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer;
# any report aborts the test, so a sanitizer finding is a failing test.
if(WAD_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -g -O1)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
