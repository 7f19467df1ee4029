#pragma once
// The files that keep a saved clipboard, "ClipData%04x.bin": the first clipboard format's id
// (4 bytes, little-endian) and then that format's data. An empty file holds nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr std::size_t kClipDataHeaderBytes = 4;

// "ClipData%04x.bin" of the key (lower-case hex, at least four digits).
std::string ClipDataFileName(int key);
// The file's bytes for a format and its data.
std::vector<std::uint8_t> EncodeClipData(std::uint32_t format, const void* data,
                                         std::size_t size);
// The format and data length of a file of fileLength bytes whose first four bytes are given;
// false when the file holds nothing to restore (fewer than 5 bytes).
bool ClipDataLayout(const std::uint8_t* head, std::size_t fileLength, std::uint32_t& format,
                    std::size_t& dataLength);
