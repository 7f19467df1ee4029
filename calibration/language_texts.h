// Every text the calibration program shows, by key (1000 to 1101): the current language's text
// or the English default, and the choice of language.
#pragma once
#include <array>
#include <string>

#include "calibration/vcl/ini_file.h"

namespace cal {

// The texts by key; the number is the key's name in the language file.
enum class TextKey : int {
  ControllerFileNotFound = 1000,
  // The lever (section) names.
  Reverser = 1001,
  DynamicBrakeThrottle = 1002,
  AutoBrakeEmergencyBrake = 1003,
  IndependentBrakeBailOff = 1004,
  RotarySwitches = 1005,
  // Why the help could not be opened (also 1020 and 1021).
  FileNotFound = 1006,
  DirectoryNotFound = 1007,
  FileOrAppCorrupted = 1008,
  ExtensionNotRecognized = 1009,
  UnknownError = 1010,
  // Menu items and buttons.
  AboutItem = 1011,
  ContentsItem = 1012,
  BackButton = 1013,
  NextButton = 1014,
  CalibrateButton = 1015,
  HelpMenu = 1016,
  OkButton = 1017,
  CancelButton = 1018,
  // The head of the box when the help could not be opened.
  HelpNotOpened = 1019,
  OutOfMemory = 1020,
  HelpFileNotFound = 1021,
  // The other captions of Next and Calibrate.
  FinishButton = 1022,
  RecalibrateButton = 1023,
  // The wizard's pages, guidance and boxes.
  Welcome = 1024,
  PlugInThenNext = 1025,
  CalibrationOf = 1026,
  CalibrationCompleted = 1027,
  ContinueIncomplete = 1028,
  CalibrationSucceeded = 1029,
  CalibrationIncomplete = 1030,
  LeversNotCalibrated = 1031,
  BackToTheLever = 1032,
  UnitNotDetected = 1033,
  ErrorCaption = 1034,
  OutOfBounds = 1035,
  NextToCalibrate = 1036,
  NoValidDevices = 1037,
  RunLater = 1038,
  CloseUncalibrated = 1039,
  BackToCalibrate = 1040,
  Or = 1041,
  CloseKeepingPrevious = 1042,
  DiagnosticsHint = 1043,
  CloseOnFinishPage = 1044,
  HoldBailOff = 1045,
  CloseBeforeFinishPage = 1046,
  Wait = 1047,
  Done = 1048,
  ParkTheControls = 1049,
  FullCounterClockwise = 1050,
  // The instruction for each position.
  MoveReverserToReversed = 1051,
  MoveReverserToNeutral = 1052,
  MoveReverserToForward = 1053,
  MoveThrottleToFullThrottle = 1054,
  MoveThrottleToIdle = 1055,
  MoveThrottleToDynamicBrake = 1056,
  MoveThrottleToBrakeSetup = 1057,
  MoveAutoBrakeToReleased = 1058,
  MoveAutoBrakeToFull = 1059,
  MoveAutoBrakeToEmergency = 1060,
  MoveIndependentToReleased = 1061,
  MoveIndependentToFull = 1062,
  MoveIndependentToReleasedBailOff = 1063,
  MoveIndependentToFullBailOff = 1064,
  MoveSwitch1ToPosition1 = 1065,
  MoveSwitch1ToPosition2 = 1066,
  MoveSwitch1ToPosition3 = 1067,
  MoveSwitch2ToPosition1 = 1068,
  MoveSwitch2ToPosition2 = 1069,
  MoveSwitch2ToPosition3 = 1070,
  // The position labels and the rotary switches' titles.
  FullForward = 1071,
  Neutral = 1072,
  FullReversed = 1073,
  FullThrottle = 1074,
  DynamicBrakeSetup = 1075,
  ThrottleIdle = 1076,
  DynamicBrake = 1077,
  AutoBrakeReleased = 1078,
  FullAutoBrake = 1079,
  EmergencyBrake = 1080,
  IndependentBrakeReleased = 1081,
  IndependentBrakeFull = 1082,
  BailOffEngaged = 1083,
  PositionOff = 1084,
  Switch1PositionSlow = 1085,
  Switch1PositionFull = 1086,
  RotarySwitch1 = 1087,
  RotarySwitch2 = 1088,
  Switch2PositionDim = 1089,
  Switch2PositionFull = 1090,
  // More of the wizard's boxes and texts.
  CheckThePosition = 1091,
  DuplicateDevices = 1092,
  // The Language menu and its note.
  LanguageMenu = 1093,
  EnglishItem = 1094,
  FrenchItem = 1095,
  GermanItem = 1096,
  LanguageNote = 1097,
  // Unreadable unit and unwritable files.
  UnitNotRead = 1098,
  NotSaved = 1099,
  SavedInPart = 1100,
  MakeWritable = 1101,
};
constexpr TextKey kFirstTextKey = TextKey::ControllerFileNotFound;
constexpr TextKey kLastTextKey = TextKey::MakeWritable;
constexpr int kTextCount = static_cast<int>(kLastTextKey) - static_cast<int>(kFirstTextKey) + 1;
// Where a table has no text (the bail-off companions have no instruction or label).
constexpr TextKey kNoText{};

// The key as the language file names it: "1000" to "1101".
std::string KeyName(TextKey key);

// Languages by their primary language id.
constexpr int kGerman = 7;
constexpr int kEnglish = 9;
constexpr int kFrench = 12;

// The value the profile reads give for a missing key.
inline constexpr const char* kNoValue = "None";
inline constexpr const char* kLanguageFileName = "LCLanguage.ini";

const char* EnglishDefault(TextKey key);

class LanguageTexts {
 public:
  LanguageTexts();
  void SetDefaults();
  // kNoText (or any number outside 1000..1101) throws std::out_of_range.
  const std::string& operator[](TextKey key) const;
  void Set(TextKey key, std::string text);

 private:
  std::array<std::string, kTextCount> texts_;
};

// The language file's section for a language: "German", "French", else "English".
const char* LanguageSection(int language);
// German or French by the primary id (low 10 bits) of a language id, else English.
int LanguageFromInputLanguage(int languageId);

// Fills every key from the language's section of the file, the English default where the file
// has none. false when a read failed (those keys got their defaults).
bool LoadLanguageFile(const vcl::IniFile& file, int language, LanguageTexts& texts);

}  // namespace cal
