# libjpeg-turbo from Debian's source package, unpacked by tools/setup: the calibration program's
# pictures. Only the library itself, static, without the SIMD code (which needs an assembler).
set(JPEG_ROOT ${ORVANE_CACHE}/libjpeg-turbo-2.1.5)
if(NOT EXISTS ${JPEG_ROOT}/jdapimin.c)
  message(FATAL_ERROR "libjpeg-turbo source missing in ${JPEG_ROOT}: run tools/setup")
endif()
set(JPEG_CONFIG ${CMAKE_BINARY_DIR}/libjpeg-turbo-config)
# The size of size_t on the target (a native 32-bit build says so itself).
if(NOT JPEG_SIZE_T)
  set(JPEG_SIZE_T ${CMAKE_SIZEOF_VOID_P})
endif()
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
  set(SIZE_T ${JPEG_SIZE_T})
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
