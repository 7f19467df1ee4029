# AngelScript from Debian's source package, unpacked by tools/setup.
set(AS_ROOT ${ORVANE_CACHE}/angelscript-2.35.1/angelscript)
if(NOT EXISTS ${AS_ROOT}/source/as_scriptengine.cpp)
  message(FATAL_ERROR "AngelScript source missing in ${AS_ROOT}: run tools/setup")
endif()
file(GLOB AS_SOURCES ${AS_ROOT}/source/*.cpp)
add_library(angelscript STATIC ${AS_SOURCES})
target_include_directories(angelscript SYSTEM PUBLIC ${AS_ROOT}/include)
target_compile_options(angelscript PRIVATE -w)

# The library's array add-on, built from the same unpacked source: the scripts' default array.
set(AS_ADDONS ${ORVANE_CACHE}/angelscript-2.35.1/add_on)
add_library(angelscript_scriptarray STATIC ${AS_ADDONS}/scriptarray/scriptarray.cpp)
target_include_directories(angelscript_scriptarray SYSTEM PUBLIC ${AS_ADDONS})
target_link_libraries(angelscript_scriptarray PUBLIC angelscript)
target_compile_options(angelscript_scriptarray PRIVATE -w)

# GoogleTest from the sources Debian's googletest package installs.
set(GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
