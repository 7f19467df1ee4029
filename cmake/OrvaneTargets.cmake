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

# Adds every folder of ORVANE_FOLDERS under base that holds a CMakeLists.txt. A glob, so that a
# folder added later is picked up by the next build.
macro(orvane_add_present_folders base)
  foreach(dir ${ORVANE_FOLDERS})
    file(GLOB present CONFIGURE_DEPENDS ${base}/${dir}/CMakeLists.txt)
    if(present)
      add_subdirectory(${base}/${dir})
    endif()
  endforeach()
endmacro()

# orvane_layer(name [LIBS lower libraries...] [EXCLUDE regex])
# One layer: every .cpp of the calling folder as the static library orvane_<name>, linked only
# to the layers below it, so that an include running up a layer fails to link.
function(orvane_layer name)
  cmake_parse_arguments(L "" "EXCLUDE" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(L_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${L_EXCLUDE}")
  endif()
  add_library(orvane_${name} STATIC ${sources})
  target_include_directories(orvane_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(orvane_${name} PUBLIC ${L_LIBS})
  orvane_warnings(orvane_${name})
endfunction()

# orvane_layer_tests(LIBS libraries...)
# Every *_test.cpp of the calling folder is one test executable over LIBS; *_gui_test.cpp ones
# get the run's display label; *_sim_test.cpp ones drive a simulation of their own (named for
# the test) with the sample device folders.
function(orvane_layer_tests)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(src ${tests})
    get_filename_component(name ${src} NAME_WE)
    set(libs ${T_LIBS})
    if(name MATCHES "_sim(_gui)?_test$")
      list(APPEND libs vhxsim_control)
    endif()
    if(name MATCHES "_gui_test$")
      orvane_add_test(${name} SOURCES ${src} LIBS ${libs} GUI)
    else()
      orvane_add_test(${name} SOURCES ${src} LIBS ${libs})
    endif()
    if(name MATCHES "_sim(_gui)?_test$")
      set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "VHXHID_SIM=${name}")
      add_dependencies(${name} orvane_dist)
    endif()
  endforeach()
endfunction()
