// JPEG pictures decoded into plain pixels (libjpeg); no window code here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vcl {

struct PixelImage {
  int width = 0;
  int height = 0;
  // Rows top to bottom, 3 bytes per pixel in blue, green, red order, each row padded to 4
  // bytes (the layout of a 24-bit bottom-up DIB, read top-down).
  std::vector<std::uint8_t> bgr;
  int Stride() const { return (width * 3 + 3) & ~3; }
};

// false (with a reason) for anything that is not a decodable JPEG of sane size.
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, PixelImage& image, std::string* error = nullptr);

}  // namespace vcl
