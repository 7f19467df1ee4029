// Fuzz target: the preprocessor's lexer and printer, define parsing and expansion.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/preprocessor_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzPreprocessorLexer(data, size);
}
