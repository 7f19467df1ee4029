#include "macros/model/onboard_conversion.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>

#include "macros/model/key_display_names.h"
#include "macros/model/macro_steps.h"
#include "runtime/keys/key_name_tables.h"
#include "runtime/keys/macro_tokens.h"

namespace {

constexpr std::uint8_t kCtrlBits = 0x11;
constexpr std::uint8_t kShiftBits = 0x22;
constexpr std::uint8_t kAltBits = 0x44;
constexpr std::uint8_t kWinKeyBits = 0x88;
constexpr std::uint8_t kLeftShift = 0x02;
constexpr std::wstring_view kShiftedCharacters = L"~!@#$%^&*()_+QWERTYUIOP{}|ASDFGHJKL:\"ZXCVBNM<>?";
constexpr std::wstring_view kDelayPrefix = L"[Delay ";

bool IsControlCode(std::uint8_t b) {
  return b == 0 || b == kReleaseCode || b == kDelayCode || b == kToggleLayerCode || b == kModifierCode;
}

std::string Narrow(std::wstring_view text) {
  std::string out;
  for (wchar_t c : text) {
    if (c >= 128) return {};  // no key of the tables has such a name
    out += static_cast<char>(c);
  }
  return out;
}

void EmitModifiers(DeviceCodes& out, std::uint8_t bits) { EmitMacroStep(out, bits, DeviceStepKind::kModifier); }

// A step's kind from its "_" or "-", which is taken off the text.
DeviceStepKind TakePrefix(std::wstring_view& text) {
  if (text.starts_with(L'_')) {
    text.remove_prefix(1);
    return DeviceStepKind::kPress;
  }
  if (text.starts_with(L'-')) {
    text.remove_prefix(1);
    return DeviceStepKind::kRelease;
  }
  return DeviceStepKind::kTap;
}

// The parts of a combination between "{" and its last character.
std::vector<std::wstring> CombinationParts(std::wstring_view text) {
  std::vector<std::wstring> parts;
  const std::wstring_view inner = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::wstring_view();
  std::size_t start = 0;
  for (;;) {
    const std::size_t plus = CombinationPlus(inner, start);
    parts.emplace_back(inner.substr(start, plus == std::wstring_view::npos ? std::wstring_view::npos : plus - start));
    if (plus == std::wstring_view::npos) break;
    start = plus + 1;
  }
  return parts;
}

// A combination's part as a key: names the tables do not know are tried in angle brackets,
// as the keystroke sender does ("Delete" is "<Delete>").
std::uint8_t PartKeyCode(const std::wstring& part) {
  if (const std::uint8_t code = DeviceKeyCodeOf(part)) return code;
  return part.starts_with(L'<') ? 0 : DeviceKeyCodeOf(L"<" + part + L">");
}

// Modifier bits and key codes (in name order) of a combination.
struct Combination {
  std::uint8_t bits = 0;
  std::vector<std::uint8_t> keys;
};
Combination ParseCombination(std::wstring_view text) {
  Combination c;
  std::vector<std::wstring> names;
  for (std::wstring& part : CombinationParts(text)) {
    if (const std::uint8_t bits = ModifierBitsOf(part))
      c.bits |= bits;
    else
      names.push_back(std::move(part));
  }
  std::sort(names.begin(), names.end());
  for (const std::wstring& name : names)
    if (const std::uint8_t code = PartKeyCode(name)) c.keys.push_back(code);
  return c;
}

class Encoder {
 public:
  void Step(std::wstring_view text) {
    const DeviceStepKind kind = TakePrefix(text);
    if (text.empty()) return;
    switch (text[0]) {
      case L'[':
        for (int quarters = DelayStepQuarters(text); quarters > 0; quarters -= 255)
          EmitMacroStep(out_, static_cast<std::uint8_t>(std::min(quarters, 255)), DeviceStepKind::kDelay);
        return;
      case L'{':
        return Combine(ParseCombination(text), kind);
      case L'<':
        if (const std::uint8_t bits = ModifierBitsOf(text)) return Combine({bits, {}}, kind);
        return EmitMacroStep(out_, DeviceKeyCodeOf(text), kind);
      case L'/':
        return Type(text.substr(1), kind);
      default:
        return Type(text, kind);
    }
  }

