#pragma once
// The keystroke recorder: while the "Macro Input" editor is open, a low-level keyboard hook
// turns every key into macro text (plain characters, key names such as "<F1>", combinations
// such as "{Ctrl+c}"). Recording, each finished token goes into the editor's current box as a
// step; editing, plain characters still go in, the editing keys edit the steps, and every other
// token is sent on to the box as keystrokes. While the keyboard focus is in the editor the hook
// swallows the keys; elsewhere (a hidden editor) they are recorded and passed on. Timings and
// key holds are not recorded.
//
// The hook, the key states and the keystrokes sent on go through the platform's calls it is
// given; the editor's windows through RecorderWindows. One recorder per program, on the thread
// of the editor, which must pump messages for the hook to be called.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "macros/macro_recorder.h"
#include "macros/model/step_editing.h"
#include "platform/base/keyboard_hook_event.h"

class SystemCalls;

// What the recorder reaches of the editor, by its box (an HWND).
class RecorderWindows {
 public:
  virtual ~RecorderWindows() = default;
  // The box belongs to an open editor: without one the recorder lets every key pass.
  virtual bool EditorOpen(void* box) = 0;
  // The keyboard focus lies in the box's editor window or in a window inside it.
  virtual bool FocusInEditor(void* box) = 0;
  // A step into the box at its selection; false when it took none.
  virtual bool InsertStep(void* box, std::wstring_view step) = 0;
  virtual void EditKey(void* box, EditingKey key) = 0;
  // The editor's Pause/Edit, and the focus into the box.
  virtual void PauseEdit(void* box) = 0;
};

// GetModifierState's bits.
enum RecorderModifier : int {
  kRecorderCtrl = 1,
  kRecorderAlt = 2,
  kRecorderShift = 4,
  kRecorderWinKey = 64,
  kRecorderEsc = 128,
};

class KeystrokeRecorder : public MacroRecorder {
 public:
  KeystrokeRecorder(SystemCalls& calls, RecorderWindows& windows) : calls_(calls), windows_(windows) {}
  ~KeystrokeRecorder() override;
  KeystrokeRecorder(const KeystrokeRecorder&) = delete;
  KeystrokeRecorder& operator=(const KeystrokeRecorder&) = delete;

  // Recording into the box; the hook is set when it is not.
  void Start(void* box) override;
  // Every token, key and mode forgotten and the hook removed; a removal the platform refuses is
  // shown with the system's reason.
  void Stop() override;
  void ToggleRecording() override { recording_ = !recording_; }
  void SetTarget(void* box) override { box_ = box; }
  int ModifierState() const { return modifiers_; }

  bool HookSet() const { return hook_ != nullptr; }
  bool Recording() const { return recording_; }
  void* Target() const { return box_; }

  // One event of the hook; true swallows it.
  bool OnKeyboardEvent(const KeyboardHookEvent& event);

  // Marks the keystrokes the recorder sends on, which its hook lets pass untouched.
  static constexpr std::uintptr_t kSentOnTag = 0x4F525643;  // "ORVC"

 private:
  void OnPress(int code, bool extended);
  void OnRelease(int code);
  // Takes back the combination just delivered when the numeric keypad's Shift turns out to
  // belong to the key that follows.
  void TakeBackPrevious();
  void AddModifier(int code, const std::set<int>& codes, const wchar_t* name, int bit);
  void Deliver(bool focus);
  void SendOn(const std::wstring& token);
  void Forget();

  SystemCalls& calls_;
  RecorderWindows& windows_;
  void* hook_ = nullptr;
  void* box_ = nullptr;
  bool recording_ = false;
  bool ready_ = false;
  std::wstring pending_;
  bool hasKey_ = false;  // a key that is no modifier is in the pending combination
  std::set<int> held_;
  int modifiers_ = 0;
  std::wstring previous_;
  std::set<int> previousHeld_;
  bool previousInserted_ = false;  // the previous token went into the box as a step
};

// The plain characters of the US keyboard, shifted or not, and the space: typed text when
// recorded.
bool IsPlainCharacter(std::wstring_view token);
