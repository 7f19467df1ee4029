#include "macros/model/macro_steps.h"

#include <algorithm>

#include "macros/model/custom_commands.h"
#include "macros/model/layer_names.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/model/macro_text.h"
#include "macros/model/text_code_page.h"

namespace {

std::wstring Wide(std::string_view text) { return std::wstring(text.begin(), text.end()); }

MacroItem Item(std::wstring text) {
  MacroItem item;
  item.text = std::move(text);
  return item;
}

// A step of one character (a recorded key) can be no key name, combination or command: it
// types that character.
std::wstring NormalizedStep(std::wstring_view step) {
  if (step.size() == 1) return L"/" + std::wstring(step);
  return std::wstring(step);
}

// Cuts typed text before its last character (a surrogate pair stays whole).
std::size_t LastCharacterStart(std::wstring_view text) {
  std::size_t cut = text.size() - 1;
  if (cut > 1 && text[cut] >= 0xDC00 && text[cut] <= 0xDFFF && text[cut - 1] >= 0xD800 &&
      text[cut - 1] <= 0xDBFF)
    --cut;
  return cut;
}

std::wstring MarkerLine(std::wstring_view prefix, std::wstring_view text) {
  return Wide(kStepMarker) + std::wstring(prefix) + EncodeMacroText(text) + L"\"\n";
}

// Code as the reader gives it back: its lines trimmed of blanks, without empty lines, so that
// a body read and written again is the same.
std::wstring NormalizedCode(std::wstring_view code) {
  std::wstring out;
  std::size_t pos = 0;
  constexpr std::wstring_view kSeparators = L"\t\r\n";
  while ((pos = code.find_first_not_of(kSeparators, pos)) != std::wstring_view::npos) {
    std::size_t end = code.find_first_of(kSeparators, pos);
    if (end == std::wstring_view::npos) end = code.size();
    const std::wstring line = TrimWide(code.substr(pos, end - pos));
    pos = end;
    if (line.empty()) continue;
    if (!out.empty()) out += L'\n';
    out += line;
  }
  return out;
}

void SetTypedCode(MacroEntry& entry, std::size_t i) { entry.codes[i].text = SendStringCode(entry.steps[i].text); }

// Both lists of equal length, so that steps and code never shift against each other.
void AlignCodes(MacroEntry& entry) { entry.codes.resize(entry.steps.size()); }

void NoteRemovedCommand(MacroContext& context, const MacroItem& code) {
  const int id = CustomCommandIdOf(NarrowText(code.text));
  if (id > 0) context.removedCommandIds.push_back(id);
}

}  // namespace

bool IsTypedText(std::wstring_view step) { return !step.empty() && step[0] == L'/'; }

bool IsStepSymbol(std::wstring_view step) { return step == kHeldSymbol || step == kReleasedSymbol; }

int DisplayLength(const MacroItem& item) {
  if (!item.shown) return 0;
  const int length = static_cast<int>(item.text.size());
  return IsTypedText(item.text) ? length - 1 : length;
}

void LayOutMacroItems(MacroEntry& entry) {
  int position = 0;
  for (MacroItem& item : entry.steps) {
    item.start = position;
    item.end = position + DisplayLength(item);
    position = item.end;
  }
}

std::wstring SendStringCode(std::wstring_view step) {
  return L"SendString(\"" + EscapeScriptStringW(step) + L"\");";
}

std::string MacroBodyOf(const MacroEntry& entry) {
  struct Written {
    std::wstring_view prefix;  // "_" held, "-" released
    std::wstring text;
    std::wstring code;
  };
  std::vector<Written> written;
  for (std::size_t i = 0; i < entry.steps.size(); ++i) {
    const std::wstring& s = entry.steps[i].text;
    if (IsStepSymbol(s)) continue;
    const std::wstring_view next = i + 1 < entry.steps.size() ? std::wstring_view(entry.steps[i + 1].text)
                                                              : std::wstring_view();
    if (next != kHeldSymbol && next != kReleasedSymbol) {
      written.push_back({L"", s, i < entry.codes.size() ? NormalizedCode(entry.codes[i].text) : L""});
      continue;
    }
    const std::wstring_view prefix = next == kHeldSymbol ? L"_" : L"-";
    std::wstring text = s;
    // Only the last character of typed text is held; the rest goes first as a step of its own,
    // written as the reader will give it back.
    if (IsTypedText(s) && s.size() >= 3) {
      const std::size_t cut = LastCharacterStart(s);
      const std::wstring part = s.substr(0, cut);
      written.push_back({L"", part, SendStringCode(part)});
      text = L"/" + s.substr(cut);
    }
    written.push_back({prefix, text, L"SendString(\"" + std::wstring(prefix) + EscapeScriptStringW(text) + L"\");\n"});
  }
  std::wstring steps;
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (i) steps += L"\n\n";
    steps += L"\n" + MarkerLine(written[i].prefix, written[i].text) + written[i].code + L"\n";
  }
  return NarrowText(L"{\n" + steps + L"\n}");
}

