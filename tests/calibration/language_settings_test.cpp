// The language table, its file, the choice of language and the settings file.
#include <gtest/gtest.h>

#include "calibration/language_texts.h"
#include "calibration/settings_file.h"
#include "calibration/vcl/str.h"
#include "tests/calibration/fake_system.h"

using namespace cal;

namespace {

const std::string kIni = "C:\\prog\\LCLanguage.ini";
const std::string kDef = "C:\\prog\\Lococab.def";

TEST(LanguageTexts, EnglishDefaultsAsTheProgramShowsThem) {
  LanguageTexts t;
  EXPECT_EQ(t[TextKey::ControllerFileNotFound], "Error: ...controllerModernController.lcm file not found.");
  EXPECT_EQ(t[TextKey::Reverser], "Reverser");
  EXPECT_EQ(t[TextKey::CalibrationCompleted], " completed. Please click Next or Re-Calibrate to start again.");
  EXPECT_EQ(t[TextKey::Or], " OR");
  EXPECT_EQ(t[TextKey::HoldBailOff], "Make sure the Bail Off is held in place(pushed right) for the complete calibration (approximately 3 seconds).");
  EXPECT_EQ(t[TextKey::CheckThePosition], " Make sure the lever or switch is in the correct position then click Calibrate.");
  EXPECT_EQ(t[TextKey::LanguageNote], "Changing this language setting will NOT affect the game(Microsoft Train Simulator) language setting.");
  EXPECT_EQ(t[TextKey::UnitNotRead], "Lococab unit could not be read.  Please make sure your Lococab unit is connected to a USB port and click Calibrate again.");
  EXPECT_EQ(t[TextKey::NotSaved], "The calibration could not be saved.  The following file(s) could not be written.");
  EXPECT_EQ(t[TextKey::SavedInPart], "The calibration was saved, but the following file(s) could not be written.");
  EXPECT_EQ(t[TextKey::MakeWritable], "Make sure these files can be written, then click Finish again.");
  EXPECT_THROW(t[static_cast<TextKey>(999)], std::out_of_range);
  EXPECT_THROW(t[static_cast<TextKey>(1102)], std::out_of_range);
}

// The language file names each key by its number.
TEST(LanguageTexts, KeysAreNamedByTheirNumbers) {
  const std::pair<TextKey, const char*> cases[] = {
      {TextKey::ControllerFileNotFound, "1000"}, {TextKey::Reverser, "1001"}, {TextKey::Welcome, "1024"},
      {TextKey::MoveReverserToReversed, "1051"}, {TextKey::FullForward, "1071"}, {TextKey::LanguageNote, "1097"},
      {TextKey::MakeWritable, "1101"},
  };
  for (auto [key, name] : cases) EXPECT_EQ(KeyName(key), name);
  EXPECT_THROW(LanguageTexts()[kNoText], std::out_of_range);
  EXPECT_THROW(EnglishDefault(kNoText), std::out_of_range);
}

TEST(LanguageTexts, TheFileReplacesOnlyTheKeysItHasInTheLanguagesSection) {
  FakeSystem system;
  system.profiles[{kIni, "German", "1001"}] = "Fahrtrichtungsschalter";
  system.profiles[{kIni, "English", "1002"}] = "Throttle (file)";
  system.profiles[{kIni, "French", "1003"}] = "Frein automatique";
  const vcl::IniFile file(system, kIni);
  LanguageTexts t;
  ASSERT_TRUE(LoadLanguageFile(file, kGerman, t));
  EXPECT_EQ(t[TextKey::Reverser], "Fahrtrichtungsschalter");
  EXPECT_EQ(t[TextKey::DynamicBrakeThrottle], "Dynamic Brake/Throttle");
  ASSERT_TRUE(LoadLanguageFile(file, kEnglish, t));
  EXPECT_EQ(t[TextKey::Reverser], "Reverser") << "a text of another language does not stay";
  EXPECT_EQ(t[TextKey::DynamicBrakeThrottle], "Throttle (file)");
  ASSERT_TRUE(LoadLanguageFile(file, 1033, t)) << "any other number reads the English section";
  EXPECT_EQ(t[TextKey::DynamicBrakeThrottle], "Throttle (file)");
  ASSERT_TRUE(LoadLanguageFile(file, kFrench, t));
  EXPECT_EQ(t[TextKey::AutoBrakeEmergencyBrake], "Frein automatique");
  // "None" is the value of a missing key, so it cannot be a text.
  system.profiles[{kIni, "French", "1004"}] = "None";
  ASSERT_TRUE(LoadLanguageFile(file, kFrench, t));
  EXPECT_EQ(t[TextKey::IndependentBrakeBailOff], "Independent Brake/Bail Off");
}

TEST(LanguageTexts, AFailedReadKeepsTheDefaultAndIsReported) {
  FakeSystem system;
  system.profiles[{kIni, "German", "1002"}] = "Fahrschalter";
  system.failProfileKey = "1001";
  LanguageTexts t;
  EXPECT_FALSE(LoadLanguageFile(vcl::IniFile(system, kIni), kGerman, t));
  EXPECT_EQ(t[TextKey::Reverser], "Reverser");
  EXPECT_EQ(t[TextKey::DynamicBrakeThrottle], "Fahrschalter");
}

TEST(Language, ChosenByThePrimaryIdOfTheInputLanguage) {
  const std::pair<int, int> cases[] = {
      {0x0407, kGerman}, {0x0807, kGerman}, {0x040C, kFrench}, {0x0C0C, kFrench},
      {0x0409, kEnglish}, {0x0427, kEnglish}, {0x0000, kEnglish}, {0x0007, kGerman},
  };
  for (auto [id, language] : cases) EXPECT_EQ(LanguageFromInputLanguage(id), language) << id;
}

TEST(Settings, TheFirstStartStoresTheLanguageOfTheInputLanguage) {
  FakeSystem system;
  vcl::IniFile settings(system, kDef);
  system.inputLanguage = 0x040C;
  EXPECT_EQ(InitLanguage(settings, system), kFrench);
  EXPECT_EQ((system.profiles[{kDef, "", "PrefLangID"}]), "12");
  system.inputLanguage = 0x0407;
  EXPECT_EQ(InitLanguage(settings, system), kFrench) << "a stored language wins";
  system.profiles[{kDef, "", "PrefLangID"}] = "1033";
  EXPECT_EQ(InitLanguage(settings, system), 1033);
  system.profiles[{kDef, "", "PrefLangID"}] = "abc";
  try {
    InitLanguage(settings, system);
    FAIL() << "a stored language that is not a number stops the start";
  } catch (const vcl::ConvertError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
  }
}

TEST(Settings, CalibratedFlagAndDateOfTheDevice) {
  FakeSystem system;
  vcl::IniFile settings(system, kDef);
  EXPECT_EQ(ReadCalibratedFlag(settings, 0xD2), 0);
  WriteCalibratedFlag(settings, 0xD2, 1, "3/5/2024");
  EXPECT_EQ((system.profiles[{kDef, "", "00D2Calibrated"}]), "1");
  EXPECT_EQ((system.profiles[{kDef, "", "00D2Calibration Date"}]), "3/5/2024");
  EXPECT_EQ(ReadCalibratedFlag(settings, 0xD2), 1);
  EXPECT_EQ(ReadCalibratedFlag(settings, 0x1A), 0);
  system.profiles[{kDef, "", "00D2Calibrated"}] = "7";
  EXPECT_EQ(ReadCalibratedFlag(settings, 0xD2), 7);
  system.profiles[{kDef, "", "00D2Calibrated"}] = "yes";
  EXPECT_EQ(ReadCalibratedFlag(settings, 0xD2), 0) << "a damaged value is no calibration";
}

TEST(Str, RunTimeLibraryHelpers) {
  EXPECT_EQ(vcl::Trim(" \t\r\n a b \x01"), "a b");
  EXPECT_EQ(vcl::Trim("   "), "");
  EXPECT_EQ(vcl::UpperCase("byte1,\xe4x"), "BYTE1,\xe4X");
  EXPECT_EQ(vcl::IntToHex(210, 4), "00D2");
  EXPECT_EQ(vcl::IntToHex(12, 4), "000C");
  EXPECT_EQ(vcl::IntToHex(0x12345, 4), "12345");
  const std::pair<const char*, int> good[] = {
      {"9", 9}, {" 12 ", 12}, {"-7", -7}, {"+3", 3}, {"$1F", 31}, {"0x10", 16},
      {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"$FFFFFFFF", -1},
  };
  for (auto [text, value] : good) EXPECT_EQ(vcl::StrToInt(text), value) << text;
  for (const char* bad : {"", " ", "abc", "1x", "2147483648", "-", "$", "0x", "1 2", "$100000000"})
    EXPECT_THROW(vcl::StrToInt(bad), vcl::ConvertError) << bad;
  EXPECT_EQ(vcl::StrToIntDef("x", -5), -5);
}

}  // namespace
