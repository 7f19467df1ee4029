# AngelScript from Debian's source package, unpacked by tools/setup.
set(AS_ROOT ${ORVANE_CACHE}/angelscript-2.35.1/angelscript)
if(NOT EXISTS ${AS_ROOT}/source/as_scriptengine.cpp)
  message(FATAL_ERROR "AngelScript source missing in ${AS_ROOT}: run tools/setup")
endif()
file(GLOB AS_SOURCES ${AS_ROOT}/source/*.cpp)
# Our own changes to the library are patches applied to copies in the build tree; the unpacked
# source is shared by other builds and stays as it is.
set(AS_PATCHED ${CMAKE_BINARY_DIR}/angelscript-patched)
foreach(item "as_tokenizer.cpp|angelscript-hash-comments.patch")
  string(REPLACE "|" ";" item "${item}")
  list(GET item 0 file)
  list(GET item 1 patch)
  set(patch ${CMAKE_SOURCE_DIR}/cmake/patches/${patch})
  add_custom_command(OUTPUT ${AS_PATCHED}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${AS_ROOT}/source/${file} ${AS_PATCHED}/${file}.tmp
    COMMAND patch --batch --quiet --no-backup-if-mismatch -i ${patch} ${AS_PATCHED}/${file}.tmp
    COMMAND ${CMAKE_COMMAND} -E rename ${AS_PATCHED}/${file}.tmp ${AS_PATCHED}/${file}
    DEPENDS ${AS_ROOT}/source/${file} ${patch}
    COMMENT "Patching AngelScript ${file}")
  # The copy still includes the library's own headers beside the original.
  set_source_files_properties(${AS_PATCHED}/${file} PROPERTIES INCLUDE_DIRECTORIES ${AS_ROOT}/source)
  list(REMOVE_ITEM AS_SOURCES ${AS_ROOT}/source/${file})
  list(APPEND AS_SOURCES ${AS_PATCHED}/${file})
endforeach()
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

# libjpeg-turbo from Debian's source package, unpacked by tools/setup: the calibration program's
# pictures. Only the library itself, static, without the SIMD code (which needs an assembler).
set(JPEG_ROOT ${ORVANE_CACHE}/libjpeg-turbo-2.1.5)
if(NOT EXISTS ${JPEG_ROOT}/jdapimin.c)
  message(FATAL_ERROR "libjpeg-turbo source missing in ${JPEG_ROOT}: run tools/setup")
endif()
set(JPEG_CONFIG ${CMAKE_BINARY_DIR}/libjpeg-turbo-config)
function(orvane_jpeg_config)
  set(VERSION 2.1.5)
  set(LIBJPEG_TURBO_VERSION_NUMBER 2001005)
  set(JPEG_LIB_VERSION 62)
  set(BITS_IN_JSAMPLE 8)
  set(C_ARITH_CODING_SUPPORTED 1)
  set(D_ARITH_CODING_SUPPORTED 1)
  set(MEM_SRCDST_SUPPORTED 1)
  set(WITH_SIMD 0)
  set(RIGHT_SHIFT_IS_UNSIGNED 0)
  set(BUILD orvane)
  set(INLINE "__inline__ __attribute__((always_inline))")
  set(THREAD_LOCAL "__thread")
  set(CMAKE_PROJECT_NAME libjpeg-turbo)
  set(SIZE_T 4)
  set(HAVE_BUILTIN_CTZL 1)
  set(HAVE_INTRIN_H 0)
  set(COPYRIGHT_YEAR 2023)
  configure_file(${JPEG_ROOT}/jconfig.h.in ${JPEG_CONFIG}/jconfig.h)
  configure_file(${JPEG_ROOT}/jconfigint.h.in ${JPEG_CONFIG}/jconfigint.h)
  configure_file(${JPEG_ROOT}/jversion.h.in ${JPEG_CONFIG}/jversion.h)
endfunction()
orvane_jpeg_config()
set(JPEG_SOURCES jcapimin.c jcapistd.c jccoefct.c jccolor.c jcdctmgr.c jchuff.c
  jcicc.c jcinit.c jcmainct.c jcmarker.c jcmaster.c jcomapi.c jcparam.c
  jcphuff.c jcprepct.c jcsample.c jctrans.c jdapimin.c jdapistd.c jdatadst.c
  jdatasrc.c jdcoefct.c jdcolor.c jddctmgr.c jdhuff.c jdicc.c jdinput.c
  jdmainct.c jdmarker.c jdmaster.c jdmerge.c jdphuff.c jdpostct.c jdsample.c
  jdtrans.c jerror.c jfdctflt.c jfdctfst.c jfdctint.c jidctflt.c jidctfst.c
  jidctint.c jidctred.c jquant1.c jquant2.c jutils.c jmemmgr.c jmemnobs.c
  jaricom.c jcarith.c jdarith.c jsimd_none.c)
list(TRANSFORM JPEG_SOURCES PREPEND ${JPEG_ROOT}/)
add_library(jpeg STATIC ${JPEG_SOURCES})
target_include_directories(jpeg SYSTEM PUBLIC ${JPEG_CONFIG} ${JPEG_ROOT})
target_compile_options(jpeg PRIVATE -w)
