#pragma once
// A keypad of the tests' own for the "Macro Input" editor: a layout of a few keys, a device that
// says its colour layer and counts the keys it handed over, and its script kept in memory.
#include <string>
#include <vector>

#include "macros/model/custom_commands.h"
#include "macros/model/key_functions.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "platform/base/memory_file_access.h"
#include "tests/macros/model/fake_model_events.h"
#include "tests/macros/model/model_fixture.h"

namespace testsupport {

class EditorDevice : public FakeDevice {
 public:
  bool red = false;
  void* window = nullptr;
  int handOvers = 0;
  bool removed = false;  // unplugged

  bool sharedScript = false;  // the device runs its type's "Script.oxs"

  bool RedLayer() const override { return red; }
  void* ProgrammingWindow() const override { return window; }
  std::string OwnScriptPath() override { return FakeDevice::ScriptPath(); }
  std::string ScriptPath() override { return sharedScript ? scriptFolder + "\\Script.oxs" : FakeDevice::ScriptPath(); }
  void HandOverPendingKey() override { ++handOvers; }
  bool Removed() const override { return removed; }
};

// Keys 3, 5 and 9 of an LED keypad with backlights; the script goes into memory.
struct EditorKeypad {
  testsupport::FakeModelEvents events;
  MacroContext context{events};
  EditorDevice device;
  MemoryFileAccess files;

  EditorKeypad() {
    for (int id : {3, 5, 9}) {
      KeyRecord key;
      key.keyId = static_cast<std::uint8_t>(id);
      context.keys.push_back(key);
    }
    device.settings.backlightsAvailable = true;
    device.settings.unitId = 1;
    context.device = &device;
    context.files = &files;
    context.blinkPeriod = 500;
  }

  std::string ScriptPath() { return device.OwnScriptPath(); }
  std::string Script() {
    const std::string* text = files.Get(ScriptPath());
    return text ? *text : std::string();
  }

  // A stored macro: the key function made from these steps (display text, code or "").
  void Store(int key, KeyEvent event, LayerColour colour, const char* program,
             const std::vector<std::pair<std::wstring, std::wstring>>& steps) {
    MacroEntry entry;
    for (const auto& [text, code] : steps) {
      MacroItem step, item;
      step.text = text;
      item.text = code.empty() ? SendStringCode(text) : code;
      entry.steps.push_back(step);
      entry.codes.push_back(item);
    }
    AddKeyFunction(context.functions, static_cast<std::uint8_t>(key), event, colour, program, MacroBodyOf(entry));
  }
  // A stored custom-command step of key `key` with the next id.
  void StoreCommand(int key, const std::string& file) {
    const int id = ++context.customCommandCount;
    context.includes[id] = file + ".oxc";
    Store(key, KeyEvent::Down, LayerColour::Green, "Pnr",
          {{L"[CC: " + std::wstring(file.begin(), file.end()) + L"]", WidenCode(CustomCommandCode(id))}});
  }
  const KeyFunction* Function(int key, KeyEvent event, LayerColour colour, const char* program) const {
    for (const KeyFunction& f : context.functions.items)
      if (f.scan == key && f.event == event && f.colour == colour && f.program == program) return &f;
    return nullptr;
  }
  int FunctionsOf(int key) const {
    int n = 0;
    for (const KeyFunction& f : context.functions.items) n += f.scan == key;
    return n;
  }
  static std::wstring WidenCode(const std::string& code) { return std::wstring(code.begin(), code.end()); }
};

// The display texts of the steps of an entry, joined by "|".
inline std::wstring StepTexts(const MacroEntry* entry) {
  std::wstring out;
  if (!entry) return L"<none>";
  for (const MacroItem& item : entry->steps) out += (out.empty() ? L"" : L"|") + item.text;
  return out;
}

}  // namespace testsupport