  DeviceCodes Finish() {
    if (out_.empty()) return {};
    out_.push_back(0);
    return std::move(out_);
  }

 private:
  // Typed text sets Shift for each character as it needs, and puts back the held modifiers.
  void Type(std::wstring_view text, DeviceStepKind kind) {
    std::uint8_t state = held_;
    for (wchar_t c : text) {
      const std::uint8_t code = DeviceKeyCodeOf(std::wstring_view(&c, 1));
      if (!code) continue;
      const bool shifted = IsShiftedCharacter(c);
      if (shifted && !(state & kShiftBits)) {
        state |= kLeftShift;
        EmitModifiers(out_, state);
      } else if (!shifted && (state & kShiftBits)) {
        state &= static_cast<std::uint8_t>(~kShiftBits);
        EmitModifiers(out_, state);
      }
      EmitMacroStep(out_, code, kind);
    }
    if (state != held_) EmitModifiers(out_, held_);
  }

  // A tap sets the bits around taps of the keys; a press keeps the bits held after pressing
  // the keys, a release lets them go after the keys.
  void Combine(const Combination& c, DeviceStepKind kind) {
    switch (kind) {
      case DeviceStepKind::kPress:
        if (c.bits) EmitModifiers(out_, held_ |= c.bits);
        for (std::uint8_t key : c.keys) EmitMacroStep(out_, key, kind);
        return;
      case DeviceStepKind::kRelease:
        for (std::uint8_t key : c.keys) EmitMacroStep(out_, key, kind);
        if (c.bits) EmitModifiers(out_, held_ &= static_cast<std::uint8_t>(~c.bits));
        return;
      default:
        if (!c.bits && c.keys.empty()) return;
        EmitModifiers(out_, held_ | c.bits);
        for (std::uint8_t key : c.keys) EmitMacroStep(out_, key, DeviceStepKind::kTap);
        EmitModifiers(out_, held_);
        return;
    }
  }

  DeviceCodes out_;
  std::uint8_t held_ = 0;  // modifiers that press steps hold down
};

// What decoding names a key code.
struct KeyName {
  std::wstring text;
  bool character = false;  // typed text: a name without angle brackets
  bool escape = false;     // written "{Esc}"
};
std::optional<KeyName> NameOfKey(std::uint8_t code, bool shifted) {
  std::optional<std::wstring> name = UsageDisplayName(code, false);
  if (!name || name->empty()) return std::nullopt;
  if (*name == L"Esc") return KeyName{*name, false, true};
  if ((*name)[0] == L'<') return KeyName{*name, false, false};
  if (shifted)
    if (std::optional<std::wstring> up = UsageDisplayName(code, true); up && !up->empty()) name = up;
  return KeyName{*name, true, false};
}

std::wstring ModifierNames(std::uint8_t bits) {
  std::wstring out;
  const struct {
    std::uint8_t bits;
    const wchar_t* name;
  } order[] = {{kCtrlBits, L"Ctrl"}, {kAltBits, L"Alt"}, {kShiftBits, L"Shift"}, {kWinKeyBits, L"WinKey"}};
  for (const auto& m : order) {
    if (!(bits & m.bits)) continue;
    if (!out.empty()) out += L'+';
    out += m.name;
  }
  return out;
}

// A name as a key step or a combination's part.
std::wstring StepName(const KeyName& name) {
  if (name.escape) return L"{Esc}";
  return name.character ? L"/" + name.text : name.text;
}
std::wstring PartName(const KeyName& name) { return name.text; }

class Decoder {
 public:
  explicit Decoder(const DeviceCodes& codes) : codes_(codes) {}

  std::vector<std::wstring> Run() {
    while (at_ < codes_.size()) {
      const std::uint8_t b = codes_[at_];
      if (b == 0 || b == kToggleLayerCode) break;
      if (b == kDelayCode) {
        std::size_t end = at_;
        while (end < codes_.size() && codes_[end] == kDelayCode) ++end;
        Push(DelayStepText(static_cast<int>(end - at_)));
        at_ = end;
      } else if (b == kModifierCode) {
        if (at_ + 1 >= codes_.size()) break;
        const std::uint8_t m = codes_[at_ + 1];
        at_ += 2;
        Modifiers(m);
      } else if (const std::optional<Event> e = EventAt(at_)) {
        at_ += e->length;
        Key(*e);
      } else {
        ++at_;  // a release code without a key
      }
    }
    return std::move(steps_);
  }

