# Project-wide warnings; each library adds them with wad_warnings(<target>).
function(wad_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()