void MacroTextToScript(const MacroEntry& entry, KeyFunction& function) {
  function.body = MacroBodyOf(entry);
}

int ParseMacroStep(MacroEntry& entry, int position, std::wstring_view text, std::wstring_view code) {
  // A step without text has no item to carry its code.
  if (text.empty()) return position;
  MacroItem step = Item(std::wstring(text));
  step.start = position;
  step.end = position + static_cast<int>(text.size());
  const bool typed = text[0] == L'/' || ((text[0] == L'-' || text[0] == L'_') && text.size() > 1 && text[1] == L'/');
  if (typed) --step.end;
  if (text[0] == L'_' || text[0] == L'-') {
    const bool held = text[0] == L'_';
    step.text.erase(0, 1);
    --step.end;
    MacroItem symbol = Item(std::wstring(held ? kHeldSymbol : kReleasedSymbol));
    symbol.start = step.end;
    symbol.end = symbol.start + 3;
    entry.codes.push_back(Item(SendStringCode(step.text)));
    entry.steps.push_back(std::move(step));
    entry.steps.push_back(symbol);
    entry.codes.push_back(Item(held ? L"//KeyDown" : L"//KeyUp"));
    return symbol.end;
  }
  const int end = step.end;
  entry.steps.push_back(std::move(step));
  entry.codes.push_back(Item(TrimWide(code)));
  return end;
}

bool SplitMacroSteps(MacroEntry& entry, const KeyFunction& function) {
  const std::wstring body = WidenText(function.body);
  std::wstring text, code;
  bool collecting = false;
  int position = 0;
  std::size_t pos = 0;
  constexpr std::wstring_view kSeparators = L"\t\r\n";
  while ((pos = body.find_first_not_of(kSeparators, pos)) != std::wstring::npos) {
    std::size_t end = body.find_first_of(kSeparators, pos);
    if (end == std::wstring::npos) end = body.size();
    const std::wstring token = TrimWide(std::wstring_view(body).substr(pos, end - pos));
    pos = end;
    // Markers begin their line: typed text inside a SendString line is no marker.
    if (token.starts_with(L"//ORVX:")) {
      position = ParseMacroStep(entry, position, text, code);
      const std::size_t first = token.find(L'"', 7);
      const std::size_t last = token.rfind(L'"');
      text = first != std::wstring::npos && last > first
                 ? DecodeMacroText(std::wstring_view(token).substr(first + 1, last - first - 1))
                 : std::wstring();
      code.clear();
      collecting = true;
    } else if (token.starts_with(L"//END")) {
      collecting = false;
    } else if (collecting) {
      if (!code.empty()) code += L'\n';
      code += token;
    }
  }
  // The body's closing brace, however short the code before it.
  if (collecting) {
    if (code == L"}")
      code.clear();
    else if (code.ends_with(L"\n}"))
      code.resize(code.size() - 2);
  }
  ParseMacroStep(entry, position, text, code);
  return !entry.steps.empty();
}

bool InsertMacroText(MacroContext& context, std::wstring_view stepText, const std::wstring* code,
                     MacroSelection* box) {
  if (context.toggleKeys.count(context.currentKey) || context.shiftKeys.count(context.currentKey))
    return false;
  const std::wstring step = NormalizedStep(stepText);
  if (step.empty() || !FindMacroEntry(context)) return false;
  if (box) DeleteMacroSelection(context, *box);
  MacroEntry& entry = *FindMacroEntry(context);
  AlignCodes(entry);
  LayOutMacroItems(entry);
  const int point = box ? box->start : (entry.steps.empty() ? 0 : entry.steps.back().end);

  std::wstring stepCode;
  if (code)
    stepCode = *code;
  else if (step == kHeldSymbol || step == kReleasedSymbol)
    stepCode = step == kHeldSymbol ? L"//KeyDown" : L"//KeyUp";
  else
    stepCode = SendStringCode(step);

  std::size_t at = entry.steps.size();
  bool done = false;
  for (std::size_t i = 0; i < entry.steps.size(); ++i) {
    MacroItem& item = entry.steps[i];
    if (IsTypedText(item.text) && item.shown && point > item.start && point <= item.end) {
      const std::size_t cut = 1 + static_cast<std::size_t>(point - item.start);
      if (IsTypedText(step) && step.size() == 2) {
        item.text.insert(cut, 1, step[1]);
        SetTypedCode(entry, i);
        done = true;
      } else {
        const std::wstring right = L"/" + item.text.substr(cut);
        item.text.resize(cut);
        SetTypedCode(entry, i);
        at = i + 1;
        if (right.size() > 1) {
          entry.steps.insert(entry.steps.begin() + static_cast<std::ptrdiff_t>(at), Item(right));
          entry.codes.insert(entry.codes.begin() + static_cast<std::ptrdiff_t>(at), Item(SendStringCode(right)));
        }
      }
      break;
    }
    if (item.start >= point) {
      at = i;
      break;
    }
  }
  if (!done) {
    entry.steps.insert(entry.steps.begin() + static_cast<std::ptrdiff_t>(at), Item(step));
    entry.codes.insert(entry.codes.begin() + static_cast<std::ptrdiff_t>(at), Item(stepCode));
  }
  if (box) box->start = box->end = point + DisplayLength(Item(step));
  MergeTypedTextSteps(entry);
  return true;
}

