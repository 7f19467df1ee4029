// Writing the calibration file.
#include "calibration/calibration_file.h"

namespace cal {

Ranges InitialRanges() {
  Ranges ranges{};
  ranges[kBailOffReleased] = {0, 0};
  ranges[kBailOffFull] = {0, 0};
  return ranges;
}

std::string CalibrationFileText(const LeverNames& leverNames, const Ranges& ranges) {
  std::string out = "Calibration\n{\n";
  for (const LeverBlock& block : LeverBlocks()) {
    out += " Lever   \"" + leverNames[block.namePosition] + "\"\n {\n";
    for (int i = 0; i < block.count; ++i) {
      const int p = block.positions[i];
      out += "  Position   \"" + std::string(Position(p).name) + "\"\n  {\n";
      out += "   Min   " + std::to_string(ranges[p].min) + "\n";
      out += "   Max   " + std::to_string(ranges[p].max) + "\n";
      out += "  }\n";
    }
    out += " }\n";
  }
  out += "}\n";
  return out;
}

}  // namespace cal
