# AngelScript from Debian's source package, unpacked by tools/setup, with the scripts' array
# add-on. Shared by the main build and the native fuzz build (tests/fuzz/native).
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
  set(patch ${CMAKE_CURRENT_LIST_DIR}/patches/${patch})
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
