# Warnings for our own code only.
function(orvane_warnings target)
  # -Wrestrict misfires on std::string concatenation in g++ 12 at -O3.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-restrict)
endfunction()

# The Windows path under Wine of a folder of this machine.
function(orvane_wine_path out unix_path)
  string(REPLACE "/" "\\" p "${unix_path}")
  set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()
orvane_wine_path(ORVANE_TEST_DATA_WIN ${CMAKE_SOURCE_DIR}/tests/data)
orvane_wine_path(ORVANE_BIN_WIN ${CMAKE_BINARY_DIR}/bin)

# orvane_add_test(name SOURCES ... [LIBS ...] [GUI] [TIMEOUT s])
# One executable, one ctest entry, run under Wine. GUI tests get the run's Xvfb display.
function(orvane_add_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support GTest::gmock GTest::gtest_main)
  orvane_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "ORVANE_TEST_DATA=${ORVANE_TEST_DATA_WIN};ORVANE_BIN=${ORVANE_BIN_WIN}")
  if(T_GUI)
    set_tests_properties(${name} PROPERTIES LABELS gui)
  endif()
endfunction()
