#include "runtime/functions/clip_data_file.h"

#include <cstdio>
#include <cstring>

std::string ClipDataFileName(int key) {
  char name[32];
  std::snprintf(name, sizeof name, "ClipData%04x.bin", static_cast<unsigned>(key));
  return name;
}

std::vector<std::uint8_t> EncodeClipData(std::uint32_t format, const void* data,
                                         std::size_t size) {
  std::vector<std::uint8_t> file(kClipDataHeaderBytes + size);
  for (std::size_t i = 0; i < kClipDataHeaderBytes; ++i)
    file[i] = static_cast<std::uint8_t>(format >> (8 * i));
  if (size) std::memcpy(file.data() + kClipDataHeaderBytes, data, size);
  return file;
}

bool ClipDataLayout(const std::uint8_t* head, std::size_t fileLength, std::uint32_t& format,
                    std::size_t& dataLength) {
  format = 0;
  dataLength = 0;
  if (!head || fileLength <= kClipDataHeaderBytes) return false;
  for (std::size_t i = 0; i < kClipDataHeaderBytes; ++i)
    format |= static_cast<std::uint32_t>(head[i]) << (8 * i);
  dataLength = fileLength - kClipDataHeaderBytes;
  return true;
}
