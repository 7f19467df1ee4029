// Fuzz target: text pasted into an editor box over the steps "ab", "<F1>" and "cd". The first
// two bytes are the selection (within the box), the rest the clipboard's text (UTF-16, low byte
// first). Steps and code items stay side by side with contiguous positions; typed text holds no
// tab, line end or other control character and its code types it; and the body written from the
// steps reads back as the same steps.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "macros/model/step_editing.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MacroContext context;
  KeyRecord key;
  key.keyId = 5;
  context.keys.push_back(key);
  context.currentKey = 5;
  context.currentEvent = KeyEvent::Down;
  context.currentColour = LayerColour::Green;
  context.currentProgram = "Pnr";
  MacroEntry& start = *FindMacroEntry(context);
  for (const wchar_t* text : {L"/ab", L"<F1>", L"/cd"}) {
    MacroItem step, code;
    step.text = text;
    code.text = SendStringCode(text);
    start.steps.push_back(step);
    start.codes.push_back(code);
  }
  LayOutMacroItems(start);

  MacroSelection selection;
  if (size >= 2) {
    selection = {data[0] % 9, data[1] % 9};  // within the box's 8 characters
    data += 2;
    size -= 2;
  }
  std::wstring text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  const bool pasted = PasteMacroText(context, text, selection);

  const MacroEntry& entry = *FindMacroEntry(context);
  Check(entry.steps.size() == entry.codes.size());
  int position = 0;
  bool typedBefore = false;
  for (std::size_t i = 0; i < entry.steps.size(); ++i) {
    const MacroItem& step = entry.steps[i];
    Check(step.start == position && step.end > step.start);
    position = step.end;
    const bool typed = IsTypedText(step.text);
    Check(!(typed && typedBefore));
    typedBefore = typed;
    if (!typed) continue;
    Check(entry.codes[i].text == SendStringCode(step.text));
    for (wchar_t c : step.text.substr(1)) Check(c >= 0x20 && c != 0x7F);
  }
  if (pasted) Check(selection.start == selection.end && selection.end <= position);

  KeyFunction function;
  MacroTextToScript(entry, function);
  MacroEntry back;
  SplitMacroSteps(back, function);
  Check(back.steps.size() == entry.steps.size());
  for (std::size_t i = 0; i < back.steps.size(); ++i) Check(back.steps[i].text == entry.steps[i].text);
  return 0;
}
