// The controller definition "ModernController.lcm": its input rows are read at start-up and
// the file is rewritten at the end with input ranges derived from the calibration.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calibration/calibration_file.h"

namespace cal {

inline constexpr const char* kControllerFileName = "ModernController.lcm";
inline constexpr const char* kCalibrationFileName = "ModernCalibration.lcm";

constexpr int kMaxControllerRows = 65;  // read
constexpr int kWrittenRows = 61;        // written
constexpr int kRangedRows = 17;         // written with MIN, MAX and ERR

struct ControllerRow {
  std::string a, b, name;
  int min = 0, max = 0, err = 0;
};

// Collects the "BYTE" rows of the file, line by line as the 256-byte line buffer gives them.
class ControllerFileReader {
 public:
  // One piece of at most 255 characters as fgets gives it (it may hold line ends).
  void AddPiece(std::string_view piece);
  const std::vector<ControllerRow>& Rows() const { return rows_; }

 private:
  void AddLine(std::string_view line);
  std::vector<ControllerRow> rows_;
};

// The rows of a whole text (as read in text mode), in 255-character pieces like the file read.
std::vector<ControllerRow> ParseControllerText(std::string_view text);
// false when the file cannot be opened (rows untouched).
bool ReadControllerFile(const std::string& path, std::vector<ControllerRow>& rows);

struct RowRange {
  int min = 0;
  int max = 0;
};
// MIN and MAX of input rows 0 to 16, derived from the calibrated positions.
std::array<RowRange, kRangedRows> ComputeRowRanges(const Ranges& ranges);

// The new definition: rows 0 to 16 with the derived ranges and ERR=2 (marked controller) or
// ERR=0, rows 17 to 60 with their names only. No line feed after the final "END".
std::string ControllerFileText(const std::vector<ControllerRow>& rows, const Ranges& ranges,
                               bool marked);

}  // namespace cal
