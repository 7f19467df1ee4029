// "Lococab.def" beside the program: the preferred language, and per device type whether (and
// when) it was calibrated. One section with the empty name.
#pragma once
#include <string>

#include "calibration/vcl/ini_file.h"
#include "calibration/vcl/system.h"

namespace cal {

inline constexpr const char* kSettingsFileName = "Lococab.def";

// The stored language. Without one, the language of the system's default input language,
// which is then stored. A stored value that is not a number throws vcl::ConvertError.
int InitLanguage(vcl::IniFile& settings, vcl::System& system);
void WritePreferredLanguage(vcl::IniFile& settings, int language);

// "<PID as 4 hex digits>Calibrated": the calibrated value; 0 when absent or not a number.
int ReadCalibratedFlag(const vcl::IniFile& settings, int productId);
// Stores the value and the date ("<PID>Calibration Date").
void WriteCalibratedFlag(vcl::IniFile& settings, int productId, int value,
                         const std::string& date);

}  // namespace cal
