// The Key Caps menu in the real program over a simulated LED keypad: a spacer put in while the
// program asks for it, then a cap pressed in the detection dialog; both stay in the device's
// script when the window closes, and the rebuilt keypad types the cap's macro from either key.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/macros/model/golden_layouts.h"
#include "tests/macros/program_fixture.h"
#include "ui/key_caps/key_caps_ids.h"
#include "ui/programming_window/programming_window.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace testsupport;

namespace {

constexpr std::uint8_t kSwitch = 0x10;  // byte 4
constexpr std::uint8_t kKey3 = 0x08;    // byte 1 holds keys 0-7

struct PromptSearch {
  DWORD process;
  const char* prompt;
  HWND found;
};
BOOL CALLBACK FindPrompt(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<PromptSearch*>(p);
  DWORD process = 0;
  GetWindowThreadProcessId(w, &process);
  const HWND text = process == s->process ? FindChildById(w, IDC_KEY_CAP_PROMPT) : nullptr;
  if (text && IsWindowVisible(w) && WindowText(text) == s->prompt) s->found = w;
  return s->found == nullptr;
}

class KeyCapsProgram : public RunningProgram {
 protected:
  std::string Script() { return TypeFile(0x19, "Script_1.oxs"); }
  bool ScriptHas(const std::string& text) { return ReadFileOr(Script()).find(text) != std::string::npos; }
  void Report(std::uint8_t keys, std::uint8_t switchByte = kSwitch) {
    std::uint8_t report[9] = {0, keys, 0, 0, switchByte, 0, 0, 1, 0};
    VhxSimQueueInput(sim_, id_, report, 9);
  }
  // Clicks a button of the program's box with that caption.
  bool Answer(const char* caption, int button) {
    const HWND box = WaitForProcessWindow(program_.Id(), caption, 10000);
    return box && ClickButton(FindChildById(box, button));
  }
  // The program's top-level window holding the prompt.
  HWND DialogWithPrompt(const char* prompt) {
    PromptSearch s{program_.Id(), prompt, nullptr};
    WaitUntil([&] {
      EnumWindows(FindPrompt, reinterpret_cast<LPARAM>(&s));
      return s.found != nullptr;
    }, 10000);
    return s.found;
  }

  int id_ = -1;
};

TEST_F(KeyCapsProgram, ASpacerAndACapAreInstalledFromTheMenuAndKept) {
  // The device's own section declares the global the report takes.
  ASSERT_TRUE(WriteTextFile(TypeFile(0x19, "Device Specific.oxs"), "uint8 QpadUnitId = 1;\r\n"));
  ASSERT_TRUE(WriteLayout(0x19, 1, [](MacroContext& c) {
    // The id the first cap will get: it lies between the layout's ids.
    Program(c, 8, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"[Report]", L"QpadUnitId = 200; SendOutputReport(\"setID\");"}});
  }));
  id_ = AddSimKeypad(sim_, 1, 0x19);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(TypeFile(0x19, "Script_1_backup.oxs")); }, 20000)) << "no build";
  Report(0);
  const HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);

  // The spacer goes in while the program waits for OK.
  PostMessageA(window, WM_COMMAND, IDM_PW_KEY_CAPS_ADD, 0);
  ASSERT_TRUE(WaitForProcessWindow(program_.Id(), "Install Your Key-Cap", 10000));
  Report(kKey3);
  ASSERT_TRUE(Answer("Install Your Key-Cap", IDOK));
  ASSERT_TRUE(Answer("Spacers Detected", IDYES));
  ASSERT_TRUE(WaitUntil([&] { return ScriptHas("//ORVX: Spacers\r\n//3\r\n"); }, 10000)) << ReadFileOr(Script());

  // A cap over keys 0 and 1, pressed and released beside the spacer.
  PostMessageA(window, WM_COMMAND, IDM_PW_KEY_CAPS_ADD, 0);
  ASSERT_TRUE(Answer("Install Your Key-Cap", IDOK));
  const HWND detection = DialogWithPrompt("Please firmly press the new key you just installed.");
  ASSERT_TRUE(detection);
  for (std::uint8_t keys : {0x01, 0x03, 0x02, 0x00}) Report(static_cast<std::uint8_t>(kKey3 | keys));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(detection); }, 10000));
  EXPECT_TRUE(ScriptHas("//ORVX: KeyCaps\r\n//2\r\n//8\r\n//20\r\n//45\r\n//60\r\n//120\r\n//0\r\n//1\r\n"))
      << ReadFileOr(Script());

  // The switch goes off: the window closes and the keypad is built with the cap and spacer.
  ASSERT_TRUE(DeleteFileA(TypeFile(0x19, "Script_1_backup.oxs").c_str()));
  Report(kKey3, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(TypeFile(0x19, "Script_1_backup.oxs")); }, 20000)) << "no rebuild";
  EXPECT_TRUE(ScriptHas("//ORVX: KeyCaps"));
  EXPECT_TRUE(ScriptHas("DisableKey(3);"));
  TakeOutputs(sim_, id_);
  for (std::uint8_t key : {0x01, 0x02}) {
    Report(static_cast<std::uint8_t>(kKey3 | key), 0);
    Report(kKey3, 0);
    EXPECT_TRUE(WaitUntil(
        [&] {
          for (const std::string& o : TakeOutputs(sim_, id_))
            if (o == kKeyPressScriptRan) return true;
          return false;
        },
        10000))
        << "key " << int(key);
  }
}

