#include "platform/base/system_calls.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <mutex>

#include "platform/base/global_memory.h"
#include "platform/base/message_box_numbers.h"

static_assert(sizeof(INPUT) == (sizeof(void*) == 4 ? 28 : 40), "one record is the size SendInput is told");
static_assert(kKeyDownMessage == WM_KEYDOWN && kKeyUpMessage == WM_KEYUP &&
              kSysKeyDownMessage == WM_SYSKEYDOWN && kSysKeyUpMessage == WM_SYSKEYUP &&
              kHookExtendedKey == LLKHF_EXTENDED && kHookInjected == LLKHF_INJECTED);
static_assert(kRegistryText == REG_SZ && kRegistryBinary == REG_BINARY &&
              kRegistryDword == REG_DWORD);

namespace {

// A clipboard owner that does not answer must not hold the device thread.
constexpr UINT kRenderWaitMs = 2000;

SystemCalls& Platform() {
  static SystemCalls platform;
  return platform;
}

std::atomic<SystemCalls*>& Current() {
  static std::atomic<SystemCalls*> current{&Platform()};
  return current;
}

HWND ToWindow(void* window) { return static_cast<HWND>(window); }

INPUT ToPlatformInput(const InputRecord& r) {
  INPUT in{};
  if (r.kind == InputRecord::Kind::Keyboard) {
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = r.virtualKey;
    in.ki.wScan = r.scanCode;
    in.ki.dwFlags = r.flags;
    in.ki.dwExtraInfo = r.extraInfo;
  } else {
    in.type = INPUT_MOUSE;
    in.mi.dx = r.dx;
    in.mi.dy = r.dy;
    in.mi.mouseData = r.mouseData;
    in.mi.dwFlags = r.flags;
    in.mi.dwExtraInfo = r.extraInfo;
  }
  return in;
}

// The keyboard hooks by the thread that set them: the platform's hook procedure has no place
// for a pointer of its own, and is called on that thread.
struct KeyboardHook {
  HHOOK hook = nullptr;
  std::shared_ptr<KeyboardHookHandler> handler;
};
std::mutex& KeyboardHooksLock() {
  static std::mutex lock;
  return lock;
}
std::map<DWORD, KeyboardHook>& KeyboardHooks() {
  static std::map<DWORD, KeyboardHook> hooks;
  return hooks;
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<KeyboardHookHandler> handler;
  if (code == HC_ACTION) {
    std::lock_guard<std::mutex> lock(KeyboardHooksLock());
    const auto it = KeyboardHooks().find(GetCurrentThreadId());
    if (it != KeyboardHooks().end()) handler = it->second.handler;
  }
  // The handler may remove its own hook: the copy keeps it alive until it returns.
  if (handler && *handler) {
    const auto& e = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    KeyboardHookEvent event;
    event.message = static_cast<std::uint32_t>(wParam);
    event.virtualKey = e.vkCode;
    event.scanCode = e.scanCode;
    event.flags = e.flags;
    event.extraInfo = e.dwExtraInfo;
    if ((*handler)(event)) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string SystemErrorText(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result =
      length && text ? std::string(text, length) : "Error " + std::to_string(error);
  if (text) LocalFree(text);
  return result;
}

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY* Out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool CreateKey(const std::string& path, RegistryKey& key, HKEY root = HKEY_LOCAL_MACHINE) {
  return RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_ALL_ACCESS, nullptr, key.Out(), nullptr) == ERROR_SUCCESS;
}

std::optional<RegistryValue> ReadValue(HKEY root, const std::string& key, const std::string& name) {
  RegistryKey k;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, k.Out()) != ERROR_SUCCESS)
    return std::nullopt;
  RegistryValue value;
  DWORD type = 0;
  DWORD size = 0;
  LONG rc = RegQueryValueExA(k.get(), name.c_str(), nullptr, &type, nullptr, &size);
  // A value that grows between the two calls is asked for again.
  for (int attempt = 0; attempt < 4 && rc == ERROR_SUCCESS; ++attempt) {
    value.bytes.resize(size);
    rc = RegQueryValueExA(k.get(), name.c_str(), nullptr, &type, value.bytes.data(), &size);
    if (rc == ERROR_SUCCESS) {
      value.bytes.resize(size);
      value.type = type;
      return value;
    }
    if (rc == ERROR_MORE_DATA) rc = ERROR_SUCCESS;
  }
  return std::nullopt;
}

