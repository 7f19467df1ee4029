#include "macros/keystroke_recorder.h"

#include <optional>
#include <string>
#include <utility>

#include "macros/model/key_display_names.h"
#include "platform/base/system_calls.h"
#include "runtime/keys/key_input_records.h"
#include "runtime/keys/key_name_tables.h"
#include "runtime/keys/macro_tokens.h"

namespace {

// Virtual-key codes the recorder treats by number.
constexpr int kReturn = 13;
constexpr int kSpace = 32;
constexpr int kKeypadReturn = 255;  // no key of the platform: the keypad's Enter
constexpr int kShift = 16, kCtrl = 17, kAlt = 18, kEsc = 27, kLeftWin = 91;

const std::set<int> kShiftCodes = {16, 160, 161};
const std::set<int> kCtrlCodes = {17, 162, 163};
const std::set<int> kAltCodes = {18, 164, 165};
const std::set<int> kEscCodes = {27, 239};
const std::set<int> kWinCodes = {91, 92};

// With Num Lock on, a keypad key pressed with Shift arrives as the navigation key it also is:
// the code of the keypad's digit or point it stands for.
int KeypadCodeOf(int code) {
  constexpr std::pair<int, int> kRemap[] = {
      {46, 110}, {45, 96}, {35, 97}, {40, 98}, {34, 99}, {37, 100},
      {12, 101}, {39, 102}, {36, 103}, {38, 104}, {33, 105},
  };
  for (const auto& [from, to] : kRemap)
    if (from == code) return to;
  return 0;
}

// A modifier of the combinations, in the order a combination reopened after a delivery names
// the ones still held.
struct Modifier {
  int bit;
  const wchar_t* name;
  const std::set<int>* codes;
};
const Modifier kModifiers[] = {{kRecorderCtrl, L"Ctrl", &kCtrlCodes},
                               {kRecorderShift, L"Shift", &kShiftCodes},
                               {kRecorderAlt, L"Alt", &kAltCodes},
                               {kRecorderWinKey, L"WinKey", &kWinCodes},
                               {kRecorderEsc, L"Esc", &kEscCodes}};

// The editing keys a token stands for in editing mode, or none.
bool EditingKeyOf(const std::wstring& token, EditingKey& key) {
  static const std::pair<const wchar_t*, EditingKey> kKeys[] = {
      {L"{Ctrl+x}", EditingKey::Cut},    {L"{Ctrl+c}", EditingKey::Copy},         {L"{Ctrl+v}", EditingKey::Paste},
      {L"<Delete>", EditingKey::Delete}, {L"<Backspace>", EditingKey::Backspace}, {L"<Return>", EditingKey::Return},
  };
  for (const auto& [text, k] : kKeys)
    if (token == text) {
      key = k;
      return true;
    }
  return false;
}

}  // namespace

bool IsPlainCharacter(std::wstring_view token) {
  static constexpr std::wstring_view kPlain =
      L"`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./"
      L"~!@#$%^&*()_+QWERTYUIOP{}|ASDFGHJKL:\"ZXCVBNM<>? ";
  return token.size() == 1 && kPlain.find(token[0]) != std::wstring_view::npos;
}

KeystrokeRecorder::~KeystrokeRecorder() {
  if (hook_) calls_.RemoveKeyboardHook(hook_, nullptr);
}

void KeystrokeRecorder::Start(void* box) {
  box_ = box;
  recording_ = true;
  if (!hook_)
    hook_ = calls_.SetKeyboardHook([this](const KeyboardHookEvent& e) { return OnKeyboardEvent(e); });
}

void KeystrokeRecorder::Stop() {
  // A key still held now has its release missed: nothing of it may reach the next recording.
  Forget();
  recording_ = false;
  box_ = nullptr;
  if (!hook_) return;
  void* hook = std::exchange(hook_, nullptr);
  std::string error;
  if (!calls_.RemoveKeyboardHook(hook, &error))
    calls_.ShowMessageBox(nullptr, error.c_str(), "Error", BoxButtons::Ok, BoxIcon::Information);
}

void KeystrokeRecorder::Forget() {
  ready_ = hasKey_ = previousInserted_ = false;
  pending_.clear();
  held_.clear();
  previous_.clear();
  previousHeld_.clear();
  modifiers_ = 0;
}

bool KeystrokeRecorder::OnKeyboardEvent(const KeyboardHookEvent& event) {
  if (!hook_ || !box_ || !windows_.EditorOpen(box_)) return false;
  // The keystrokes sent on go to the box untouched.
  if (event.extraInfo == kSentOnTag) return false;
  const bool focus = windows_.FocusInEditor(box_);
  const int code = static_cast<int>(event.virtualKey & 0xFF);
  if (event.Pressed())
    OnPress(code, (event.flags & kHookExtendedKey) != 0);
  else if (event.Released())
    OnRelease(code);
  // A key without a name makes an empty token, which goes nowhere.
  if (ready_ && pending_.empty()) ready_ = false;
  if (ready_) Deliver(focus);
  return focus;
}

