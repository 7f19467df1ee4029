// Fuzz entry: JPEG decoding of the calibration program's pictures.
#include <cstddef>
#include <cstdint>

#include "calibration/vcl/jpeg_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vcl::PixelImage image;
  if (vcl::DecodeJpeg(data, size, image)) {
    if (image.bgr.size() != static_cast<size_t>(image.Stride()) * image.height) __builtin_trap();
  }
  return 0;
}
