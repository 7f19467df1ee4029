#pragma once
// Small layouts of our own, made as the editor makes them, with their script files under
// tests/data/macros/<name>.oxs. Setting ORVANE_UPDATE_GOLDEN=1 writes the files anew (look at
// the difference before committing it).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "macros/model/custom_commands.h"
#include "macros/model/key_functions.h"
#include "macros/model/layer_names.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "macros/model/script_writer.h"
#include "platform/base/memory_file_access.h"
#include "tests/macros/model/model_fixture.h"
#include "tests/support/scratch_dir.h"

namespace testsupport {

struct GoldenLayout {
  const char* name;
  std::function<void(MacroContext&, FakeDevice&)> make;
};

// One key event as the editor stores it: the steps inserted, the body made and added (or
// updated).
inline void Program(MacroContext& c, int key, KeyEvent event, LayerColour colour, const char* program,
                    const std::vector<std::pair<std::wstring, std::wstring>>& steps) {
  if (FindKeyIndex(c.keys, key) < 0) {
    KeyRecord record;
    record.keyId = static_cast<std::uint8_t>(key);
    c.keys.push_back(record);
  }
  c.currentKey = key;
  c.currentEvent = event;
  c.currentColour = colour;
  c.currentProgram = program;
  for (const auto& [text, code] : steps) {
    if (text.starts_with(L"[CC: ")) {
      const int index = static_cast<int>(c.customCommandSteps.size());
      c.customCommandSteps.push_back(std::string(text.begin(), text.end()));
      InsertCustomCommand(c, kFirstCustomCommandMenuId + index, nullptr);
      continue;
    }
    InsertMacroText(c, text, code.empty() ? nullptr : &code, nullptr);
  }
  KeyFunction f;
  MacroTextToScript(*FindMacroEntry(c), f);
  const std::string token = LayerToken(program);
  const auto scan = static_cast<std::uint8_t>(key);
  if (!AddKeyFunction(c.functions, scan, event, colour, token, f.body))
    UpdateKeyFunction(c.functions, scan, event, colour, token, f.body);
}

inline void LedKeypad(FakeDevice& d, bool backlightsOn = true) {
  d.settings.greenLedMask = 0x40;
  d.settings.redLedMask = 0x80;
  d.settings.backlightsAvailable = true;
  d.settings.backlightsOn = backlightsOn;
  d.settings.unitId = 1;
}

inline void AddLayer(MacroContext& c, const char* name, const char* program) {
  c.layerNames.push_back(name);
  c.layerPrograms.push_back(program);
}

// The device and the files of a golden layout, with its context made: the device's own script
// section in the memory files where the writer looks for it.
struct GoldenSetup {
  MemoryFileAccess files;
  FakeDevice device;
  MacroContext made;

