#pragma once
// The editing of a macro's steps at the selection of its editor box: the selection kept on step
// boundaries, Delete and Backspace at the caret, the typed text of a selection and pasted text.
// Typed text is edited character by character; every other step is kept or removed whole.

#include <string>
#include <string_view>

#include "macros/model/macro_records.h"
#include "macros/model/macro_steps.h"

struct MacroContext;

// The keys of the editor's editing-key operation, by their virtual-key codes (Cut, Copy and
// Paste by the letter that goes with Ctrl).
enum class EditingKey : int {
  Backspace = 8,
  Return = 13,
  Delete = 46,
  Copy = 67,
  Paste = 86,
  Cut = 88,
};

// The index of the first step that ends beyond `caret`; the number of steps when none does.
int FindStepAtCaret(const MacroEntry& entry, int caret);
// The index of the step that holds `position` strictly inside it; -1 when none does.
int FindStepContaining(const MacroEntry& entry, int position);

// Keeps the selection `now` of the box (none: no entry) on step boundaries; `remembered` is the
// one before it. A range is widened over the steps it ends inside and kept within the macro; a
// caret inside a step goes to the step's nearer end, or to the end it moved towards when it
// moved by one. Steps of typed text take a caret or range anywhere. True when `now` changed.
bool SnapSelectionToSteps(const MacroEntry* entry, const MacroSelection& remembered, MacroSelection& now);

// Delete (forwards) or Backspace at the caret of the current entry: a character of typed text,
// or the whole step; removed custom commands are noted in the context. False when there was
// nothing to remove.
bool DeleteStepAtCaret(MacroContext& context, MacroSelection& selection, bool backspace);

// The characters of typed text inside the selection, in order; other steps give none.
std::wstring TypedTextInSelection(const MacroEntry& entry, const MacroSelection& selection);

// Inserts pasted text at the selection of the current entry, in place of the selection: its
// lines as typed text with a "<Return>" step for each line end (CR LF, CR or LF) and a "<Tab>"
// step for each tab; other control characters are left out. False when nothing went in.
bool PasteMacroText(MacroContext& context, std::wstring_view text, MacroSelection& selection);
