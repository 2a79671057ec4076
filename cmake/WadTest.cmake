# wad_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable per test folder; every test case becomes a CTest
# entry and runs with the sanitizer environment.
include(GoogleTest)
function(wad_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} wad_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  wad_warnings(${name})
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "${WAD_SANITIZER_ENV}"
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
