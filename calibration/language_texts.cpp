// The language table: English defaults of every text key, and loading a language's texts.
#include "calibration/language_texts.h"

#include <stdexcept>

namespace cal {

namespace {

struct DefaultText {
  TextKey key;
  const char* text;
};

using enum TextKey;

constexpr DefaultText kEnglishTexts[kTextCount] = {
    {ControllerFileNotFound, "Error: ...controllerModernController.lcm file not found."},
    {Reverser, "Reverser"},
    {DynamicBrakeThrottle, "Dynamic Brake/Throttle"},
    {AutoBrakeEmergencyBrake, "Auto Brake/Emergency Brake"},
    {IndependentBrakeBailOff, "Independent Brake/Bail Off"},
    {RotarySwitches, "3 Position Rotary Switches"},
    {FileNotFound, "File not found"},
    {DirectoryNotFound, "Directory not found"},
    {FileOrAppCorrupted, "File or associated app corrupted"},
    {ExtensionNotRecognized, "Windows does not recognize the file extension"},
    {UnknownError, "Unknown error"},
    {AboutItem, "&About"},
    {ContentsItem, "&Contents"},
    {BackButton, "&Back"},
    {NextButton, "&Next"},
    {CalibrateButton, "&Calibrate"},
    {HelpMenu, "&Help"},
    {OkButton, "&OK"},
    {CancelButton, "&Cancel"},
    {HelpNotOpened, "Opening help file failed -"},
    {OutOfMemory, "Out of memory or resources"},
    {HelpFileNotFound, "File not found"},
    {FinishButton, "&Finish"},
    {RecalibrateButton, "&Re-Calibrate"},
    {Welcome, "Welcome to the Lococab Calibration Setup.  This application will guide you through the calibration of your Lococab unit. Lococab Calibration Setup needs to be run once for proper function of the unit. It can however be run at any time."},
    {PlugInThenNext, "At this point please make sure your Lococab unit is plugged into a USB port then click the Next button to begin the calibration process."},
    {CalibrationOf, "Calibration of"},
    {CalibrationCompleted, " completed. Please click Next or Re-Calibrate to start again."},
    {ContinueIncomplete, "incomplete, do you wish to continue calibrating this control? Click Yes to continue calibration of this control. Click No to proceed without complete calibration."},
    {CalibrationSucceeded, "Your Lococab unit has been successfully calibrated!  Click the Finish button to complete the process."},
    {CalibrationIncomplete, "Calibration of your Lococab unit was incomplete.  Proper calibration is necessary for optimal performance."},
    {LeversNotCalibrated, "The following lever(s) were not completely calibrated."},
    {BackToTheLever, "Click the Back button to return to the desired lever and calibrate."},
    {UnitNotDetected, "Lococab unit not detected.  Please connect your Lococab unit to an available USB port and restart the calibration."},
    {ErrorCaption, "Error"},
    {OutOfBounds, "Calibration results out of bounds."},
    {NextToCalibrate, "Click Next to calibrate the"},
    {NoValidDevices, "No valid devices detected"},
    {RunLater, "Lococab Calibration Setup may be run at a later date by selecting LCcalibration from the Start->Programs->Lococab menu."},
    {CloseUncalibrated, "Calibration is incomplete.  Click OK to exit the calibration process or Cancel to continue."},
    {BackToCalibrate, "Click Back to calibrate the"},
    {Or, " OR"},
    {CloseKeepingPrevious, "Present calibration was unsuccessful.  Click OK to exit the calibration process and keep the previous successful calibration values or Cancel to continue."},
    {DiagnosticsHint, "Hide diagnostics by clicking on the version in the About box."},
    {CloseOnFinishPage, "Calibration was successful.  The Finish button must be clicked to accept the new calibration values. Click OK to exit the calibration process and keep the previous successful calibration values or Cancel to continue and click Finish."},
    {HoldBailOff, "Make sure the Bail Off is held in place(pushed right) for the complete calibration (approximately 3 seconds)."},
    {CloseBeforeFinishPage, "Calibration was successful.  The Finish button must be clicked to accept the new calibration values. Click OK to exit the calibration process and keep the previous successful calibration values or Cancel to navigate (using Next) to the Finish page and click Finish."},
    {Wait, "Wait"},
    {Done, "Done"},
    {ParkTheControls, "Now please move the controls to their safe parked state as listed below:"},
    {FullCounterClockwise, "(full counter clockwise)"},
    {MoveReverserToReversed, "Move Reverser lever to the fully reversed position then click Calibrate."},
    {MoveReverserToNeutral, "Move Reverser lever to the neutral position then click Calibrate."},
    {MoveReverserToForward, "Move Reverser lever to the fully forward position then click Calibrate."},
    {MoveThrottleToFullThrottle, "Move Dynamic Brake/Throttle lever down to Full Throttle then click Calibrate."},
    {MoveThrottleToIdle, "Move Dynamic Brake/Throttle lever up to Throttle Idle then click Calibrate."},
    {MoveThrottleToDynamicBrake, "Move Dynamic Brake/Throttle lever up to Dynamic Brake then click Calibrate."},
    {MoveThrottleToBrakeSetup, "Move Dynamic Brake/Throttle lever down to Dynamic Brake Setup then click Calibrate."},
    {MoveAutoBrakeToReleased, "Move Auto Brake/Emergency Brake lever to Auto Brake Released then click Calibrate."},
    {MoveAutoBrakeToFull, "Move Auto Brake/Emergency Brake lever to Full Auto Brake (lever should stop at detent) then click Calibrate."},
    {MoveAutoBrakeToEmergency, "Move Auto Brake/Emergency Brake lever to the Emergency Brake (push through detent) then click Calibrate."},
    {MoveIndependentToReleased, "Move Independent Brake lever to Independent Brake Released then click Calibrate."},
    {MoveIndependentToFull, "Move Independent Brake lever to Independent Brake Full then click Calibrate."},
    {MoveIndependentToReleasedBailOff, "Move Independent Brake lever to Independent Brake Released AND push lever right.  Hold in position then click Calibrate maintaining this position through entire calibration (approximately 3 seconds)."},
    {MoveIndependentToFullBailOff, "Move Independent Brake lever to Independent Brake Full AND push lever right.  Hold in position then click Calibrate maintaining this position through entire calibration (approximately 3 seconds)."},
    {MoveSwitch1ToPosition1, "Move Rotary Switch 1 to Position 1 then click Calibrate."},
    {MoveSwitch1ToPosition2, "Move Rotary Switch 1 to Position 2 then click Calibrate."},
    {MoveSwitch1ToPosition3, "Move Rotary Switch 1 to Position 3 then click Calibrate."},
    {MoveSwitch2ToPosition1, "Move Rotary Switch 2 to Position 1 then click Calibrate."},
    {MoveSwitch2ToPosition2, "Move Rotary Switch 2 to Position 2 then click Calibrate."},
    {MoveSwitch2ToPosition3, "Move Rotary Switch 2 to Position 3 then click Calibrate."},
    {FullForward, "Full Forward"},
    {Neutral, "Neutral"},
    {FullReversed, "Full Reversed"},
    {FullThrottle, "Full Throttle"},
    {DynamicBrakeSetup, "Dynamic Brake Setup"},
    {ThrottleIdle, "Throttle Idle"},
    {DynamicBrake, "Dynamic Brake"},
    {AutoBrakeReleased, "Auto Brake Released"},
    {FullAutoBrake, "Full Auto Brake (CS)"},
    {EmergencyBrake, "Emergency Brake (EMG)"},
    {IndependentBrakeReleased, "Independent Brake Released"},
    {IndependentBrakeFull, "Independent Brake Full"},
    {BailOffEngaged, "Bail Off Engaged"},
    {PositionOff, "Position 1 (OFF)"},
    {Switch1PositionSlow, "Position 2 (SLOW)"},
    {Switch1PositionFull, "Position 3 (FULL)"},
    {RotarySwitch1, "Rotary Switch 1"},
    {RotarySwitch2, "Rotary Switch 2"},
    {Switch2PositionDim, "Position 2 (DIM)"},
    {Switch2PositionFull, "Position 3 (FULL)"},
    {CheckThePosition, " Make sure the lever or switch is in the correct position then click Calibrate."},
    {DuplicateDevices, "Duplicate devices detected.  Please connect only ONE Lococab unit."},
    {LanguageMenu, "&Language"},
    {EnglishItem, "&English"},
    {FrenchItem, "&French"},
    {GermanItem, "&German"},
    {LanguageNote, "Changing this language setting will NOT affect the game(Microsoft Train Simulator) language setting."},
    // Said when no reading came while a position was sampled, and when Finish could not write.
    {UnitNotRead, "Lococab unit could not be read.  Please make sure your Lococab unit is connected to a USB port and click Calibrate again."},
    {NotSaved, "The calibration could not be saved.  The following file(s) could not be written."},
    {SavedInPart, "The calibration was saved, but the following file(s) could not be written."},
    {MakeWritable, "Make sure these files can be written, then click Finish again."},
};

// Every key once, in order, so that a key's index is its number less the first.
constexpr bool InKeyOrder() {
  for (int i = 0; i < kTextCount; ++i)
    if (static_cast<int>(kEnglishTexts[i].key) != static_cast<int>(kFirstTextKey) + i) return false;
  return true;
}
static_assert(InKeyOrder());

// The index of a key in the tables; keys outside them throw std::out_of_range.
int IndexOf(TextKey key) {
  const int index = static_cast<int>(key) - static_cast<int>(kFirstTextKey);
  if (index < 0 || index >= kTextCount) throw std::out_of_range("text key");
  return index;
}

}  // namespace

std::string KeyName(TextKey key) { return std::to_string(static_cast<int>(key)); }

const char* EnglishDefault(TextKey key) { return kEnglishTexts[IndexOf(key)].text; }

LanguageTexts::LanguageTexts() { SetDefaults(); }

void LanguageTexts::SetDefaults() {
  for (int i = 0; i < kTextCount; ++i) texts_[i] = kEnglishTexts[i].text;
}

const std::string& LanguageTexts::operator[](TextKey key) const { return texts_[IndexOf(key)]; }

void LanguageTexts::Set(TextKey key, std::string text) { texts_[IndexOf(key)] = std::move(text); }

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
  for (const DefaultText& entry : kEnglishTexts) {
    const TextKey key = entry.key;
    std::string value;
    try {
      value = file.ReadString(section, KeyName(key), kNoValue);
    } catch (const std::exception&) {
      value = kNoValue;
      failed = true;
    }
    texts.Set(key, value != kNoValue ? value : std::string(entry.text));
  }
  return !failed;
}

}  // namespace cal