void DeleteMacroSelection(MacroContext& context, MacroSelection& box) {
  int from = std::min(box.start, box.end);
  const int to = std::max(box.start, box.end);
  box.start = box.end = from;
  MacroEntry* found = from < to ? FindMacroEntry(context) : nullptr;
  if (!found) return;
  MacroEntry& entry = *found;
  AlignCodes(entry);
  LayOutMacroItems(entry);
  // A step that goes whole takes the caret back to where it began.
  for (const MacroItem& item : entry.steps)
    if (item.shown && !IsTypedText(item.text) && item.start < from && from < item.end) from = item.start;
  box.start = box.end = from;
  for (std::size_t i = entry.steps.size(); i-- > 0;) {
    MacroItem& item = entry.steps[i];
    if (!item.shown || item.end <= from || item.start >= to) continue;
    if (IsTypedText(item.text)) {
      const int a = std::max(item.start, from) - item.start;
      const int b = std::min(item.end, to) - item.start;
      item.text.erase(1 + static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
      if (item.text.size() > 1) {
        SetTypedCode(entry, i);
        continue;
      }
    }
    NoteRemovedCommand(context, entry.codes[i]);
    entry.steps.erase(entry.steps.begin() + static_cast<std::ptrdiff_t>(i));
    entry.codes.erase(entry.codes.begin() + static_cast<std::ptrdiff_t>(i));
  }
  MergeTypedTextSteps(entry);
}

void MergeTypedTextSteps(MacroEntry& entry) {
  AlignCodes(entry);
  for (std::size_t i = 0; i + 1 < entry.steps.size();) {
    if (IsTypedText(entry.steps[i].text) && IsTypedText(entry.steps[i + 1].text)) {
      entry.steps[i].text += entry.steps[i + 1].text.substr(1);
      SetTypedCode(entry, i);
      entry.steps.erase(entry.steps.begin() + static_cast<std::ptrdiff_t>(i + 1));
      entry.codes.erase(entry.codes.begin() + static_cast<std::ptrdiff_t>(i + 1));
    } else {
      ++i;
    }
  }
  LayOutMacroItems(entry);
}

void MergeTypedTextSteps(MacroContext& context) {
  if (MacroEntry* entry = FindMacroEntry(context)) MergeTypedTextSteps(*entry);
}

std::wstring MacroBoxText(const MacroEntry& entry) {
  std::wstring text;
  for (const MacroItem& item : entry.steps)
    if (item.shown) text += IsTypedText(item.text) ? item.text.substr(1) : item.text;
  return text;
}

std::wstring GetKeyDownMacroText(const std::vector<MacroEntry>& entries, LayerColour colour,
                                 std::string_view program) {
  auto find = [&](KeyEvent event) -> const MacroEntry* {
    for (const MacroEntry& e : entries)
      if (e.event == event && e.colour == colour && CompareNames(e.program, program) == 0) return &e;
    return nullptr;
  };
  std::wstring text;
  if (const MacroEntry* down = find(KeyEvent::Down)) text = MacroBoxText(*down);
  const MacroEntry* up = find(KeyEvent::Up);
  if (up && !up->steps.empty()) text += L"\n-----\n" + MacroBoxText(*up);
  return text;
}

std::string GetDeviceDisplayName(MacroContext& context) {
  std::string name;
  if (!context.device || !context.device->DeviceName(name) || name.empty()) return "Unknown Device";
  return name + " ID:" + std::to_string(context.device->Settings().unitId);
}
