#pragma once
// A recorder of the platform calls, handed to the code under test (SystemCallsRecorder), or put
// in place of the calls in force for one test and the earlier ones put back when it goes
// (RecordedSystemCalls): input records, pauses, message boxes, shell calls and file, font and
// colour dialogs go into one event list in their order; key states (and from them the lock states), the clock,
// box answers, the shell's result and the chosen file and folder come from the test. A keyboard
// hook is kept here, and the test feeds it events. The registry and the documents folder stay
// the platform's, and so do the clipboard and the font and colour dialogs unless the test asks
// for its own. Header-only.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/message_box_numbers.h"
#include "platform/base/system_calls.h"

class SystemCallsRecorder : public SystemCalls {
 public:
  // The events in order, joined by " / " (texts may hold "|").
  std::string Events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string out;
    for (const std::string& e : events_) out += (out.empty() ? "" : " / ") + e;
    return out;
  }
  // The input records alone, in order.
  std::vector<InputRecord> Inputs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return inputs_;
  }
  void ClearEvents() {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
    inputs_.clear();
  }

  // 0x80 (or any negative value) held, 0x01 toggled; Caps Lock and Num Lock read from here too.
  void SetKeyState(int vKey, short state) { Locked([&] { keyStates_[vKey & 0xFF] = state; }); }
  void SetClock(const ClockTime& now) { Locked([&] { now_ = now; }); }
  // What the next boxes answer (a box in the platform's numbers: the platform's number for it).
  void SetBoxAnswer(BoxAnswer answer) { Locked([&] { boxAnswer_ = answer; }); }
  void SetDoubleClickTime(unsigned ms) { Locked([&] { doubleClickTime_ = ms; }); }
  void SetShellResult(int result) { Locked([&] { shellResult_ = result; }); }
  // What the next file dialogs answer; nothing: Cancel.
  void SetChosenFile(std::optional<std::string> file) {
    Locked([&] { chosenFile_ = std::move(file); });
  }

  // What the next folder dialogs answer; nothing: Cancel.
  void SetChosenFolder(std::optional<std::string> folder) {
    Locked([&] { chosenFolder_ = std::move(folder); });
  }

  // What the next font dialogs answer; nothing: Cancel. Until a test sets an answer the
  // platform's own dialog opens, for the tests that press its buttons.
  void AnswerFontDialog(std::optional<FontChoice> font) {
    Locked([&] {
      fontAnswer_ = std::move(font);
      answerFonts_ = true;
    });
  }
  // The same for the colour dialogs; with `custom`, the custom colours as the user left them.
  void AnswerColourDialog(std::optional<std::uint32_t> colour,
                          std::optional<CustomColours> custom = std::nullopt) {
    Locked([&] {
      colourAnswer_ = colour;
      customAnswer_ = custom;
      answerColours_ = true;
    });
  }
  // The custom colours the last colour dialog started with.
  CustomColours CustomColoursGiven() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return customGiven_;
  }

  // The keyboard hook the code under test set, or none; how many were set and removed.
  bool KeyboardHookSet() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return hook_ != nullptr;
  }
  int KeyboardHooksSet() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return hooksSet_;
  }
  int KeyboardHooksRemoved() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return hooksRemoved_;
  }
  // The next removals fail with this text (empty: they succeed).
  void FailHookRemoval(std::string error) { Locked([&] { hookRemovalError_ = std::move(error); }); }
  // One event to the hook as the platform hands it over; true when the hook swallowed it (false
  // without a hook). `flags` are the hook's (kHookExtendedKey ...).
  bool FeedKey(std::uint32_t virtualKey, bool pressed, std::uint32_t flags = 0,
               std::uintptr_t extraInfo = 0) {
    std::shared_ptr<KeyboardHookHandler> hook;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      hook = hook_;
    }
    if (!hook || !*hook) return false;
    KeyboardHookEvent event;
    // Keys with Alt come as the system's key messages.
    const bool alt = KeyState(VK_MENU) < 0 || virtualKey == VK_MENU || virtualKey == VK_LMENU ||
                     virtualKey == VK_RMENU;
    if (pressed)
      event.message = alt ? kSysKeyDownMessage : kKeyDownMessage;
    else
      event.message = alt ? kSysKeyUpMessage : kKeyUpMessage;
    event.virtualKey = virtualKey;
    event.scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    event.flags = flags;
    event.extraInfo = extraInfo;
    return (*hook)(event);
  }
  // A press and a release; true when either was swallowed.
  bool TapKey(std::uint32_t virtualKey, std::uint32_t flags = 0) {
    const bool down = FeedKey(virtualKey, true, flags);
    return FeedKey(virtualKey, false, flags) || down;
  }

  // A clipboard in memory in place of the platform's: the formats and bytes put on it.
  void UseMemoryClipboard() { Locked([&] { memoryClipboard_ = true; }); }
  std::optional<std::vector<std::uint8_t>> ClipboardData(std::uint32_t format) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = clipboard_.find(format);
    if (it == clipboard_.end()) return std::nullopt;
    return it->second;
  }
  void SetClipboardData(std::uint32_t format, std::vector<std::uint8_t> bytes) {
    Locked([&] {
      clipboard_.clear();
      clipboard_[format] = std::move(bytes);
    });
  }
  // Text as the platform holds CF_UNICODETEXT: wide characters and an ending zero.
  static std::vector<std::uint8_t> WideBytes(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
    return std::vector<std::uint8_t>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
  }
  // The clipboard's CF_TEXT (as the platform gives it) up to its zero; "<none>" without it.
  std::string ClipboardText() {
    const std::optional<std::vector<std::uint8_t>> bytes = MemoryClipboard(*this).Data(CF_TEXT);
    if (!bytes) return "<none>";
    const std::string text(bytes->begin(), bytes->end());
    return text.substr(0, text.find('\0'));
  }

  static std::string Hex(std::uintptr_t v) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%x", static_cast<unsigned>(v));
    return text;
  }

  void InjectInput(const InputRecord& r) override {
    std::string event;
    if (r.kind == InputRecord::Kind::Mouse)
      event = "mouse " + std::to_string(r.dx) + " " + std::to_string(r.dy) + " " +
              std::to_string(static_cast<std::int32_t>(r.mouseData)) + " " + Hex(r.flags);
    else
      event = "key " + Hex(r.virtualKey) + " " + std::to_string(r.scanCode) + " " + Hex(r.flags);
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
    inputs_.push_back(r);
  }
  LockStates ReadLockStates() override {
    // Greater than 0: toggled and not held, as the platform's own reading counts it.
    return {KeyState(VK_CAPITAL) > 0, KeyState(VK_NUMLOCK) > 0};
  }
  short KeyState(int vKey) override {
    std::lock_guard<std::mutex> lock(mutex_);
    return keyStates_[vKey & 0xFF];
  }
  unsigned DoubleClickTime() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return doubleClickTime_;
  }
  // "box <owner> <caption> <text> YesNo Question": the buttons, then the icon and the flag
  // unless they are None.
  BoxAnswer ShowMessageBox(void* owner, const char* text, const char* caption, BoxButtons buttons,
                           BoxIcon icon, BoxFlag flag) override {
    Add("box " + Hex(reinterpret_cast<std::uintptr_t>(owner)) + " " + Text(caption) + " " +
        Text(text) + " " + Name(buttons) + Name(icon) + Name(flag));
    std::lock_guard<std::mutex> lock(mutex_);
    return boxAnswer_;
  }
  // The same with the platform's number for the type.
  int ShowPlatformMessageBox(void* owner, const char* text, const char* caption, unsigned type) override {
    Add("box " + Hex(reinterpret_cast<std::uintptr_t>(owner)) + " " + Text(caption) + " " +
        Text(text) + " " + Hex(type));
    std::lock_guard<std::mutex> lock(mutex_);
    return PlatformAnswer(boxAnswer_);
  }
  std::intptr_t ExecuteWithShell(void* owner, const char* verb, const char* file,
                                 const char* params, const char* dir, int show) override {
    Add("shell " + Hex(reinterpret_cast<std::uintptr_t>(owner)) + " " + Text(verb) + " " +
        Text(file) + " " + Text(params) + " " + Text(dir) + " " + std::to_string(show));
    std::lock_guard<std::mutex> lock(mutex_);
    return shellResult_;
  }
  std::optional<std::string> ChooseFileToOpen(const OpenFileQuestion& q) override {
    Add("open dialog " + Hex(reinterpret_cast<std::uintptr_t>(q.owner)) + " " +
        Text(q.title.c_str()) + " " + Text(q.filterName.c_str()) + " " +
        Text(q.filterPattern.c_str()) + " " + Text(q.defaultExtension.c_str()) + " " +
        Text(q.initialFolder.c_str()) + (q.initialFile.empty() ? "" : " " + Text(q.initialFile.c_str())));
    std::lock_guard<std::mutex> lock(mutex_);
    return chosenFile_;
  }
  std::optional<std::string> ChooseFileToSave(const OpenFileQuestion& q,
                                              const std::string& suggestedFile) override {
    Add("save dialog " + Hex(reinterpret_cast<std::uintptr_t>(q.owner)) + " " +
        Text(q.title.c_str()) + " " + Text(q.filterName.c_str()) + " " +
        Text(q.filterPattern.c_str()) + " " + Text(q.defaultExtension.c_str()) + " " +
        Text(q.initialFolder.c_str()) + " " + Text(suggestedFile.c_str()));
    std::lock_guard<std::mutex> lock(mutex_);
    return chosenFile_;
  }
  std::optional<std::string> ChooseFolder(const FolderQuestion& q) override {
    Add("folder dialog " + Hex(reinterpret_cast<std::uintptr_t>(q.owner)) + " " +
        Text(q.title.c_str()) + " " + Text(q.initialFolder.c_str()));
    std::lock_guard<std::mutex> lock(mutex_);
    return chosenFolder_;
  }
  std::optional<FontChoice> ChooseTextFont(void* owner, const FontChoice& f) override {
    Add("font dialog " + Hex(reinterpret_cast<std::uintptr_t>(owner)) + " " + Text(f.face.c_str()) +
        " height " + std::to_string(f.height) + " weight " + std::to_string(f.weight) +
        (f.italic ? " italic" : "") + (f.underline ? " underline" : "") + (f.strikeOut ? " strikeout" : "") +
        " colour " + Hex(f.colour));
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (answerFonts_) return fontAnswer_;
    }
    return SystemCalls::ChooseTextFont(owner, f);
  }
  std::optional<std::uint32_t> ChooseColour(void* owner, std::uint32_t start, CustomColours& custom) override {
    Add("colour dialog " + Hex(reinterpret_cast<std::uintptr_t>(owner)) + " " + Hex(start));
    {
      std::lock_guard<std::mutex> lock(mutex_);
      customGiven_ = custom;
      if (answerColours_) {
        if (customAnswer_) custom = *customAnswer_;
        return colourAnswer_;
      }
    }
    return SystemCalls::ChooseColour(owner, start, custom);
  }
  ClockTime LocalTime() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return now_;
  }
  void Sleep(unsigned ms) override { Add("sleep " + std::to_string(ms)); }
  void* SetKeyboardHook(KeyboardHookHandler handler) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (hook_) return nullptr;
    hook_ = std::make_shared<KeyboardHookHandler>(std::move(handler));
    ++hooksSet_;
    return hook_.get();
  }
  bool RemoveKeyboardHook(void* hook, std::string* error) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (hook && hook == hook_.get()) {
      hook_.reset();
      ++hooksRemoved_;
    }
    if (hookRemovalError_.empty()) return true;
    if (error) *error = hookRemovalError_;
    return false;
  }
  std::unique_ptr<ClipboardAccess> OpenClipboardFor(void* window) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!memoryClipboard_) return SystemCalls::OpenClipboardFor(window);
    }
    return std::make_unique<MemoryClipboard>(*this);
  }

 private:
  template <class F>
  void Locked(F f) {
    std::lock_guard<std::mutex> lock(mutex_);
    f();
  }
  void Add(std::string event) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
  }
  static std::string Text(const char* text) {
    return text ? "\"" + std::string(text) + "\"" : "null";
  }
  static std::string Name(BoxButtons buttons) {
    switch (buttons) {
      case BoxButtons::Ok: return "Ok";
      case BoxButtons::OkCancel: return "OkCancel";
      case BoxButtons::YesNo: return "YesNo";
      case BoxButtons::YesNoCancel: return "YesNoCancel";
    }
    return "?";
  }
  static std::string Name(BoxIcon icon) {
    switch (icon) {
      case BoxIcon::None: return "";
      case BoxIcon::Error: return " Error";
      case BoxIcon::Warning: return " Warning";
      case BoxIcon::Information: return " Information";
      case BoxIcon::Question: return " Question";
    }
    return " ?";
  }
  static std::string Name(BoxFlag flag) { return flag == BoxFlag::SetForeground ? " SetForeground" : ""; }

  class MemoryClipboard : public ClipboardAccess {
   public:
    explicit MemoryClipboard(SystemCallsRecorder& calls) : calls_(calls) {}
    std::uint32_t FirstFormat() override {
      std::lock_guard<std::mutex> lock(calls_.mutex_);
      return calls_.clipboard_.empty() ? 0 : calls_.clipboard_.begin()->first;
    }
    // As the platform does, 8-bit text is given as wide text and the other way round (here
    // through Latin-1).
    std::optional<std::vector<std::uint8_t>> Data(std::uint32_t format) override {
      if (auto data = calls_.ClipboardData(format)) return data;
      if (format == CF_UNICODETEXT) {
        const auto narrow = calls_.ClipboardData(CF_TEXT);
        if (!narrow) return std::nullopt;
        std::wstring wide;
        for (std::uint8_t c : *narrow) wide += static_cast<wchar_t>(c);
        return WideBytes(wide.substr(0, wide.find(L'\0')));
      }
      if (format == CF_TEXT) {
        const auto wide = calls_.ClipboardData(CF_UNICODETEXT);
        if (!wide) return std::nullopt;
        std::vector<std::uint8_t> narrow;
        for (std::size_t i = 0; i + 1 < wide->size(); i += 2) {
          const unsigned c = (*wide)[i] | ((*wide)[i + 1] << 8);
          narrow.push_back(c <= 0xFF ? static_cast<std::uint8_t>(c) : '?');
        }
        return narrow;
      }
      return std::nullopt;
    }
    bool Replace(std::uint32_t format, const std::vector<std::uint8_t>& bytes) override {
      calls_.SetClipboardData(format, bytes);
      return true;
    }

   private:
    SystemCallsRecorder& calls_;
  };

  mutable std::mutex mutex_;
  std::vector<std::string> events_;
  std::vector<InputRecord> inputs_;
  short keyStates_[256] = {};
  ClockTime now_{};
  BoxAnswer boxAnswer_ = BoxAnswer::Ok;
  unsigned doubleClickTime_ = 500;
  int shellResult_ = 42;
  std::optional<std::string> chosenFile_;
  std::optional<std::string> chosenFolder_;
  bool answerFonts_ = false;
  std::optional<FontChoice> fontAnswer_;
  bool answerColours_ = false;
  std::optional<std::uint32_t> colourAnswer_;
  std::optional<CustomColours> customAnswer_;
  CustomColours customGiven_{};
  std::shared_ptr<KeyboardHookHandler> hook_;
  int hooksSet_ = 0;
  int hooksRemoved_ = 0;
  std::string hookRemovalError_;
  bool memoryClipboard_ = false;
  std::map<std::uint32_t, std::vector<std::uint8_t>> clipboard_;
};

// The recorder in force for its lifetime, for code that still takes the calls in force.
class RecordedSystemCalls : public SystemCallsRecorder {
 private:
  ScopedSystemCalls installed_{*this};
};
