// Fuzz target: a saved clipboard's file as arbitrary bytes. A file of more than the format id
// reads as that id and the rest, which written again give the same bytes; a shorter one reads
// as nothing to restore.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/functions/clip_data_file.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint32_t format = 1;
  std::size_t length = 1;
  if (!ClipDataLayout(data, size, format, length)) {
    Check(size <= kClipDataHeaderBytes && format == 0 && length == 0);
    return 0;
  }
  Check(size > kClipDataHeaderBytes && length == size - kClipDataHeaderBytes);
  const std::vector<std::uint8_t> written = EncodeClipData(format, data + kClipDataHeaderBytes, length);
  Check(written == std::vector<std::uint8_t>(data, data + size));
  // Only the first four bytes are read: the length alone tells the rest.
  std::uint32_t again = 0;
  Check(ClipDataLayout(data, size + 100, again, length) && again == format && length == size + 96);
  return 0;
}
