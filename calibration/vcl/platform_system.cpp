// The real platform behind the seam.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "calibration/vcl/system.h"

namespace vcl {
namespace {

class PlatformSystemImpl : public System {
 public:
  Answer ShowMessage(const std::string& text, const std::string& caption, Buttons buttons,
                    Icon icon) override {
    UINT flags = buttons == Buttons::YesNo ? MB_YESNO : buttons == Buttons::OkCancel ? MB_OKCANCEL : MB_OK;
    if (icon == Icon::Error) flags |= MB_ICONERROR;
    switch (MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags)) {
      case IDYES: return Answer::Yes;
      case IDNO: return Answer::No;
      case IDCANCEL: return Answer::Cancel;
      default: return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
  }

  bool ReadRegistryString(RegistryRoot root, const std::string& key, const std::string& name,
                          std::string& value) override {
    HKEY opened = nullptr;
    const HKEY top = root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
    // The 32-bit view, where the 32-bit installers of the simulators and of the main program
    // write, whatever this program was built as.
    if (RegOpenKeyExA(top, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &opened) != ERROR_SUCCESS)
      return false;
    DWORD type = 0, size = 0;
    bool ok = RegQueryValueExA(opened, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
              (type == REG_SZ || type == REG_EXPAND_SZ);
    if (ok) {
      std::vector<char> buffer(size + 1, '\0');
      ok = RegQueryValueExA(opened, name.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS;
      if (ok) value.assign(buffer.data());  // up to the first NUL, stored or not
    }
    RegCloseKey(opened);
    return ok;
  }

  std::string ReadIniString(const std::string& file, const std::string& section,
                                const std::string& key, const std::string& fallback) override {
    char buffer[1000];
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer,
                                             sizeof buffer, file.c_str());
    return std::string(buffer, n);
  }

  bool WriteIniString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& value) override {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
  }

  int ShellOpen(const std::string& target) override {
    return static_cast<int>(reinterpret_cast<INT_PTR>(
        ShellExecuteA(GetActiveWindow(), "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL)));
  }

  std::string ShortDate() override {
    char buffer[100];
    const int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer,
                                 sizeof buffer);
    return n > 0 ? std::string(buffer) : std::string();
  }

  int DefaultInputLanguage() override {
    HKL layout = nullptr;
    SystemParametersInfoA(SPI_GETDEFAULTINPUTLANG, 0, &layout, 0);
    // Wine answers 0 here whatever the user's language; the thread's layout follows it.
    if (!layout) layout = GetKeyboardLayout(0);
    return static_cast<int>(reinterpret_cast<UINT_PTR>(layout) & 0xFFFF);
  }
};

}  // namespace

System& PlatformSystem() {
  static PlatformSystemImpl system;
  return system;
}

}  // namespace vcl
