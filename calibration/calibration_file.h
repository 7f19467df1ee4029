// The calibration file ("ModernCalibration.lcm", "modern.lcm"): the calibrated range of every
// position, in lever blocks. Readers count its "Max" lines.
#pragma once
#include <array>
#include <string>

#include "calibration/positions.h"

namespace cal {

struct PositionRange {
  int min = 500;
  int max = 0;
};
using Ranges = std::array<PositionRange, kPositionCount>;
using LeverNames = std::array<std::string, kPositionCount>;

// Positions 0 to 19 start at 500/0 (nothing read yet), 20 and 21 at 0/0.
Ranges InitialRanges();

// The whole file, lines ended by a line feed.
std::string CalibrationFileText(const LeverNames& leverNames, const Ranges& ranges);

}  // namespace cal
