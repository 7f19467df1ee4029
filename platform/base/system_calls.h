#pragma once
// The one seam over the platform calls a test may want to see or replace: input injection, key
// states and the keyboard hook, message boxes, the shell, file, font and colour dialogs, the
// registry of the machine, the clipboard, the clock and the pauses of script functions. The base
// class makes the real calls; a test derives from it, overrides what it records or answers, and
// hands it to the code under test (or, for code that still takes the calls in force, installs
// it for a scope with ScopedSystemCalls). Free of the platform's headers: windows are passed as
// void* (an HWND converts to it).

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/clock_time.h"
#include "platform/base/input_records.h"
#include "platform/base/keyboard_hook_event.h"
#include "platform/base/message_box.h"
#include "platform/base/registry_values.h"

// The clipboard while it is open; it is closed when this goes.
class ClipboardAccess {
 public:
  virtual ~ClipboardAccess() = default;
  // The first format it holds; 0 when it is empty.
  virtual std::uint32_t FirstFormat() = 0;
  // The bytes of a format held in a memory block; nothing for a missing format or one held
  // another way (bitmaps, metafiles).
  virtual std::optional<std::vector<std::uint8_t>> Data(std::uint32_t format) = 0;
  // Empties it and puts the bytes on it under the format; false when that was refused.
  virtual bool Replace(std::uint32_t format, const std::vector<std::uint8_t>& bytes) = 0;
};

// What a file dialog for opening one existing file shows.
struct OpenFileQuestion {
  void* owner = nullptr;
  std::string title;
  std::string filterName;     // "Orvane Script (*.oxs)"
  std::string filterPattern;  // "*.oxs"
  // Further filters the user can pick, each a name and a pattern.
  std::vector<std::pair<std::string, std::string>> moreFilters;
  std::string defaultExtension;
  std::string initialFolder;
  // The file the open dialog starts with, selected (a name or a whole path; "" for none). The
  // save dialog is given its suggested file apart.
  std::string initialFile;
};

// A screen font as the font dialog starts from it and gives it back.
struct FontChoice {
  std::string face;
  int height = 0;  // the logical font's height in pixels; negative: of the characters alone
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::uint32_t colour = 0;  // 0x00BBGGRR
  int pointTenths = 0;       // given back: the size chosen, in tenths of a point (0: unknown)
};

// The colour dialog's sixteen custom colours (0x00BBGGRR); the user may change them there.
using CustomColours = std::array<std::uint32_t, 16>;

// What the shell's folder dialog shows; its status line shows the folder selected.
struct FolderQuestion {
  void* owner = nullptr;
  std::string title;
  std::string initialFolder;  // selected when the dialog starts; empty: none
};

class SystemCalls {
 public:
  virtual ~SystemCalls() = default;

  // Input: one record per injection, the lock states typed text depends on (as the calling
  // thread sees them: the device thread reads no keyboard input, so it sees the keyboard's
  // present ones; the thread the keys go to is left alone), one key's state (0x80 held, 0x01
  // toggled) and the double-click time in ms.
  virtual void InjectInput(const InputRecord& record);
  virtual LockStates ReadLockStates();
  virtual short KeyState(int virtualKey);
  virtual unsigned DoubleClickTime();
  // A low-level keyboard hook of the calling thread, called while that thread pumps messages;
  // one per thread. Null when it could not be set (a second one on the thread included).
  virtual void* SetKeyboardHook(KeyboardHookHandler handler);
  // False when the platform refused; `error` then gets the system's text for why.
  virtual bool RemoveKeyboardHook(void* hook, std::string* error);

  // A message box; the button that closed it.
  virtual BoxAnswer ShowMessageBox(void* owner, const char* text, const char* caption, BoxButtons buttons,
                                   BoxIcon icon = BoxIcon::None, BoxFlag flag = BoxFlag::None);
  // A box in the platform's own numbers (MB_* in, IDOK ... out), for the script function that
  // hands a script's numbers through as they are.
  virtual int ShowPlatformMessageBox(void* owner, const char* text, const char* caption, unsigned type);
  // The shell's open-with-verb; null texts are passed as null. Its result as a number (above
  // 32 on success).
  virtual std::intptr_t ExecuteWithShell(void* owner, const char* verb, const char* file,
                                         const char* parameters, const char* directory,
                                         int showCommand);
  // The user's documents folder; empty when the platform has none.
  virtual std::string DocumentsFolder();
  // The folder for temporary files as the TEMP variable names it; empty when it is not set.
  virtual std::string TempFolder();
  // The chosen file, or nothing for Cancel. An empty filter pattern lists every file.
  virtual std::optional<std::string> ChooseFileToOpen(const OpenFileQuestion& question);
  // The same for a file to write, which need not exist yet; the dialog starts with
  // suggestedFile (a name or a whole path; "" for none).
  virtual std::optional<std::string> ChooseFileToSave(const OpenFileQuestion& question,
                                                      const std::string& suggestedFile);
  // The chosen folder, or nothing for Cancel.
  virtual std::optional<std::string> ChooseFolder(const FolderQuestion& question);
  // The font dialog (screen fonts, with effects and colour) started from `start`; the chosen
  // font, or nothing for Cancel.
  virtual std::optional<FontChoice> ChooseTextFont(void* owner, const FontChoice& start);
  // The colour dialog started from `start` (0x00BBGGRR) with the caller's custom colours, which
  // it keeps up to date; the chosen colour, or nothing for Cancel.
  virtual std::optional<std::uint32_t> ChooseColour(void* owner, std::uint32_t start,
                                                    CustomColours& customColours);

  // The registry of the machine, in the program's view. A read gives the value whatever its
  // size; a write creates the key when missing.
  virtual std::optional<RegistryValue> ReadMachineValue(const std::string& key,
                                                        const std::string& name);
  virtual bool WriteMachineValue(const std::string& key, const std::string& name,
                                 const RegistryValue& value);
  // Creates the key (or opens it) for writing; false when that is refused.
  virtual bool CreateMachineKey(const std::string& key);
  // The same for the registry of the user (the current user's hive).
  virtual std::optional<RegistryValue> ReadUserValue(const std::string& key,
                                                     const std::string& name);
  virtual bool WriteUserValue(const std::string& key, const std::string& name,
                              const RegistryValue& value);

  // Asks the clipboard's owner to render the formats it promised, waiting a bounded time.
  virtual void RenderClipboardFormats();
  // The clipboard opened for the window; null when another program holds it.
  virtual std::unique_ptr<ClipboardAccess> OpenClipboardFor(void* window);

  virtual ClockTime LocalTime();
  // The pauses of script functions and of the main window's wait for the request slot (the
  // device thread's own waits do not come here).
  virtual void Sleep(unsigned ms);
};

// The calls in force: the platform's own unless a test put others in place.
SystemCalls& GetSystemCalls();

// Puts `calls` in place of those in force for its own lifetime, then puts the earlier ones back.
class ScopedSystemCalls {
 public:
  explicit ScopedSystemCalls(SystemCalls& calls);
  ~ScopedSystemCalls();
  ScopedSystemCalls(const ScopedSystemCalls&) = delete;
  ScopedSystemCalls& operator=(const ScopedSystemCalls&) = delete;

 private:
  SystemCalls* previous_;
};