bool WriteValue(HKEY root, const std::string& key, const std::string& name,
                const RegistryValue& value) {
  RegistryKey k;
  if (!CreateKey(key, k, root)) return false;
  return RegSetValueExA(k.get(), name.c_str(), 0, value.type, value.bytes.data(),
                        static_cast<DWORD>(value.bytes.size())) == ERROR_SUCCESS;
}

class PlatformClipboard : public ClipboardAccess {
 public:
  ~PlatformClipboard() override { CloseClipboard(); }

  std::uint32_t FirstFormat() override { return EnumClipboardFormats(0); }

  std::optional<std::vector<std::uint8_t>> Data(std::uint32_t format) override {
    HANDLE data = GetClipboardData(format);
    if (!data) return std::nullopt;
    GlobalLockScope lock(data);
    if (!lock.data()) return std::nullopt;
    const auto* bytes = static_cast<const std::uint8_t*>(lock.data());
    return std::vector<std::uint8_t>(bytes, bytes + GlobalSize(data));
  }

  bool Replace(std::uint32_t format, const std::vector<std::uint8_t>& bytes) override {
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    if (!block) return false;
    {
      GlobalLockScope lock(block.get());
      // Nothing that could not be copied whole replaces what is there.
      if (!lock.data()) return false;
      std::memcpy(lock.data(), bytes.data(), bytes.size());
    }
    // Formats of an earlier owner would stay beside the new one and win in other programs.
    EmptyClipboard();
    if (!SetClipboardData(format, block.get())) return false;
    block.release();  // the clipboard's now
    return true;
  }
};

}  // namespace

void SystemCalls::InjectInput(const InputRecord& record) {
  INPUT in = ToPlatformInput(record);
  SendInput(1, &in, sizeof in);  // the result is not looked at
}

LockStates SystemCalls::ReadLockStates() {
  // The calling thread's own states: a thread that reads no keyboard input sees the keyboard's
  // present ones. Borrowing those of the thread the keys go to (by attaching to its input)
  // resets that thread's key states, and with them a Shift it has yet to apply to a capital.
  // Greater than 0: the toggle bit is set and the key is not held at this moment.
  return LockStates{KeyState(VK_CAPITAL) > 0, KeyState(VK_NUMLOCK) > 0};
}

short SystemCalls::KeyState(int virtualKey) { return GetKeyState(virtualKey); }

unsigned SystemCalls::DoubleClickTime() { return GetDoubleClickTime(); }

void* SystemCalls::SetKeyboardHook(KeyboardHookHandler handler) {
  const DWORD thread = GetCurrentThreadId();
  std::lock_guard<std::mutex> lock(KeyboardHooksLock());
  if (KeyboardHooks().count(thread)) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return nullptr;
  }
  const HHOOK hook =
      SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHookProc, GetModuleHandleA(nullptr), 0);
  if (!hook) return nullptr;
  KeyboardHooks()[thread] = {hook, std::make_shared<KeyboardHookHandler>(std::move(handler))};
  return hook;
}

bool SystemCalls::RemoveKeyboardHook(void* hook, std::string* error) {
  {
    std::lock_guard<std::mutex> lock(KeyboardHooksLock());
    for (auto it = KeyboardHooks().begin(); it != KeyboardHooks().end(); ++it)
      if (it->second.hook == hook) {
        KeyboardHooks().erase(it);
        break;
      }
  }
  if (UnhookWindowsHookEx(static_cast<HHOOK>(hook))) return true;
  if (error) *error = SystemErrorText(GetLastError());
  return false;
}