void KeystrokeRecorder::OnPress(int code, bool extended) {
  if (!extended && calls_.ReadLockStates().numLock) {
    if (const int keypad = KeypadCodeOf(code)) {
      if (!held_.count(kCtrl) && !held_.count(kAlt) && !held_.count(kLeftWin)) TakeBackPrevious();
      code = keypad;
    }
  }
  previous_.clear();
  previousHeld_.clear();
  previousInserted_ = false;

  for (const Modifier& m : kModifiers)
    if (m.codes->count(code) && (m.bit != kRecorderEsc || code == kEsc)) {
      AddModifier(code, *m.codes, m.name, m.bit);
      return;
    }

  if (code == kReturn && extended) code = kKeypadReturn;
  const auto key = static_cast<std::uint8_t>(code);
  const std::optional<std::wstring> shifted = KeyDisplayName(key, true);
  const std::optional<std::wstring> unshifted = KeyDisplayName(key, false);
  if (!modifiers_) {
    pending_ = unshifted.value_or(L"");
    ready_ = true;
    return;
  }
  if (modifiers_ == kRecorderShift && shifted && IsPlainCharacter(*shifted) && !hasKey_) {
    pending_ = *shifted;
    ready_ = true;
    return;
  }
  const std::wstring name = code == kSpace ? L"<Space>" : unshifted.value_or(L"");
  // A key without a name adds nothing to the combination.
  if (name.empty()) return;
  // Modifiers held on after a delivered token open the combination again: without them the
  // key would dangle and be lost.
  if (pending_.empty()) {
    std::wstring names;
    for (const Modifier& m : kModifiers)
      if (modifiers_ & m.bit) {
        names += (names.empty() ? L"{" : L"+") + std::wstring(m.name);
        held_.insert(m.codes->begin(), m.codes->end());
      }
    pending_ = names;
  }
  pending_ += L"+" + name;
  hasKey_ = true;
  held_.insert(code);
}

void KeystrokeRecorder::AddModifier(int code, const std::set<int>& codes, const wchar_t* name, int bit) {
  // Auto-repeat presses of a held modifier add it once.
  if (!held_.count(code)) {
    held_.insert(codes.begin(), codes.end());
    pending_ = pending_.empty() ? L"{" + std::wstring(name) : pending_ + L"+" + name;
  }
  modifiers_ |= bit;
}

void KeystrokeRecorder::OnRelease(int code) {
  if (!modifiers_) return;
  // Esc's release ends its part too: else "{Esc" would never close.
  for (const Modifier& m : kModifiers)
    if (m.codes->count(code) && (m.bit != kRecorderEsc || code == kEsc)) modifiers_ &= ~m.bit;
  if (!modifiers_ && held_.size() >= 2 && !ready_) {
    pending_ += L"}";
    ready_ = true;
  } else {
    ready_ = false;
  }
}

void KeystrokeRecorder::TakeBackPrevious() {
  // Only a combination just delivered is taken back; a step is removed only when it went in.
  if (previous_.size() < 2 || previous_.front() != L'{' || previous_.back() != L'}') return;
  if (previousInserted_) windows_.EditKey(box_, EditingKey::Backspace);
  pending_ = previous_.substr(0, previous_.size() - 1);
  held_ = previousHeld_;
  hasKey_ = true;
  const std::pair<int, int> flags[] = {{kAlt, kRecorderAlt},
                                       {kCtrl, kRecorderCtrl},
                                       {kShift, kRecorderShift},
                                       {kLeftWin, kRecorderWinKey},
                                       {kEsc, kRecorderEsc}};
  for (const auto& [held, bit] : flags)
    if (held_.count(held)) modifiers_ |= bit;
  ready_ = false;
}

void KeystrokeRecorder::Deliver(bool focus) {
  const std::wstring token = std::exchange(pending_, std::wstring());
  previous_ = token;
  previousHeld_ = std::exchange(held_, std::set<int>());
  ready_ = hasKey_ = false;
  void* box = box_;
  bool inserted = false;
  EditingKey key{};
  if (token == L"{Alt+WinKey}" || token == L"{WinKey+Alt}") {
    windows_.PauseEdit(box);
  } else if (IsPlainCharacter(token)) {
    // A recorded character is typed text, never a key name.
    inserted = windows_.InsertStep(box, L"/" + token);
  } else if (recording_) {
    inserted = windows_.InsertStep(box, token);
  } else if (EditingKeyOf(token, key)) {
    windows_.EditKey(box, key);
  } else if (focus) {
    // Keys that reached the editor's box go on to it; elsewhere they went on by themselves.
    SendOn(token);
  }
  if (hook_) previousInserted_ = inserted;
}

void KeystrokeRecorder::SendOn(const std::wstring& token) {
  InitKeyNameTables();
  std::string text;
  for (wchar_t c : token) text += static_cast<char>(c < 0x80 ? c : '?');
  for (InputRecord record : SendTokensAsInput(TokenizeMacroText(text, calls_.ReadLockStates()))) {
    record.extraInfo = kSentOnTag;
    calls_.InjectInput(record);
  }
}
