#pragma once
// Readings of the cab controller that the calibration tests hold it at. Header-only.

#include <cstdint>
#include <vector>

#include "calibration/positions.h"

// A reading of every report byte that puts each position well inside its bounds.
inline constexpr int kGoodReadings[cal::kPositionCount] = {200, 120, 40, 200, 120, 40, 100, 200, 90, 50, 200,
                                                           200, 50,  200, 60, 140, 200, 80, 130, 200, 80, 80};

// A report for position p: its byte reads v, the bail-off byte reads `companion` on 10 and 12.
inline std::vector<std::uint8_t> CabReport(int p, int v, bool marked = true, int companion = 80) {
  std::vector<std::uint8_t> r(16, 0);
  r[cal::Position(p).reportByte] = static_cast<std::uint8_t>(v);
  if (p == 10 || p == 12) r[5] = static_cast<std::uint8_t>(companion);
  r[cal::kVariantByte] = marked ? cal::kVariantMark : 0;
  return r;
}

// A reading just outside position p's bounds.
inline int OutOfBoundsReading(int p) {
  const int low = cal::Position(p).lowerBound;
  return low > 0 ? low - 1 : cal::UpperBound(p, true) + 1;
}
