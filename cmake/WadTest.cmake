# wad_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable per test folder; every test case becomes a CTest
# entry; under sanitizers each executable carries its own sanitizer settings.
include(GoogleTest)
function(wad_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(WAD_SANITIZE)
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/SanitizerDefaults.cpp)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} wad_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  wad_warnings(${name})
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