BoxAnswer SystemCalls::ShowMessageBox(void* owner, const char* text, const char* caption,
                                      BoxButtons buttons, BoxIcon icon, BoxFlag flag) {
  return BoxAnswerOf(MessageBoxA(ToWindow(owner), text, caption, PlatformBoxType(buttons, icon, flag)));
}

int SystemCalls::ShowPlatformMessageBox(void* owner, const char* text, const char* caption,
                                        unsigned type) {
  return MessageBoxA(ToWindow(owner), text, caption, type);
}

std::intptr_t SystemCalls::ExecuteWithShell(void* owner, const char* verb, const char* file,
                                            const char* parameters, const char* directory,
                                            int showCommand) {
  return reinterpret_cast<std::intptr_t>(
      ShellExecuteA(ToWindow(owner), verb, file, parameters, directory, showCommand));
}

std::string SystemCalls::DocumentsFolder() {
  char folder[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK)
    return {};
  return folder;
}

std::string SystemCalls::TempFolder() {
  const char* temp = std::getenv("TEMP");
  return temp ? temp : "";
}

namespace {

// The common file dialog, for a file to open (it must exist) or to write (a new name is fine).
std::optional<std::string> AskForFile(const OpenFileQuestion& q, const std::string& suggestedFile, bool save) {
  // The filter is name and pattern, each ended by a zero, and one more zero after the last.
  std::string filter = q.filterName;
  filter += '\0';
  filter += q.filterPattern;
  filter += '\0';
  for (const auto& [name, pattern] : q.moreFilters) {
    filter += name;
    filter += '\0';
    filter += pattern;
    filter += '\0';
  }
  char file[MAX_PATH] = "";
  if (suggestedFile.size() < sizeof file) suggestedFile.copy(file, suggestedFile.size());
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = ToWindow(q.owner);
  ofn.lpstrFilter = q.filterPattern.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrDefExt = q.defaultExtension.empty() ? nullptr : q.defaultExtension.c_str();
  ofn.lpstrTitle = q.title.c_str();
  ofn.lpstrInitialDir = q.initialFolder.empty() ? nullptr : q.initialFolder.c_str();
  // A file-must-exist rule would refuse every new name in a save dialog.
  ofn.Flags = save ? OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY : OFN_EXPLORER | OFN_FILEMUSTEXIST;
  if (!(save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn))) return std::nullopt;
  return std::string(file);
}

}  // namespace

std::optional<std::string> SystemCalls::ChooseFileToOpen(const OpenFileQuestion& q) {
  return AskForFile(q, q.initialFile, false);
}

std::optional<std::string> SystemCalls::ChooseFileToSave(const OpenFileQuestion& q,
                                                         const std::string& suggestedFile) {
  return AskForFile(q, suggestedFile, true);
}

namespace {

// The folder dialog selects the folder it is given at its start, and shows the path of each
// folder selected in its status line.
int CALLBACK BrowseFolderCallback(HWND dialog, UINT message, LPARAM item, LPARAM data) {
  if (message == BFFM_INITIALIZED && data)
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
  if (message == BFFM_SELCHANGED) {
    char path[MAX_PATH] = "";
    if (SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), path))
      SendMessageA(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
  }
  return 0;
}

}  // namespace

std::optional<std::string> SystemCalls::ChooseFolder(const FolderQuestion& q) {
  char name[MAX_PATH] = "";
  BROWSEINFOA info{};
  info.hwndOwner = ToWindow(q.owner);
  info.pszDisplayName = name;
  info.lpszTitle = q.title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = BrowseFolderCallback;
  info.lParam = q.initialFolder.empty() ? 0 : reinterpret_cast<LPARAM>(q.initialFolder.c_str());
  PIDLIST_ABSOLUTE list = SHBrowseForFolderA(&info);
  if (!list) return std::nullopt;
  char path[MAX_PATH] = "";
  const bool found = SHGetPathFromIDListA(list, path) != 0;
  ILFree(list);
  if (!found) return std::nullopt;
  return std::string(path);
}

