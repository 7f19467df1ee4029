#pragma once
// The "Max" lines of the calibration program's file, which scripts read back as calibrated
// ranges. Plain text rules, apart from the file's place in the device folder.

#include <string_view>

// The number after a leading "Max" word (the decimal number after "Max" and one more
// character, leading blanks skipped), or false for any other line.
bool MaxLineValue(std::string_view line, int& value);

// The value on the pos-th "Max" line (from 1) of a calibration file, its lines read as a
// 500-byte line buffer sees them. -1 when pos is below 1 or the file has fewer such lines.
int CalibratedMaxValue(std::string_view fileText, int pos);
