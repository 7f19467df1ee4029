// Every text the calibration program shows, by key (1000 to 1101): the current language's text
// or the English default, and the choice of language.
#pragma once
#include <array>
#include <string>

#include "calibration/vcl/ini_file.h"

namespace cal {

constexpr int kFirstTextKey = 1000;
constexpr int kLastTextKey = 1101;
constexpr int kTextCount = kLastTextKey - kFirstTextKey + 1;

// Languages by their primary language id.
constexpr int kGerman = 7;
constexpr int kEnglish = 9;
constexpr int kFrench = 12;

// The value the profile reads give for a missing key.
inline constexpr const char* kNoValue = "None";
inline constexpr const char* kLanguageFileName = "LCLanguage.ini";

const char* EnglishDefault(int key);

class LanguageTexts {
 public:
  LanguageTexts();
  void SetDefaults();
  // Keys outside 1000..1101 throw std::out_of_range.
  const std::string& operator[](int key) const;
  void Set(int key, std::string text);

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