// The plain keypad's window, chosen from the tray: key 2 held down is selected and its editor
// opens. Key Caps > Add makes it a spacer, and the open window shows a blank at once: the editor
// goes without storing anything, the spacer's picture is drawn, and a click on it opens no
// editor.
TEST_F(KeyCapsProgram, ASpacerOfTheSelectedKeyIsABlankInTheOpenWindow) {
  constexpr std::uint8_t kKey2 = 0x04;
  id_ = AddSimKeypad(sim_, 2, 0x10);
  const auto report = [&](std::uint8_t keys) {  // the switch stays off: the tray opened the window
    const std::uint8_t bytes[9] = {0, keys, 0, 0, 0, 0, 0, 2, 0};
    VhxSimQueueInput(sim_, id_, bytes, 9);
  };
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(TypeFile(0x10, "Script_backup.oxs")); }, 20000)) << "no build";
  ASSERT_TRUE(ChooseTrayDevice(0));
  const HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  EXPECT_EQ(WindowText(window), "Qpad 12 ID:2");
  report(kKey2);
  const HWND editor = WaitForProcessWindow(program_.Id(), "Record/Edit Macro", 10000);
  ASSERT_TRUE(editor);

  PostMessageA(window, WM_COMMAND, IDM_PW_KEY_CAPS_ADD, 0);
  ASSERT_TRUE(Answer("Install Your Key-Cap", IDOK));
  ASSERT_TRUE(Answer("Spacers Detected", IDYES));
  const std::string script = TypeFile(0x10, "Script_2.oxs");
  ASSERT_TRUE(WaitUntil([&] { return ReadFileOr(script).find("//ORVX: Spacers\r\n//2\r\n") != std::string::npos; },
                        10000))
      << ReadFileOr(script);
  EXPECT_NE(ReadFileOr(script).find("DisableKey(2);"), std::string::npos);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));

  const POINT key2{150, 45};
  constexpr COLORREF kSpacerFace = RGB(0xb0, 0xb0, 0xb0);
  SetForegroundWindow(window);
  EXPECT_TRUE(WaitUntil([&] { return ClientPixel(CaptureScreenOf(window), window, key2.x, key2.y) == kSpacerFace; },
                        5000));
  EXPECT_FALSE(SaveScreenPicture(window, "programming_window_plain_spacer_added").empty());
  Click(window, key2);
  EXPECT_EQ(WaitForProcessWindow(program_.Id(), "Record/Edit Macro", 2000), nullptr);
}

}  // namespace