 private:
  struct Event {
    DeviceStepKind kind;
    std::uint8_t code;
    std::size_t length;
  };

  std::optional<Event> EventAt(std::size_t i) const {
    const auto key = [&](std::size_t j) { return j < codes_.size() && !IsControlCode(codes_[j]); };
    if (i >= codes_.size()) return std::nullopt;
    if (codes_[i] == kReleaseCode)
      return key(i + 1) ? std::optional<Event>({DeviceStepKind::kRelease, codes_[i + 1], 2}) : std::nullopt;
    if (!key(i)) return std::nullopt;
    if (i + 2 < codes_.size() && codes_[i + 1] == kReleaseCode && codes_[i + 2] == codes_[i])
      return Event{DeviceStepKind::kTap, codes_[i], 3};
    return Event{DeviceStepKind::kPress, codes_[i], 1};
  }

  bool CharacterAt(std::size_t i) const {
    const std::optional<Event> e = EventAt(i);
    if (!e) return false;
    const std::optional<KeyName> name = NameOfKey(e->code, false);
    return name && name->character;
  }

  void Modifiers(std::uint8_t m) {
    if (m == held_) {  // back to the held modifiers: the end of a shifted run
      shift_ = false;
      return;
    }
    const std::uint8_t added = m & static_cast<std::uint8_t>(~held_);
    const std::uint8_t removed = held_ & static_cast<std::uint8_t>(~m);
    if (!removed && !(added & static_cast<std::uint8_t>(~kShiftBits)) && CharacterAt(at_)) {
      shift_ = true;  // Shift for the characters that follow
      return;
    }
    shift_ = false;
    if (!added) {
      Push(L"-{" + ModifierNames(removed) + L"}");
      held_ = m;
      return;
    }
    // A combination when only taps follow up to the held modifiers again or the end.
    std::size_t j = at_;
    std::wstring parts;
    for (std::optional<Event> e; (e = EventAt(j)) && e->kind == DeviceStepKind::kTap; j += e->length)
      if (const std::optional<KeyName> name = NameOfKey(e->code, false)) parts += L"+" + PartName(*name);
    const bool end = j >= codes_.size() || codes_[j] == 0 || codes_[j] == kToggleLayerCode;
    const bool back = j + 1 < codes_.size() && codes_[j] == kModifierCode && codes_[j + 1] == held_;
    if (end || back) {
      Push(L"{" + ModifierNames(added) + parts + L"}");
      at_ = back ? j + 2 : j;
      return;
    }
    Push(L"_{" + ModifierNames(added) + L"}");
    held_ = m;
  }

  void Key(const Event& e) {
    const std::optional<KeyName> name = NameOfKey(e.code, shift_);
    if (!name) return;
    if (e.kind == DeviceStepKind::kTap && name->character) {
      if (typedOpen_) {
        steps_.back() += name->text;
      } else {
        Push(L"/" + name->text);
        typedOpen_ = true;
      }
      return;
    }
    Push((e.kind == DeviceStepKind::kPress ? L"_" : e.kind == DeviceStepKind::kRelease ? L"-" : L"") +
         StepName(*name));
  }

  void Push(std::wstring step) {
    steps_.push_back(std::move(step));
    typedOpen_ = false;
  }

  const DeviceCodes& codes_;
  std::size_t at_ = 0;
  std::vector<std::wstring> steps_;
  bool shift_ = false;      // characters take their shifted names
  std::uint8_t held_ = 0;   // modifiers a press left down
  bool typedOpen_ = false;  // the last step is typed text that taps of characters extend
};

}  // namespace

