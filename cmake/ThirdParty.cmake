include(${CMAKE_CURRENT_LIST_DIR}/AngelScript.cmake)

# GoogleTest from the sources Debian's googletest package installs.
set(GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(${CMAKE_CURRENT_LIST_DIR}/Jpeg.cmake)
