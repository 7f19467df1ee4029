// Key caps in the programming window under the test display: caps and a spacer of the device's
// script drawn with their pictures, and a cap added and removed through the Key Caps menu with
// the device's keys going through the window to the dialogs. Pictures go to build/pictures.
#include "ui/key_caps/key_caps.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "macros/gdiplus_view_images.h"
#include "macros/model/macro_context.h"
#include "macros/model/script_writer.h"
#include "platform/base/system_calls.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "tests/macros/model/golden_layouts.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"
#include "tests/ui/key_caps/key_cap_fixture.h"
#include "ui/key_caps/key_cap_dialogs.h"
#include "ui/programming_window/programming_features.h"
#include "ui/programming_window/programming_window.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace testsupport;

namespace {

std::string& Calls() {
  static std::string calls;
  return calls;
}

// OK and Yes to every question; no "Invisible" in the registry.
class Answers : public SystemCalls {
 public:
  BoxAnswer ShowMessageBox(void*, const char*, const char* caption, BoxButtons buttons, BoxIcon, BoxFlag) override {
    Calls() += std::string("box ") + caption + ";";
    return buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
  }
  std::optional<RegistryValue> ReadMachineValue(const std::string&, const std::string&) override {
    return std::nullopt;
  }
};

constexpr COLORREF kSpacerFace = RGB(0xb0, 0xb0, 0xb0);

// The face of a cap's picture: its own, or the green layer's under the mouse (the pointer of
// the shared test display may rest on the window).
bool IsCapFace(COLORREF c) { return c == RGB(0xe0, 0xe0, 0xe8) || c == RGB(0xea, 0xf6, 0xea); }

// The key caps beside the window as the program has them, with the editor's toggle and cancel
// as each test sets them.
class KeyCapFeatures : public ProgrammingFeatures, public ProgrammingWindowEvents {
 public:
  std::function<void(MacroContext&, int)> toggle = [](MacroContext&, int key) {
    Calls() += "toggle " + std::to_string(key) + ";";
  };
  std::function<void(MacroContext&)> cancel = [](MacroContext&) {};

  void ToggleMacroEditor(MacroContext& c, int key) override { toggle(c, key); }
  void CancelMacroEditor(MacroContext& c) override { cancel(c); }
  void AddKeyCap(MacroContext& c, HWND window) override { keyCaps_.Add(c, window); }
  void RemoveKeyCap(MacroContext& c, HWND window) override { keyCaps_.Remove(c, window); }
  void ClearKeySpacer(MacroContext& c, int keyId) override { keyCaps_.ClearSpacer(c, keyId); }
  bool ForwardKeyToKeyCapDialogs(const MacroContext& c, int keyId, bool pressed) override {
    return keyCaps_.ForwardKey(c, keyId, pressed);
  }
  void ChangeKeyCap(MacroContext& c, const KeyRecord& cap, const std::vector<int>& covered, int kind,
                    bool store) override {
    keyCaps_.ChangeKeyCap(c, cap, covered, kind, store);
  }
  void ShowSpacer(MacroContext& c, int keyId) override { keyCaps_.ShowSpacer(c, keyId); }

 private:
  KeyCapsFeature keyCaps_{*this};
};

class KeyCapsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdiplus_.Ok());
    ASSERT_TRUE(CopyTree(EnvOr("ORVANE_BIN") + "\\QpadDevices", dir_ / "QpadDevices"));
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
    ASSERT_TRUE(Prepare(record_, 1));
    PublishDeviceTable(&table_);
    Calls().clear();
    ASSERT_TRUE(RegisterProgrammingClasses(features_));
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    PublishDeviceTable(nullptr);
    SetProgrammingInputEnabled(true);
    FreeDeviceFolders();
  }

  // A keypad of the sample type with that unit id, set up.
  static bool Prepare(DeviceRecord& record, int unit) {
    record.folder = FindDeviceFolder(kVendorId, 0x19, 0);
    record.productId = 0x19;
    record.unitId = unit;
    record.setUp = true;
    record.hasLayerLed = true;
    return record.folder != nullptr;
  }
  std::string Script() const { return dir_ / "QpadDevices\\Vid0a7cPid0019\\Script_1.oxs"; }
  HWND Open() {
    window_ = OpenProgrammingWindowFor(answers_, record_, features_, features_);
    PumpMessages(100);
    return window_;
  }
  MacroContext& Context() { return *ProgrammingContextOf(window_); }
  const KeyRecord& Key(int id) { return Context().keys[FindKeyIndex(Context().keys, id)]; }
  // A pixel of the window's picture, in client coordinates.
  COLORREF Pixel(int x, int y) { return ClientPixel(CaptureWindow(window_), window_, x, y); }

  GdiplusSession gdiplus_;
  ScratchDir dir_{"capwin"};
  KeyCapFeatures features_;
  DeviceRecords table_;
  DeviceRecord& record_ = *table_.emplace_back(std::make_unique<DeviceRecord>());
  HWND window_ = nullptr;
  Answers answers_;
};

