// The language table: English defaults of every text key, and loading a language's texts.
#include "calibration/language_texts.h"

#include <stdexcept>

namespace cal {

namespace {

struct DefaultText {
  int key;
  const char* text;
};

constexpr DefaultText kEnglishTexts[kTextCount] = {
    {1000, "Error: ...controllerModernController.lcm file not found."},
    {1001, "Reverser"},
    {1002, "Dynamic Brake/Throttle"},
    {1003, "Auto Brake/Emergency Brake"},
    {1004, "Independent Brake/Bail Off"},
    {1005, "3 Position Rotary Switches"},
    {1006, "File not found"},
    {1007, "Directory not found"},
    {1008, "File or associated app corrupted"},
    {1009, "Windows does not recognize the file extension"},
    {1010, "Unknown error"},
    {1011, "&About"},
    {1012, "&Contents"},
    {1013, "&Back"},
    {1014, "&Next"},
    {1015, "&Calibrate"},
    {1016, "&Help"},
    {1017, "&OK"},
    {1018, "&Cancel"},
    {1019, "Opening help file failed -"},
    {1020, "Out of memory or resources"},
    {1021, "File not found"},
    {1022, "&Finish"},
    {1023, "&Re-Calibrate"},
    {1024, "Welcome to the Lococab Calibration Setup.  This application will guide you through the calibration of your Lococab unit. Lococab Calibration Setup needs to be run once for proper function of the unit. It can however be run at any time."},
    {1025, "At this point please make sure your Lococab unit is plugged into a USB port then click the Next button to begin the calibration process."},
    {1026, "Calibration of"},
    {1027, " completed. Please click Next or Re-Calibrate to start again."},
    {1028, "incomplete, do you wish to continue calibrating this control? Click Yes to continue calibration of this control. Click No to proceed without complete calibration."},
    {1029, "Your Lococab unit has been successfully calibrated!  Click the Finish button to complete the process."},
    {1030, "Calibration of your Lococab unit was incomplete.  Proper calibration is necessary for optimal performance."},
    {1031, "The following lever(s) were not completely calibrated."},
    {1032, "Click the Back button to return to the desired lever and calibrate."},
    {1033, "Lococab unit not detected.  Please connect your Lococab unit to an available USB port and restart the calibration."},
    {1034, "Error"},
    {1035, "Calibration results out of bounds."},
    {1036, "Click Next to calibrate the"},
    {1037, "No valid devices detected"},
    {1038, "Lococab Calibration Setup may be run at a later date by selecting LCcalibration from the Start->Programs->Lococab menu."},
    {1039, "Calibration is incomplete.  Click OK to exit the calibration process or Cancel to continue."},
    {1040, "Click Back to calibrate the"},
    {1041, " OR"},
    {1042, "Present calibration was unsuccessful.  Click OK to exit the calibration process and keep the previous successful calibration values or Cancel to continue."},
    {1043, "Hide diagnostics by clicking on the version in the About box."},
    {1044, "Calibration was successful.  The Finish button must be clicked to accept the new calibration values. Click OK to exit the calibration process and keep the previous successful calibration values or Cancel to continue and click Finish."},
    {1045, "Make sure the Bail Off is held in place(pushed right) for the complete calibration (approximately 3 seconds)."},
    {1046, "Calibration was successful.  The Finish button must be clicked to accept the new calibration values. Click OK to exit the calibration process and keep the previous successful calibration values or Cancel to navigate (using Next) to the Finish page and click Finish."},
    {1047, "Wait"},
    {1048, "Done"},
    {1049, "Now please move the controls to their safe parked state as listed below:"},
    {1050, "(full counter clockwise)"},
    {1051, "Move Reverser lever to the fully reversed position then click Calibrate."},
    {1052, "Move Reverser lever to the neutral position then click Calibrate."},
    {1053, "Move Reverser lever to the fully forward position then click Calibrate."},
    {1054, "Move Dynamic Brake/Throttle lever down to Full Throttle then click Calibrate."},
    {1055, "Move Dynamic Brake/Throttle lever up to Throttle Idle then click Calibrate."},
    {1056, "Move Dynamic Brake/Throttle lever up to Dynamic Brake then click Calibrate."},
    {1057, "Move Dynamic Brake/Throttle lever down to Dynamic Brake Setup then click Calibrate."},
    {1058, "Move Auto Brake/Emergency Brake lever to Auto Brake Released then click Calibrate."},
    {1059, "Move Auto Brake/Emergency Brake lever to Full Auto Brake (lever should stop at detent) then click Calibrate."},
    {1060, "Move Auto Brake/Emergency Brake lever to the Emergency Brake (push through detent) then click Calibrate."},
    {1061, "Move Independent Brake lever to Independent Brake Released then click Calibrate."},
    {1062, "Move Independent Brake lever to Independent Brake Full then click Calibrate."},
    {1063, "Move Independent Brake lever to Independent Brake Released AND push lever right.  Hold in position then click Calibrate maintaining this position through entire calibration (approximately 3 seconds)."},
    {1064, "Move Independent Brake lever to Independent Brake Full AND push lever right.  Hold in position then click Calibrate maintaining this position through entire calibration (approximately 3 seconds)."},
    {1065, "Move Rotary Switch 1 to Position 1 then click Calibrate."},
    {1066, "Move Rotary Switch 1 to Position 2 then click Calibrate."},
    {1067, "Move Rotary Switch 1 to Position 3 then click Calibrate."},
    {1068, "Move Rotary Switch 2 to Position 1 then click Calibrate."},
    {1069, "Move Rotary Switch 2 to Position 2 then click Calibrate."},
    {1070, "Move Rotary Switch 2 to Position 3 then click Calibrate."},
    {1071, "Full Forward"},
    {1072, "Neutral"},
    {1073, "Full Reversed"},
    {1074, "Full Throttle"},
    {1075, "Dynamic Brake Setup"},
    {1076, "Throttle Idle"},
    {1077, "Dynamic Brake"},
    {1078, "Auto Brake Released"},
    {1079, "Full Auto Brake (CS)"},
    {1080, "Emergency Brake (EMG)"},
    {1081, "Independent Brake Released"},
    {1082, "Independent Brake Full"},
    {1083, "Bail Off Engaged"},
    {1084, "Position 1 (OFF)"},
    {1085, "Position 2 (SLOW)"},
    {1086, "Position 3 (FULL)"},
    {1087, "Rotary Switch 1"},
    {1088, "Rotary Switch 2"},
    {1089, "Position 2 (DIM)"},
    {1090, "Position 3 (FULL)"},
    {1091, " Make sure the lever or switch is in the correct position then click Calibrate."},
    {1092, "Duplicate devices detected.  Please connect only ONE Lococab unit."},
    {1093, "&Language"},
    {1094, "&English"},
    {1095, "&French"},
    {1096, "&German"},
    {1097, "Changing this language setting will NOT affect the game(Microsoft Train Simulator) language setting."},
    // Said when no reading came while a position was sampled, and when Finish could not write.
    {1098, "Lococab unit could not be read.  Please make sure your Lococab unit is connected to a USB port and click Calibrate again."},
    {1099, "The calibration could not be saved.  The following file(s) could not be written."},
    {1100, "The calibration was saved, but the following file(s) could not be written."},
    {1101, "Make sure these files can be written, then click Finish again."},
};

}  // namespace

const char* EnglishDefault(int key) { return kEnglishTexts[key - kFirstTextKey].text; }

LanguageTexts::LanguageTexts() { SetDefaults(); }

void LanguageTexts::SetDefaults() {
  for (int i = 0; i < kTextCount; ++i) texts_[i] = kEnglishTexts[i].text;
}

const std::string& LanguageTexts::operator[](int key) const {
  if (key < kFirstTextKey || key > kLastTextKey) throw std::out_of_range("text key");
  return texts_[key - kFirstTextKey];
}

void LanguageTexts::Set(int key, std::string text) {
  if (key < kFirstTextKey || key > kLastTextKey) throw std::out_of_range("text key");
  texts_[key - kFirstTextKey] = std::move(text);
}

const char* LanguageSection(int language) {
  return language == kGerman ? "German" : language == kFrench ? "French" : "English";
}

int LanguageFromInputLanguage(int languageId) {
  const int primary = languageId & 0x3FF;
  return primary == kGerman ? kGerman : primary == kFrench ? kFrench : kEnglish;
}

bool LoadLanguageFile(const vcl::IniFile& file, int language, LanguageTexts& texts) {
  const std::string section = LanguageSection(language);
  bool failed = false;
  for (int key = kFirstTextKey; key <= kLastTextKey; ++key) {
    std::string value;
    try {
      value = file.ReadString(section, std::to_string(key), kNoValue);
    } catch (const std::exception&) {
      value = kNoValue;
      failed = true;
    }
    texts.Set(key, value != kNoValue ? value : std::string(EnglishDefault(key)));
  }
  return !failed;
}

}  // namespace cal
