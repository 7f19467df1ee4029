// Reading and writing "Lococab.def".
#include "calibration/settings_file.h"

#include "calibration/language_texts.h"
#include "calibration/vcl/str.h"

namespace cal {

namespace {
const std::string kSection;  // the file's one section has the empty name

std::string FlagKey(int productId, const char* suffix) {
  return vcl::IntToHex(static_cast<unsigned>(productId), 4) + suffix;
}
}  // namespace

int InitLanguage(vcl::IniFile& settings, vcl::System& system) {
  const std::string stored = settings.ReadString(kSection, "PrefLangID", kNoValue);
  if (stored != kNoValue) return vcl::StrToInt(stored);
  const int language = LanguageFromInputLanguage(system.DefaultInputLanguage());
  WritePreferredLanguage(settings, language);
  return language;
}

void WritePreferredLanguage(vcl::IniFile& settings, int language) {
  settings.WriteString(kSection, "PrefLangID", vcl::IntToStr(language));
}

int ReadCalibratedFlag(const vcl::IniFile& settings, int productId) {
  const std::string value = settings.ReadString(kSection, FlagKey(productId, "Calibrated"), kNoValue);
  // A damaged value counts as never calibrated rather than stopping the wizard.
  return value == kNoValue ? 0 : vcl::StrToIntDef(value, 0);
}

void WriteCalibratedFlag(vcl::IniFile& settings, int productId, int value,
                         const std::string& date) {
  settings.WriteString(kSection, FlagKey(productId, "Calibrated"), vcl::IntToStr(value));
  settings.WriteString(kSection, FlagKey(productId, "Calibration Date"), date);
}

}  // namespace cal