  explicit GoldenSetup(const GoldenLayout& layout) {
    layout.make(made, device);
    Attach(made);
    if (device.files.count(kDeviceSpecificFileName))
      files.Put(device.ScriptFolder() + "\\" + kDeviceSpecificFileName, device.files[kDeviceSpecificFileName]);
  }
  void Attach(MacroContext& c) {
    c.device = &device;
    c.files = &files;
  }
};

inline std::string GoldenFile(const std::string& name) {
  std::string bytes;
  ReadTextFile(EnvOr("ORVANE_TEST_DATA") + "\\macros\\" + name + ".oxs", bytes);
  return bytes;
}

inline const std::vector<GoldenLayout>& GoldenLayouts() {
  static const std::wstring held(kHeldSymbol), released(kReleasedSymbol);
  static const std::vector<GoldenLayout> layouts = {
      {"plain_keys",
       [](MacroContext& c, FakeDevice& d) {
         LedKeypad(d);
         Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/Hello", L""}});
         Program(c, 1, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"<Return>", L""}});
         Program(c, 16, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"{Ctrl+c}", L""}});
         Program(c, 16, KeyEvent::Up, LayerColour::Green, "Pnr", {{L"/up", L""}});
       }},
      {"both_colours",
       [](MacroContext& c, FakeDevice& d) {
         LedKeypad(d);
         Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/green", L""}});
         Program(c, 0, KeyEvent::Down, LayerColour::Red, "Pnr", {{L"/red", L""}});
         Program(c, 2, KeyEvent::Down, LayerColour::Red, "Pnr", {{L"<F5>", L""}});
         Program(c, 3, KeyEvent::Up, LayerColour::Green, "Pnr", {{L"<Tab>", L""}});
       }},
      {"red_only",
       [](MacroContext& c, FakeDevice& d) {
         LedKeypad(d);
         Program(c, 4, KeyEvent::Down, LayerColour::Red, "Pnr", {{L"/only red", L""}});
       }},
      {"program_layers",
       [](MacroContext& c, FakeDevice& d) {
         LedKeypad(d);
         AddLayer(c, "Word", "WINWORD.EXE");
         AddLayer(c, "My App", "app.exe");
         AddLayer(c, "notepad++", "notepad++.exe");
         AddLayer(c, "Excel", "EXCEL.EXE");
         Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/default", L""}});
         Program(c, 0, KeyEvent::Down, LayerColour::Green, "Word", {{L"/word", L""}});
         Program(c, 1, KeyEvent::Down, LayerColour::Green, "My App", {{L"/app", L""}});
         Program(c, 1, KeyEvent::Up, LayerColour::Green, "My App", {{L"/app up", L""}});
         Program(c, 2, KeyEvent::Down, LayerColour::Red, "notepad++", {{L"{Ctrl+s}", L""}});
       }},
      {"toggle_and_shift_keys",
       [](MacroContext& c, FakeDevice& d) {
         LedKeypad(d);
         c.toggleKeys = {5};
         c.shiftKeys = {6};
         Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/x", L""}});
         Program(c, 0, KeyEvent::Down, LayerColour::Red, "Pnr", {{L"/X", L""}});
       }},
      {"key_caps_and_spacers",
       [](MacroContext& c, FakeDevice& d) {
         LedKeypad(d);
         c.spacers = {7, 39};
         c.keyCaps.push_back({kDoubleWideCap, 8, {16, 17}, 20.7f, 105.f, 120.f, 60.f});
         c.keyCaps.push_back({kQuadCap, 9, {32, 33, 38, 39}, 260.f, 165.9f, 120.f, 120.f});
         Program(c, 16, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/own key under the cap", L""}});
         Program(c, 8, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/cap", L""}});
         Program(c, 8, KeyEvent::Down, LayerColour::Red, "Pnr", {{L"/red cap", L""}});
         Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/zero", L""}});
       }},
      {"custom_commands",
       [](MacroContext& c, FakeDevice& d) {
         LedKeypad(d);
         Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"[CC: Tools\\Open Mail]", L""}});
         Program(c, 1, KeyEvent::Down, LayerColour::Green, "Pnr",
                 {{L"/to: ", L""}, {L"[CC: Tools\\Open Mail]", L""}, {L"[CC: Beep]", L""}});
       }},
      {"backlights_and_keyswitch",
       [](MacroContext& c, FakeDevice& d) {
         LedKeypad(d, true);
         d.settings.keyswitchAvailable = true;
         d.settings.keyswitchOn = false;
         Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/x", L""}});
       }},
      {"device_specific",
       [](MacroContext& c, FakeDevice& d) {
         LedKeypad(d, false);
         d.files["Device Specific.oxs"] = "// The device's own\r\nvoid DeviceExtra()\r\n{\r\n\tSendString(\"/extra\");\r\n}";
         Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/x", L""}});
       }},
      {"held_keys_and_odd_text",
       [](MacroContext& c, FakeDevice& d) {
         LedKeypad(d);
         Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr",
                 {{L"<Left Shift>", L""}, {held, L""}, {L"/abc", L""}, {L"<Left Shift>", L""}, {released, L""}});
         Program(c, 1, KeyEvent::Down, LayerColour::Green, "Pnr",
                 {{L"/say \"hi\" \\ //fend [CC: no] \u00fcber \u20ac\ttab", L""},
                  {L"[Delay 0.5]", L"sleep(500);"},
                  {L"[Auto Repeat (0.5:0.05)]", L"AutoRepeatThisKey(500,50);"},
                  {L"<Mouse Click>", L""}, {L"/xy", L""}, {held, L""}});
       }},
      {"empty", [](MacroContext&, FakeDevice& d) { LedKeypad(d, false); }},
  };
  return layouts;
}

}  // namespace testsupport
