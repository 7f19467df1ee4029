#pragma once
// Readable input records in test failures.
#include <ostream>

#include "platform/base/input_records.h"

inline void PrintTo(const InputRecord& r, std::ostream* os) {
  *os << std::hex;
  if (r.kind == InputRecord::Kind::Keyboard)
    *os << "key{vk 0x" << r.virtualKey << ", scan 0x" << r.scanCode;
  else
    *os << "mouse{dx " << std::dec << r.dx << ", dy " << r.dy << std::hex << ", data 0x"
        << r.mouseData;
  *os << ", flags 0x" << r.flags << "}" << std::dec;
}