TEST_F(KeyCapsWindow, CapsAndASpacerOfTheScriptAreDrawnAsSuch) {
  {
    MacroContext made;
    made.keys = PadKeys();
    RecordingPort port;
    ASSERT_TRUE(MakeDetectedKeyCap(made, {kDoubleWideCap, {0, 1}}, port));           // id 8
    ASSERT_TRUE(MakeDetectedKeyCap(made, {kDoubleTallCap, {5, 19}}, port));          // id 9
    ASSERT_TRUE(MakeDetectedKeyCap(made, {kQuadCap, {0x20, 0x21, 0x26, 0x27}}, port));  // id 10
    ASSERT_TRUE(SetKeySpacer(made, 0x11, true, port));
    Program(made, 8, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/wide cap", L""}});
    Program(made, 10, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"<Return>", L""}});
    ASSERT_TRUE(WriteScriptFile(made, Script()));
  }
  ASSERT_TRUE(Open());
  EXPECT_EQ(Key(8).capKind, kDoubleWideCap);
  EXPECT_EQ(Key(9).capKind, kDoubleTallCap);
  EXPECT_EQ(Key(10).capKind, kQuadCap);
  EXPECT_EQ(Key(0).capKind, kCoveredByCap);
  EXPECT_EQ(Key(0x11).capKind, kSpacerKey);
  EXPECT_NE(Key(0x11).images[kNormalImage], nullptr);
  EXPECT_NE(Key(10).images[kNormalImage], nullptr);
  // Over the seams between covered keys lies the cap's face; the spacer shows its own.
  EXPECT_TRUE(IsCapFace(Pixel(80, 55)));    // keys 0 and 1
  EXPECT_TRUE(IsCapFace(Pixel(350, 105)));  // keys 5 and 0x13
  EXPECT_TRUE(IsCapFace(Pixel(320, 225)));  // the middle of the quad
  EXPECT_EQ(Pixel(230, 113), kSpacerFace);
  EXPECT_FALSE(SavePicture(window_, "programming_window_key_caps").empty());
  SendMessageA(window_, WM_COMMAND, IDM_PW_RED_LAYER, 0);
  EXPECT_FALSE(SavePicture(window_, "programming_window_key_caps_red").empty());
}

TEST_F(KeyCapsWindow, ACapIsAddedAndRemovedThroughTheMenuWithTheDevicesKeys) {
  ASSERT_TRUE(Open());
  const POINT gap{199, 135};  // the edge of key 0x10, beside 0x11
  EXPECT_FALSE(IsCapFace(Pixel(gap.x, gap.y)));

  SendMessageA(window_, WM_COMMAND, IDM_PW_KEY_CAPS_ADD, 0);
  const HWND detection = GetKeyCapDialogs().detection;
  ASSERT_TRUE(detection);
  EXPECT_FALSE(IsProgrammingInputEnabled());
  EXPECT_EQ(Calls(), "box Install Your Key-Cap;");
  // The window's clicks and commands wait; the device's keys go to the dialog.
  SendMessageA(window_, WM_COMMAND, IDM_PW_KEY_CAPS_ADD, 0);
  for (int key : {0x10, 0x11, 0x16, 0x17}) OnDeviceKeyInProgramming(window_, key);
  for (int key : {0x10, 0x11, 0x16, 0x17}) ReleaseKeyInView(window_, key);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(detection); }, 3000));
  EXPECT_EQ(GetKeyCapDialogs().detection, nullptr);
  EXPECT_TRUE(IsProgrammingInputEnabled());
  EXPECT_EQ(Calls(), "box Install Your Key-Cap;");  // no editor, no second command
  EXPECT_EQ(Key(8).capKind, kQuadCap);
  EXPECT_NE(ReadFileOr(Script()).find("//ORVX: KeyCaps\r\n//4\r\n//8\r\n"), std::string::npos);
  PumpMessages(100);
  EXPECT_TRUE(IsCapFace(Pixel(gap.x, gap.y)));
  EXPECT_FALSE(SavePicture(window_, "programming_window_quad_cap_added").empty());

  // A key under the cap stands for it; a second one held with it opens nothing more.
  Calls().clear();
  OnDeviceKeyInProgramming(window_, 0x11);
  OnDeviceKeyInProgramming(window_, 0x16);
  ReleaseKeyInView(window_, 0x16);
  ReleaseKeyInView(window_, 0x11);
  EXPECT_EQ(Calls(), "toggle " + std::to_string(FindKeyIndex(Context().keys, 8)) + ";");

  // Removed by a key it covered.
  Calls().clear();
  SendMessageA(window_, WM_COMMAND, IDM_PW_KEY_CAPS_REMOVE, 0);
  const HWND removal = GetKeyCapDialogs().removal;
  ASSERT_TRUE(removal);
  EXPECT_TRUE(IsProgrammingInputEnabled());
  OnDeviceKeyInProgramming(window_, 0x16);
  ReleaseKeyInView(window_, 0x16);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(removal); }, 3000));
  EXPECT_EQ(Calls(), "");
  EXPECT_EQ(FindKeyIndex(Context().keys, 8), -1);
  EXPECT_EQ(Key(0x16).capKind, kPlainKey);
  EXPECT_EQ(ReadFileOr(Script()).find("//ORVX: KeyCaps"), std::string::npos);
  PumpMessages(100);
  EXPECT_FALSE(IsCapFace(Pixel(gap.x, gap.y)));
}

