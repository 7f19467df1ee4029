#include "macros/model/onboard_protocol.h"

#include <algorithm>

namespace {

std::vector<std::uint8_t> Report(int outputLength, int needed, std::uint8_t command) {
  std::vector<std::uint8_t> report(static_cast<std::size_t>(std::max(outputLength, needed)), 0);
  report[0] = kMemoryOutputId;
  report[1] = command;
  return report;
}

void PutAddress(std::vector<std::uint8_t>& report, std::size_t at, int address) {
  report[at] = static_cast<std::uint8_t>(address & 0xFF);
  report[at + 1] = static_cast<std::uint8_t>((address >> 8) & 0xFF);
}

}  // namespace

std::vector<std::uint8_t> MemoryReadRequest(int outputLength, int start, int end) {
  std::vector<std::uint8_t> report = Report(outputLength, kMemoryReadReportLength, kMemoryReadCommand);
  PutAddress(report, 2, start);
  PutAddress(report, 4, end);
  return report;
}

std::vector<std::uint8_t> MemoryWriteReport(int outputLength, int offset,
                                            std::span<const std::uint8_t, kMemoryChunk> bytes) {
  std::vector<std::uint8_t> report = Report(outputLength, kMemoryWriteReportLength, kMemoryWriteCommand);
  PutAddress(report, 2, offset);
  std::copy(bytes.begin(), bytes.end(), report.begin() + 4);
  return report;
}

std::vector<std::uint8_t> MemoryEndReport(int outputLength) {
  return Report(outputLength, 2, kMemoryEndCommand);
}

MemoryReplies::MemoryReplies(int length)
    : bytes_(static_cast<std::size_t>(std::max(length, 0)), 0), arrived_(bytes_.size(), false) {}

bool MemoryReplies::Take(std::span<const std::uint8_t> reply) {
  if (reply.size() < 4 || reply[0] != kMemoryReplyId) return false;
  const std::size_t n = std::min<std::size_t>(reply[1], reply.size() - 4);
  const std::size_t offset = reply[2] | reply[3] << 8;
  if (offset + n > bytes_.size()) return false;
  std::copy_n(reply.begin() + 4, n, bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
  for (std::size_t i = offset; i < offset + n; ++i) {
    if (!arrived_[i]) ++received_;
    arrived_[i] = true;
  }
  return true;
}

std::vector<int> ChangedMemoryChunks(std::span<const std::uint8_t> image, std::span<const std::uint8_t> read,
                                     int length) {
  std::vector<int> offsets;
  for (int offset = 0; offset + kMemoryChunk <= length && offset + kMemoryChunk <= static_cast<int>(image.size());
       offset += kMemoryChunk) {
    const auto chunk = image.subspan(static_cast<std::size_t>(offset), kMemoryChunk);
    const bool same = static_cast<int>(read.size()) >= offset + kMemoryChunk &&
                      std::equal(chunk.begin(), chunk.end(), read.begin() + offset);
    if (!same) offsets.push_back(offset);
  }
  return offsets;
}
