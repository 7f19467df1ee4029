#pragma once
// The output and input reports that read and write a keypad's on-board memory:
//   read:    2, 0xBF, start, end (exclusive)    replies: 3, count, offset, the data
//   write:   2, 0xBC, offset, four bytes        end of writing: 2, 0xBE
// (addresses two bytes, low first; the rest of a report 0). And the collection of the replies.

#include <cstdint>
#include <span>
#include <vector>

inline constexpr std::uint8_t kMemoryOutputId = 2;
inline constexpr std::uint8_t kMemoryReadCommand = 0xBF;
inline constexpr std::uint8_t kMemoryReplyId = 3;
inline constexpr std::uint8_t kMemoryWriteCommand = 0xBC;
inline constexpr std::uint8_t kMemoryEndCommand = 0xBE;
inline constexpr int kMemoryChunk = 4;
// The bytes of an output report that the read request and a write need.
inline constexpr int kMemoryReadReportLength = 6;
inline constexpr int kMemoryWriteReportLength = 4 + kMemoryChunk;

// Reports of the device's output length (at least the length the command needs).
std::vector<std::uint8_t> MemoryReadRequest(int outputLength, int start, int end);
std::vector<std::uint8_t> MemoryWriteReport(int outputLength, int offset, std::span<const std::uint8_t, kMemoryChunk> bytes);
std::vector<std::uint8_t> MemoryEndReport(int outputLength);

// The memory from 0 to length as the replies bring it. A reply gives no more data than its
// report holds, one that would end past the memory is left out, and bytes count once however
// often replies repeat them.
class MemoryReplies {
 public:
  explicit MemoryReplies(int length);
  // True when the reply was one of the memory's.
  bool Take(std::span<const std::uint8_t> reply);
  int Received() const { return received_; }
  bool Complete() const { return received_ == static_cast<int>(bytes_.size()); }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::vector<bool> arrived_;
  int received_ = 0;
};

// Offsets of the chunks of the image's first `length` bytes to write: those that differ from the
// memory as last read, every one when it was not read.
std::vector<int> ChangedMemoryChunks(std::span<const std::uint8_t> image, std::span<const std::uint8_t> read,
                                     int length);
