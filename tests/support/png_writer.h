#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// An uncompressed (stored-deflate) PNG of 8-bit RGB pixels, rows top to bottom.
std::vector<std::uint8_t> EncodePngRgb(int width, int height, const std::vector<std::uint8_t>& rgb);

bool WriteBinaryFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace testsupport
