#include "macros/model/step_editing.h"

#include <algorithm>

#include "macros/model/custom_commands.h"
#include "macros/model/macro_context.h"
#include "macros/model/text_code_page.h"

namespace {

bool IsLeadSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsTrailSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A step the selection never ends inside: any step but typed text.
bool IsAtomic(const MacroItem& item) { return item.shown && !IsTypedText(item.text); }

int AtomicStepContaining(const MacroEntry& entry, int position) {
  const int i = FindStepContaining(entry, position);
  return i >= 0 && IsAtomic(entry.steps[static_cast<std::size_t>(i)]) ? i : -1;
}

void RemoveStep(MacroContext& context, MacroEntry& entry, std::size_t i) {
  if (i < entry.codes.size()) {
    const int id = CustomCommandIdOf(NarrowText(entry.codes[i].text));
    if (id > 0) context.removedCommandIds.push_back(id);
    entry.codes.erase(entry.codes.begin() + static_cast<std::ptrdiff_t>(i));
  }
  entry.steps.erase(entry.steps.begin() + static_cast<std::ptrdiff_t>(i));
}

// Takes the character at `offset` of the typed text out (a surrogate pair whole); the number of
// positions it took.
int EraseTypedCharacter(MacroEntry& entry, std::size_t i, int offset) {
  std::wstring& text = entry.steps[i].text;
  std::size_t at = 1 + static_cast<std::size_t>(offset);
  std::size_t count = 1;
  if (IsTrailSurrogate(text[at]) && at > 1 && IsLeadSurrogate(text[at - 1])) {
    --at;
    count = 2;
  } else if (IsLeadSurrogate(text[at]) && at + 1 < text.size() && IsTrailSurrogate(text[at + 1])) {
    count = 2;
  }
  text.erase(at, count);
  if (i < entry.codes.size()) entry.codes[i].text = SendStringCode(text);
  return static_cast<int>(count);
}

int LastEnd(const MacroEntry& entry) { return entry.steps.empty() ? 0 : entry.steps.back().end; }

}  // namespace

int FindStepAtCaret(const MacroEntry& entry, int caret) {
  for (std::size_t i = 0; i < entry.steps.size(); ++i)
    if (entry.steps[i].end > caret) return static_cast<int>(i);
  return static_cast<int>(entry.steps.size());
}

int FindStepContaining(const MacroEntry& entry, int position) {
  for (std::size_t i = 0; i < entry.steps.size(); ++i) {
    const MacroItem& item = entry.steps[i];
    if (item.start < position && position < item.end) return static_cast<int>(i);
  }
  return -1;
}

bool SnapSelectionToSteps(const MacroEntry* entry, const MacroSelection& remembered, MacroSelection& now) {
  const MacroSelection was = now;
  if (!entry || entry->steps.empty()) {
    now = {};
    return now.start != was.start || now.end != was.end;
  }
  MacroEntry laidOut = *entry;
  LayOutMacroItems(laidOut);
  const int last = LastEnd(laidOut);
  int start = std::min(now.start, now.end);
  int end = std::max(now.start, now.end);
  // A box reports -1 for "to the end".
  if (now.start < 0 || now.end < 0) {
    start = std::max(start, 0);
    end = last;
  }
  if (start != end) {
    if (const int i = AtomicStepContaining(laidOut, end); i >= 0) end = laidOut.steps[static_cast<std::size_t>(i)].end;
    if (const int i = AtomicStepContaining(laidOut, start); i >= 0)
      start = laidOut.steps[static_cast<std::size_t>(i)].start;
    end = std::min(end, last);
    start = std::min(start, end);
  } else {
    start = end = std::clamp(start, 0, last);
    if (const int i = AtomicStepContaining(laidOut, start); i >= 0) {
      const MacroItem& step = laidOut.steps[static_cast<std::size_t>(i)];
      const bool beyondMiddle = start > (step.start + step.end) / 2;
      bool toEnd = beyondMiddle;
      if (remembered.start == remembered.end) {
        if (start == remembered.start + 1)
          toEnd = true;
        else if (start == remembered.start - 1)
          toEnd = false;
      }
      start = end = toEnd ? step.end : step.start;
    }
  }
  now = {start, end};
  return now.start != was.start || now.end != was.end;
}

bool DeleteStepAtCaret(MacroContext& context, MacroSelection& selection, bool backspace) {
  MacroEntry* found = FindMacroEntry(context);
  if (!found || found->steps.empty()) return false;
  MacroEntry& entry = *found;
  entry.codes.resize(entry.steps.size());
  LayOutMacroItems(entry);
  int caret = std::clamp(selection.start, 0, LastEnd(entry));
  int index;
  if (!backspace) {
    index = FindStepAtCaret(entry, caret);
  } else {
    if (caret == 0) return false;
    index = FindStepContaining(entry, caret);
    // Else the step that ends at the caret.
    if (index < 0) index = FindStepAtCaret(entry, caret - 1);
  }
  if (index < 0 || index >= static_cast<int>(entry.steps.size())) return false;
  const std::size_t i = static_cast<std::size_t>(index);
  MacroItem& step = entry.steps[i];
  if (IsTypedText(step.text) && step.text.size() > 1) {
    const int offset = std::clamp(caret - step.start - (backspace ? 1 : 0), 0, static_cast<int>(step.text.size()) - 2);
    const int taken = EraseTypedCharacter(entry, i, offset);
    if (backspace) caret = std::max(0, caret - taken);
    if (step.text.size() <= 1) RemoveStep(context, entry, i);
  } else {
    if (backspace) caret = step.start;
    RemoveStep(context, entry, i);
  }
  MergeTypedTextSteps(entry);
  selection = {caret, caret};
  return true;
}

std::wstring TypedTextInSelection(const MacroEntry& entry, const MacroSelection& selection) {
  MacroEntry laidOut = entry;
  LayOutMacroItems(laidOut);
  const int from = std::min(selection.start, selection.end);
  const int to = std::max(selection.start, selection.end);
  std::wstring text;
  for (const MacroItem& item : laidOut.steps) {
    if (!item.shown || !IsTypedText(item.text) || item.end <= from || item.start >= to) continue;
    const int a = std::max(item.start, from) - item.start;
    const int b = std::min(item.end, to) - item.start;
    text += item.text.substr(1 + static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
  }
  return text;
}

bool PasteMacroText(MacroContext& context, std::wstring_view text, MacroSelection& selection) {
  bool inserted = false;
  std::wstring piece;
  const auto insert = [&](const std::wstring& step) {
    inserted = InsertMacroText(context, step, nullptr, &selection) || inserted;
  };
  const auto flush = [&] {
    if (!piece.empty()) insert(L"/" + piece);
    piece.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      // CR LF is one line end.
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      flush();
      insert(L"<Return>");
    } else if (c == L'\t') {
      // A tab in typed text would split its step's marker line in the script file.
      flush();
      insert(L"<Tab>");
    } else if (c >= 0x20 && c != 0x7F) {
      piece += c;
    }
  }
  flush();
  return inserted;
}