// Key 3 held down while the window is open: it is selected and its editor opens. Key Caps > Add
// then finds it a new spacer, and the open window shows a blank at once: the spacer's picture,
// no label, no editor, and a click on it opens none.
TEST_F(KeyCapsWindow, ASpacerAddedThroughTheMenuIsABlankAtOnce) {
  {
    MacroContext made;
    made.keys = PadKeys();
    Program(made, 3, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/label of three", L""}});
    ASSERT_TRUE(WriteScriptFile(made, Script()));
  }
  features_.toggle = [](MacroContext& c, int key) {
    Calls() += "toggle " + std::to_string(c.keys[key].keyId) + ";";
    c.editingEntry = !c.editingEntry;
    c.currentKey = c.editingEntry ? c.keys[key].keyId : kNoKeyId;
  };
  features_.cancel = [](MacroContext& c) {
    Calls() += "cancel;";
    c.editingEntry = false;
    c.currentKey = kNoKeyId;
  };
  ASSERT_TRUE(Open());
  // The keypad's reports: key bytes 1 to 3; keys 3 and 4 held.
  record_.firstKeyByte = 1;
  record_.lastKeyByte = 3;
  record_.currentReport = {0, 0x18, 0, 0, 0x10, 0, 0, 1, 0};
  record_.previousReport = record_.currentReport;
  record_.keyEnableMask.assign(record_.currentReport.size(), 0xFF);
  OnDeviceKeyInProgramming(window_, 3);
  EXPECT_EQ(Calls(), "toggle 3;");
  EXPECT_EQ(Key(3).state, kStateOver);
  PumpMessages(100);
  const POINT key3{230, 53};
  const COLORREF selected = Pixel(key3.x, key3.y);
  EXPECT_NE(selected, kSpacerFace);

  Calls().clear();
  SendMessageA(window_, WM_COMMAND, IDM_PW_KEY_CAPS_ADD, 0);
  EXPECT_EQ(Calls(), "box Install Your Key-Cap;box Spacers Detected;cancel;");
  EXPECT_EQ(Key(3).capKind, kSpacerKey);
  EXPECT_EQ(Key(4).capKind, kSpacerKey);
  EXPECT_EQ(Key(3).state, kStateNormal);
  EXPECT_EQ(Context().hotKeyId, kNoKeyId);
  EXPECT_NE(ReadFileOr(Script()).find("//ORVX: Spacers\r\n//3\r\n//4\r\n"), std::string::npos);
  PumpMessages(100);
  EXPECT_EQ(Pixel(key3.x, key3.y), kSpacerFace);
  EXPECT_FALSE(SavePicture(window_, "programming_window_spacer_added").empty());
  // No label: it looks as key 4 beside it, a spacer put in with it that never had a macro.
  const WindowPicture shown = CaptureWindow(window_);
  for (int y = 45; y < 105; ++y)
    for (int x = 200; x < 260; ++x)
      ASSERT_EQ(ClientPixel(shown, window_, x, y), ClientPixel(shown, window_, x + 60, y)) << x << "," << y;

  // Neither the mouse nor the key itself selects it again.
  Calls().clear();
  const LPARAM at = MAKELPARAM(key3.x, key3.y);
  SendMessageA(window_, WM_MOUSEMOVE, 0, at);
  SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(window_, WM_LBUTTONUP, 0, at);
  OnDeviceKeyInProgramming(window_, 3);
  EXPECT_EQ(Calls(), "");
  EXPECT_EQ(Key(3).state, kStateNormal);
  PumpMessages(100);
  EXPECT_EQ(Pixel(key3.x, key3.y), kSpacerFace);
}

TEST_F(KeyCapsWindow, TheWindowsCloseEndsAnOpenDialogAndGivesTheInputBack) {
  ASSERT_TRUE(Open());
  SendMessageA(window_, WM_COMMAND, IDM_PW_KEY_CAPS_ADD, 0);
  const HWND detection = GetKeyCapDialogs().detection;
  ASSERT_TRUE(detection);
  DestroyWindow(window_);
  EXPECT_FALSE(IsWindow(detection));
  EXPECT_EQ(GetKeyCapDialogs().detection, nullptr);
  EXPECT_TRUE(IsProgrammingInputEnabled());
}

// Two keypads of one type, each with its window: the keys of one never reach a dialog opened
// over the other, where the same ids are other keys (here, under a cap of the first's).
TEST_F(KeyCapsWindow, AWindowsKeysReachOnlyTheDialogsOfItsOwnKeypad) {
  {
    MacroContext made;
    made.keys = PadKeys();
    RecordingPort port;
    ASSERT_TRUE(MakeDetectedKeyCap(made, {kDoubleWideCap, {0, 1}}, port));  // id 8
    ASSERT_TRUE(WriteScriptFile(made, Script()));
  }
  DeviceRecords pads;
  for (int i = 0; i < 2; ++i) pads.push_back(std::make_unique<DeviceRecord>());
  ASSERT_TRUE(Prepare(*pads[0], 1) && Prepare(*pads[1], 2));
  PublishDeviceTable(&pads);
  const HWND first = OpenProgrammingWindowFor(answers_, *pads[0], features_, features_);
  const HWND second = OpenProgrammingWindowFor(answers_, *pads[1], features_, features_);
  ASSERT_TRUE(first && second);
  PumpMessages(100);
  MacroContext& own = *ProgrammingContextOf(first);
  MacroContext& other = *ProgrammingContextOf(second);
  ASSERT_EQ(own.keys[FindKeyIndex(own.keys, 0)].capKind, kCoveredByCap);
  const auto toggled = [&](int key) { return "toggle " + std::to_string(FindKeyIndex(other.keys, key)) + ";"; };

  // Removal over the first: the second's key 0 opens its own editor and leaves the cap on.
  Calls().clear();
  SendMessageA(first, WM_COMMAND, IDM_PW_KEY_CAPS_REMOVE, 0);
  const HWND removal = KeyCapDialogWindow(KeyCapDialogKind::kRemoval);
  ASSERT_TRUE(removal);
  EXPECT_EQ(KeyCapDialogWindow(KeyCapDialogKind::kRemoval, other), nullptr);
  OnDeviceKeyInProgramming(second, 0);
  ReleaseKeyInView(second, 0);
  PumpMessages(100);
  EXPECT_TRUE(IsWindow(removal));
  EXPECT_GE(FindKeyIndex(own.keys, 8), 0);
  EXPECT_EQ(Calls(), toggled(0));
  SendMessageA(removal, WM_COMMAND, IDCANCEL, 0);
  ASSERT_FALSE(IsWindow(removal));

  // Detection over the first: a group pressed on the second makes no cap on either keypad; the
  // same group on the first does.
  Calls().clear();
  SendMessageA(first, WM_COMMAND, IDM_PW_KEY_CAPS_ADD, 0);
  const HWND detection = KeyCapDialogWindow(KeyCapDialogKind::kDetection);
  ASSERT_TRUE(detection);
  const std::size_t keysBefore = own.keys.size();
  for (int key : {0x10, 0x11, 0x16, 0x17}) OnDeviceKeyInProgramming(second, key);
  for (int key : {0x10, 0x11, 0x16, 0x17}) ReleaseKeyInView(second, key);
  PumpMessages(100);
  EXPECT_TRUE(IsWindow(detection));
  EXPECT_EQ(own.keys.size(), keysBefore);
  EXPECT_EQ(own.keys[FindKeyIndex(own.keys, 0x10)].capKind, kPlainKey);
  EXPECT_EQ(Calls(), "box Install Your Key-Cap;" + toggled(0x10) + toggled(0x11) + toggled(0x16) + toggled(0x17));
  for (int key : {0x10, 0x11, 0x16, 0x17}) OnDeviceKeyInProgramming(first, key);
  for (int key : {0x10, 0x11, 0x16, 0x17}) ReleaseKeyInView(first, key);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(detection); }, 3000));
  EXPECT_EQ(own.keys[FindKeyIndex(own.keys, 0x10)].capKind, kCoveredByCap);
  EXPECT_EQ(other.keys[FindKeyIndex(other.keys, 0x10)].capKind, kPlainKey);

  DestroyWindow(first);
  DestroyWindow(second);
  PublishDeviceTable(nullptr);
}

}  // namespace
