// Fuzz target: whole preprocessing runs over a root text and two include files.
// tools/fuzz check: 4000 runs (a run is a whole preprocessing run over three files).
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/preprocessor_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzScriptPreprocessor(data, size);
}
