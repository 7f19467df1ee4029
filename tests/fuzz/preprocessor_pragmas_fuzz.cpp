// Fuzz target: module pragmas registering library functions on a real engine.
// tools/fuzz check: 2000 runs (declarations are tried on scratch script engines).
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/preprocessor_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzPreprocessorPragmas(data, size);
}