std::optional<FontChoice> SystemCalls::ChooseTextFont(void* owner, const FontChoice& start) {
  LOGFONTA font{};
  lstrcpynA(font.lfFaceName, start.face.c_str(), LF_FACESIZE);
  font.lfHeight = start.height;
  font.lfWeight = start.weight;
  font.lfItalic = start.italic;
  font.lfUnderline = start.underline;
  font.lfStrikeOut = start.strikeOut;
  CHOOSEFONTA choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = ToWindow(owner);
  choice.lpLogFont = &font;
  choice.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  choice.rgbColors = start.colour;
  if (!ChooseFontA(&choice)) return std::nullopt;
  FontChoice chosen;
  chosen.face = font.lfFaceName;
  chosen.height = font.lfHeight;
  chosen.weight = font.lfWeight;
  chosen.italic = font.lfItalic != 0;
  chosen.underline = font.lfUnderline != 0;
  chosen.strikeOut = font.lfStrikeOut != 0;
  chosen.colour = choice.rgbColors;
  chosen.pointTenths = choice.iPointSize;
  return chosen;
}

std::optional<std::uint32_t> SystemCalls::ChooseColour(void* owner, std::uint32_t start,
                                                       CustomColours& customColours) {
  COLORREF custom[16];
  std::copy(customColours.begin(), customColours.end(), custom);
  CHOOSECOLORA choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = ToWindow(owner);
  choice.rgbResult = start;
  choice.lpCustColors = custom;
  choice.Flags = CC_RGBINIT;
  const bool chosen = ChooseColorA(&choice) != 0;
  // Custom colours the user made stay, whichever button closed the dialog.
  std::copy(std::begin(custom), std::end(custom), customColours.begin());
  if (!chosen) return std::nullopt;
  return static_cast<std::uint32_t>(choice.rgbResult);
}

std::optional<RegistryValue> SystemCalls::ReadMachineValue(const std::string& key,
                                                           const std::string& name) {
  return ReadValue(HKEY_LOCAL_MACHINE, key, name);
}

bool SystemCalls::WriteMachineValue(const std::string& key, const std::string& name,
                                    const RegistryValue& value) {
  return WriteValue(HKEY_LOCAL_MACHINE, key, name, value);
}

std::optional<RegistryValue> SystemCalls::ReadUserValue(const std::string& key,
                                                        const std::string& name) {
  return ReadValue(HKEY_CURRENT_USER, key, name);
}

bool SystemCalls::WriteUserValue(const std::string& key, const std::string& name,
                                 const RegistryValue& value) {
  return WriteValue(HKEY_CURRENT_USER, key, name, value);
}

bool SystemCalls::CreateMachineKey(const std::string& key) {
  RegistryKey k;
  return CreateKey(key, k);
}

void SystemCalls::RenderClipboardFormats() {
  if (HWND owner = GetClipboardOwner())
    SendMessageTimeoutA(owner, WM_RENDERALLFORMATS, 0, 0, SMTO_ABORTIFHUNG, kRenderWaitMs,
                        nullptr);
}

std::unique_ptr<ClipboardAccess> SystemCalls::OpenClipboardFor(void* window) {
  if (!OpenClipboard(ToWindow(window))) return nullptr;
  return std::make_unique<PlatformClipboard>();
}

ClockTime SystemCalls::LocalTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDayOfWeek, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void SystemCalls::Sleep(unsigned ms) { ::Sleep(ms); }

SystemCalls& GetSystemCalls() { return *Current().load(); }

ScopedSystemCalls::ScopedSystemCalls(SystemCalls& calls) : previous_(Current().exchange(&calls)) {}

ScopedSystemCalls::~ScopedSystemCalls() { Current().store(previous_); }
