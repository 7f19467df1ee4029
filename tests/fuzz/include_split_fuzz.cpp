// Fuzz target: splitting a combined text at its include markers; loading then splitting a file.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/preprocessor_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzIncludeSplit(data, size);
}
