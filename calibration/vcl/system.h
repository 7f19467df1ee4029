// The one seam over the platform services of the calibration program that a test wants to see
// or replace: message boxes, the registry, ini files, the shell, the date and the input
// language. The program passes one System to whatever needs it; tests pass a fake.
#pragma once
#include <string>

namespace vcl {

enum class Buttons { Ok, YesNo, OkCancel };
enum class Icon { None, Error };
enum class Answer { Ok, Cancel, Yes, No };
enum class RegistryRoot { ClassesRoot, LocalMachine };

class System {
 public:
  virtual ~System() = default;

  // A modal message box over the active window of the program.
  virtual Answer ShowMessage(const std::string& text, const std::string& caption, Buttons buttons,
                            Icon icon = Icon::None) = 0;
  // A REG_SZ (or REG_EXPAND_SZ, unexpanded) value read with read access only, from the 32-bit
  // view; name "" is the key's default value. false when the key or the value is missing.
  virtual bool ReadRegistryString(RegistryRoot root, const std::string& key,
                                  const std::string& name, std::string& value) = 0;
  // Private-profile (ini) values; reads take up to 999 characters.
  virtual std::string ReadIniString(const std::string& file, const std::string& section,
                                        const std::string& key, const std::string& fallback) = 0;
  virtual bool WriteIniString(const std::string& file, const std::string& section,
                                  const std::string& key, const std::string& value) = 0;
  // Opens a file or address with the shell's "open" verb in a normal window; the shell's
  // result (above 32 when it worked).
  virtual int ShellOpen(const std::string& target) = 0;
  // Today in the user's short date format.
  virtual std::string ShortDate() = 0;
  // The language id of the default input language (low word of its input-locale handle).
  virtual int DefaultInputLanguage() = 0;
};

// The real platform.
System& PlatformSystem();

}  // namespace vcl
