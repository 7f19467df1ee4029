// A layout with key caps and a spacer, written as the device script and built by the running
// program: every key under a cap runs the cap's macro, once for the whole cap, and the spacer's
// key does nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/macros/model/golden_layouts.h"
#include "tests/macros/program_fixture.h"
#include "tests/ui/key_caps/key_cap_fixture.h"
#include "ui/key_caps/key_cap_commands.h"

using namespace testsupport;

namespace {

using KeyCapScript = RunningProgram;

// The plain 12-key sample: rows 0-3, 4-7, 16-19 of 60 by 60 keys from (20, 25).
std::vector<KeyRecord> PlainPadKeys() {
  std::vector<KeyRecord> keys;
  const int ids[] = {0, 1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19};
  for (int i = 0; i < 12; ++i) {
    KeyRecord k;
    k.keyId = static_cast<std::uint8_t>(ids[i]);
    k.key = {20 + 60.f * static_cast<float>(i % 4), 25 + 60.f * static_cast<float>(i / 4), 60, 60};
    keys.push_back(k);
  }
  return keys;
}

TEST_F(KeyCapScript, KeysUnderACapRunItsMacroAndASpacerIsQuiet) {
  ASSERT_TRUE(WriteLayout(0x10, 1, [](MacroContext& c) {
    c.keys = PlainPadKeys();
    RecordingPort port;
    ASSERT_TRUE(MakeDetectedKeyCap(c, {kDoubleWideCap, {0, 1}}, port));  // id 8
    ASSERT_TRUE(MakeDetectedKeyCap(c, {kDoubleTallCap, {3, 7}}, port));   // id 9
    ASSERT_TRUE(SetKeySpacer(c, 2, true, port));
    Program(c, 8, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/wide ", L""}});
    Program(c, 9, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/tall ", L""}});
    Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/under ", L""}});  // left from before the cap
    Program(c, 2, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/spacer ", L""}});
    Program(c, 4, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/four ", L""}});
  }));

  HWND edit = TypingTarget();
  const int id = AddSimKeypad(sim_, 1, 0x10);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(TypeFile(0x10, "Script_1_backup.oxs")); }, 20000))
      << "the generated script did not build";
  SetForegroundWindow(window_);
  SetFocus(edit);
  PumpMessages(200);

  Press(id, 1, 0);  // key 0: under the wide cap
  Press(id, 1, 1);  // key 1: under it too
  Press(id, 1, 2);  // key 2: the spacer
  Press(id, 1, 7);  // key 7: under the tall cap
  Press(id, 1, 4);  // key 4: a plain key
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "wide wide tall four "; }, 5000)) << WindowText(edit);

  // Both keys of the cap pressed together: the cap types once.
  const std::uint8_t chord[][9] = {{0, 0x01, 0, 0, 0, 0, 0, 1, 0},
                                   {0, 0x03, 0, 0, 0, 0, 0, 1, 0},
                                   {0, 0x02, 0, 0, 0, 0, 0, 1, 0},
                                   {0, 0x00, 0, 0, 0, 0, 0, 1, 0}};
  for (const auto& report : chord) VhxSimQueueInput(sim_, id, report, 9);
  Press(id, 1, 4);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "wide wide tall four wide four "; }, 5000))
      << WindowText(edit);
}

}  // namespace