void EmitMacroStep(DeviceCodes& out, std::uint8_t code, DeviceStepKind kind) {
  switch (kind) {
    case DeviceStepKind::kTap:
      if (code) out.insert(out.end(), {code, kReleaseCode, code});
      break;
    case DeviceStepKind::kPress:
      if (code) out.push_back(code);
      break;
    case DeviceStepKind::kRelease:
      if (code) out.insert(out.end(), {kReleaseCode, code});
      break;
    case DeviceStepKind::kModifier:
      out.insert(out.end(), {kModifierCode, code});
      break;
    case DeviceStepKind::kDelay:
      out.insert(out.end(), code, kDelayCode);
      break;
  }
}

std::vector<std::wstring> DeviceStepTexts(const MacroEntry& entry) {
  std::vector<std::wstring> out;
  for (std::size_t i = 0; i < entry.steps.size(); ++i) {
    const std::wstring& text = entry.steps[i].text;
    if (IsStepSymbol(text)) continue;
    const std::wstring_view next = i + 1 < entry.steps.size() ? std::wstring_view(entry.steps[i + 1].text) : L"";
    out.push_back((next == kHeldSymbol ? L"_" : next == kReleasedSymbol ? L"-" : L"") + text);
  }
  return out;
}

DeviceCodes MacroTextToDeviceCodes(const std::vector<std::wstring>& steps) {
  InitKeyNameTables();
  Encoder encoder;
  for (const std::wstring& step : steps) encoder.Step(step);
  return encoder.Finish();
}

std::vector<std::wstring> DeviceCodesToMacroText(const DeviceCodes& codes) { return Decoder(codes).Run(); }

std::wstring DelayStepText(int quarters) {
  char number[32];
  std::snprintf(number, sizeof number, "%.2f", quarters * 0.25);
  std::string text = number;
  // One digit after the point at least, as the editor writes its delays ("1.0", "0.25").
  while (text.ends_with('0') && text[text.size() - 2] != '.') text.pop_back();
  return std::wstring(kDelayPrefix) + std::wstring(text.begin(), text.end()) + L"]";
}

int DelayStepQuarters(std::wstring_view step) {
  if (!step.starts_with(kDelayPrefix)) return 0;
  const std::wstring number(step.substr(kDelayPrefix.size()));
  const double seconds = std::wcstod(number.c_str(), nullptr);
  // No more quarters than any image could hold; a wait of a minute or more stays one.
  if (!(seconds > 0)) return 0;
  return static_cast<int>(std::min(seconds * 4, double{kMemoryImageSize}));
}

std::uint8_t DeviceKeyCodeOf(std::wstring_view name) {
  const std::string narrow = Narrow(name);
  if (narrow.empty()) return 0;
  InitKeyNameTables();
  return UsageOfVirtualKey(VirtualKeyOf(narrow));
}

std::uint8_t ModifierOnlyCombination(std::wstring_view step) {
  if (!step.starts_with(L'{') || step.size() < 2) return 0;
  std::uint8_t bits = 0;
  for (const std::wstring& part : CombinationParts(step)) {
    const std::uint8_t b = ModifierBitsOf(part);
    if (!b) return 0;
    bits |= b;
  }
  return bits;
}

bool IsShiftedCharacter(wchar_t c) { return kShiftedCharacters.find(c) != std::wstring_view::npos; }

std::uint8_t ModifierBitsOf(std::wstring_view name) {
  if (name == L"Ctrl") return 0x01;
  if (name == L"Shift") return 0x02;
  if (name == L"Alt") return 0x04;
  if (name == L"WinKey") return 0x08;
  // Names of keys with a usage ("<WinKey (left)>") are keys; those the usage table leaves
  // out ("<Left Shift>") set their modifier bit instead.
  if (!name.starts_with(L'<') || DeviceKeyCodeOf(name)) return 0;
  const auto has = [&](std::wstring_view word) { return name.find(word) != std::wstring_view::npos; };
  std::uint8_t bit = 0;
  if (has(L"Ctrl") || has(L"Control"))
    bit = 0x01;
  else if (has(L"Shift"))
    bit = 0x02;
  else if (has(L"Alt>") || has(L"Alt ("))
    bit = 0x04;
  const bool right = has(L"Right") || has(L"(right)");
  return right ? static_cast<std::uint8_t>(bit << 4) : bit;
}
