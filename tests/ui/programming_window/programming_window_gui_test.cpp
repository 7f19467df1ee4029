// The programming window itself under the test display, driven with real messages: the sample
// LED keypad drawn and placed, the mouse and the device's keys, the menus, drops, the input
// gate, hidden mode, and the one teardown whatever closes it. Pictures of its main states go to
// build/pictures.
#include "ui/programming_window/programming_window.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "macros/gdiplus_view_images.h"
#include "macros/macro_editor.h"
#include "macros/macro_editor_window.h"
#include "macros/model/key_functions.h"
#include "macros/model/layout_file.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "macros/model/script_writer.h"
#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/input_dispatch.h"
#include "runtime/device/program_messages.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"
#include "ui/programming_window/keypad_geometry.h"
#include "ui/programming_window/programming_features.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace testsupport;
using namespace std::string_view_literals;

namespace {

// What the pieces beside the window were asked, in order.
std::string& Calls() {
  static std::string calls;
  return calls;
}

// "Invisible" of a registry of the test's own; a box is noted and answered OK.
class InvisibleRegistry : public SystemCalls {
 public:
  std::uint32_t invisible = 0;
  BoxAnswer ShowMessageBox(void*, const char*, const char* caption, BoxButtons, BoxIcon, BoxFlag) override {
    Calls() += std::string("box ") + caption + ";";
    return BoxAnswer::Ok;
  }
  std::optional<RegistryValue> ReadMachineValue(const std::string&, const std::string& name) override {
    if (name != "Invisible") return std::nullopt;
    RegistryValue v{kRegistryDword, std::vector<std::uint8_t>(4)};
    std::memcpy(v.bytes.data(), &invisible, 4);
    return v;
  }
};

// A drop as the shell makes it at a client point: the wide names, each ended by a zero, and
// the final zero.
HGLOBAL MakeDrop(POINT at, std::wstring_view files) {
  const std::size_t bytes = (files.size() + 1) * sizeof(wchar_t);
  const HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = at;
  drop->fWide = TRUE;
  std::memcpy(drop + 1, files.data(), files.size() * sizeof(wchar_t));
  GlobalUnlock(block);
  return block;
}

// The receiver finished the drop (DragFinish frees its memory).
bool IsFreed(HGLOBAL block) { return GlobalFlags(block) == GMEM_INVALID_HANDLE; }

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) Calls() += "child destroyed;";
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// The pieces beside the window as each test sets them: the editor's toggle is noted, unless the
// real editor is asked for.
class Features : public ProgrammingFeatures {
 public:
  bool realEditor = false;
  std::function<void(DeviceRecord&)> releaseUnsetDevice;
  std::function<bool(const MacroContext&, int, bool)> forwardKey;

  void ToggleMacroEditor(MacroContext& context, int key) override {
    if (realEditor)
      ::ToggleMacroEditor(context, key);
    else
      Calls() += "toggle " + std::to_string(key) + ";";
  }
  bool RegisterMacroEditorClass() override { return !realEditor || ::RegisterMacroEditorClass(); }
  void ReleaseUnsetDevice(DeviceRecord& device) override {
    if (releaseUnsetDevice) releaseUnsetDevice(device);
  }
  bool ForwardKeyToKeyCapDialogs(const MacroContext& context, int keyId, bool pressed) override {
    return forwardKey && forwardKey(context, keyId, pressed);
  }
};

// The window's own events, and the context's end noted.
class Events : public ProgrammingWindowEvents {
 public:
  void RemoveMacroContext(MacroContext& c) override {
    Calls() += std::string("close context, worker ") + (c.blinkWorker ? "running" : "stopped") + ";";
  }
};

class ProgrammingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdiplus_.Ok());
    ASSERT_TRUE(CopyTree(EnvOr("ORVANE_BIN") + "\\QpadDevices", dir_ / "QpadDevices"));
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
    record_.folder = FindDeviceFolder(kVendorId, 0x19, 0);
    ASSERT_NE(record_.folder, nullptr);
    record_.productId = 0x19;
    record_.unitId = 1;
    record_.setUp = true;
    record_.hasLayerLed = true;
    record_.backlightsAvailable = true;
    Calls().clear();
    ASSERT_TRUE(RegisterProgrammingClasses(features_));
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    SetProgrammingInputEnabled(true);
    FreeDeviceFolders();
  }

  HWND Open(bool hidden = false) { return Open(platform_, hidden); }
  HWND Open(SystemCalls& calls, bool hidden = false) {
    window_ = OpenProgrammingWindow(calls, NewContext(), record_, hidden, features_);
    return window_;
  }
  HWND Show() { return Show(platform_); }
  HWND Show(SystemCalls& calls) {
    window_ = ShowProgrammingWindow(calls, NewContext(), record_, features_);
    return window_;
  }
  std::unique_ptr<MacroContext> NewContext() { return std::make_unique<MacroContext>(events_); }
  MacroContext& Context() { return *ProgrammingContextOf(window_); }
  // The centre of a key (by id) in client coordinates.
  POINT Centre(int id) {
    const KeyRecord& k = Context().keys[FindKeyIndex(Context().keys, id)];
    return {static_cast<LONG>(k.key.x + k.key.w / 2), static_cast<LONG>(k.key.y + k.key.h / 2)};
  }
  void Mouse(UINT msg, POINT at, WPARAM keys = 0) { SendMessageA(window_, msg, keys, MAKELPARAM(at.x, at.y)); }
  void Click(POINT at) {
    Mouse(WM_MOUSEMOVE, at);
    Mouse(WM_LBUTTONDOWN, at, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, at);
  }
  void GiveMacro(int keyIndex, LayerColour colour, const wchar_t* step) {
    MacroEntry e;
    e.event = KeyEvent::Down;
    e.colour = colour;
    e.program = "Pnr";
    ParseMacroStep(e, 0, step, L"");
    Context().keys[keyIndex].entries.push_back(e);
  }
  // A pixel of the window's picture, in client coordinates.
  COLORREF Pixel(const WindowPicture& picture, int x, int y) {
    RECT outer;
    GetWindowRect(window_, &outer);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    return picture.At(x + origin.x - outer.left, y + origin.y - outer.top);
  }

  GdiplusSession gdiplus_;
  SystemCalls platform_;  // the platform's own
  ScratchDir dir_{"progwin"};
  Features features_;
  Events events_;
  DeviceRecord record_;
  HWND window_ = nullptr;
};

TEST_F(ProgrammingWindowTest, OpensPlacedTitledAndDrawnInBothLayers) {
  ASSERT_TRUE(Open());
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_EQ(ClassName(window_), kProgrammingWindowClass);
  EXPECT_EQ(WindowText(window_), "Qpad 24 LED ID:1 - Green Layer");
  EXPECT_EQ(reinterpret_cast<MacroContext*>(GetWindowLongPtrA(window_, GWLP_USERDATA)), &Context());
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  RECT outer, client;
  GetWindowRect(window_, &outer);
  GetClientRect(window_, &client);
  EXPECT_EQ((WindowPlacement{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top}),
            PlaceProgrammingWindow(400, 310, ScreenArea{work.left, work.top, work.right, work.bottom}));
  // The frame rule leaves exactly the canvas as the client area.
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 310);
  // Backlights: the item stays (the device has them); keyswitch: it goes.
  HMENU bar = GetMenu(window_);
  EXPECT_NE(GetMenuState(bar, IDM_PW_BACKLIGHTS, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuState(bar, IDM_PW_KEYSWITCH_MODE, MF_BYCOMMAND), static_cast<UINT>(-1));

  // Labels to look at: a macro in each colour, and a toggle key.
  GiveMacro(0, LayerColour::Green, L"/Hello");
  GiveMacro(0, LayerColour::Red, L"<Return>");
  GiveMacro(1, LayerColour::Green, L"{Ctrl+c}");
  Context().toggleKeys.insert(2);
  PaintKeypad(Context());
  UpdateWindow(window_);

  // The lit indicator follows the layer (green LED at 178,16; red at 206,16; 16 by 16).
  WindowPicture green = CaptureWindow(window_);
  SavePicture(window_, "programming_window_green");
  SendMessageA(window_, WM_COMMAND, IDM_PW_RED_LAYER, 0);
  EXPECT_EQ(WindowText(window_), "Qpad 24 LED ID:1 - Red Layer");
  EXPECT_TRUE(record_.redLayer);
  WindowPicture red = CaptureWindow(window_);
  SavePicture(window_, "programming_window_red");
  EXPECT_NE(Pixel(green, 186, 24), Pixel(red, 186, 24));
  EXPECT_NE(Pixel(green, 214, 24), Pixel(red, 214, 24));
  EXPECT_NE(Pixel(green, 50, 75), Pixel(red, 50, 75));  // key 0 in the other colour

  // The caption's double click does not maximise it.
  SendMessageA(window_, WM_SYSCOMMAND, SC_MAXIMIZE | 2, 0);
  EXPECT_FALSE(IsZoomed(window_));
}

TEST_F(ProgrammingWindowTest, ClickAndDeviceKeySelectTheSameKey) {
  ASSERT_TRUE(Open());
  const POINT key7 = Centre(7);
  const WindowPicture before = CaptureWindow(window_);
  Mouse(WM_MOUSEMOVE, key7);
  Mouse(WM_LBUTTONDOWN, key7, MK_LBUTTON);
  SavePicture(window_, "programming_window_key_pressed");
  const WindowPicture pressed = CaptureWindow(window_);
  Mouse(WM_LBUTTONUP, key7);
  const int index7 = FindKeyIndex(Context().keys, 7);
  EXPECT_EQ(Calls(), "toggle " + std::to_string(index7) + ";");
  // Releasing elsewhere opens nothing.
  Calls().clear();
  Mouse(WM_LBUTTONDOWN, Centre(16), MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, Centre(17), MK_LBUTTON);
  Mouse(WM_LBUTTONUP, Centre(17));
  EXPECT_EQ(Calls(), "");
  Mouse(WM_MOUSEMOVE, POINT{5, 5});

  // The real key 7 selects the same key.
  OnDeviceKeyInProgramming(window_, 7);
  ReleaseKeyInView(window_, 7);
  EXPECT_EQ(Calls(), "toggle " + std::to_string(index7) + ";");
  EXPECT_EQ(Context().hotKeyId, 7);
  SavePicture(window_, "programming_window_key_selected");
  const WindowPicture selected = CaptureWindow(window_);
  EXPECT_NE(Pixel(before, key7.x, key7.y), Pixel(pressed, key7.x, key7.y));
  EXPECT_NE(Pixel(before, key7.x, key7.y), Pixel(selected, key7.x, key7.y));
  EXPECT_NE(Pixel(pressed, key7.x, key7.y), Pixel(selected, key7.x, key7.y));

  // While the editor is open the mouse does nothing.
  Calls().clear();
  Context().editingEntry = true;
  Click(Centre(1));
  EXPECT_EQ(Calls(), "");
}

TEST_F(ProgrammingWindowTest, TheInputGateBlocksInputButNotPaintingOrClosing) {
  ASSERT_TRUE(Open());
  SetProgrammingInputEnabled(false);
  Click(Centre(1));
  SendMessageA(window_, WM_COMMAND, IDM_PW_RED_LAYER, 0);
  EXPECT_EQ(Calls(), "");
  EXPECT_FALSE(record_.redLayer);
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
  RECT dirty;
  EXPECT_FALSE(GetUpdateRect(window_, &dirty, FALSE));  // painted, not swallowed
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window_));
  // Destroyed all the same (the device went): the teardown runs and opens the gate again.
  DestroyWindow(window_);
  EXPECT_NE(Calls().find("close context"), std::string::npos);
  EXPECT_TRUE(IsProgrammingInputEnabled());
}

TEST_F(ProgrammingWindowTest, OneTeardownClosesChildrenFirstThenTheContext) {
  ASSERT_TRUE(Open());
  WNDCLASSA wc{};
  wc.lpfnWndProc = ChildProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ProgrammingTestChild";
  RegisterClassA(&wc);
  ASSERT_TRUE(CreateWindowA(wc.lpszClassName, "", WS_CHILD, 0, 0, 10, 10, window_, nullptr, wc.hInstance, nullptr));
  ASSERT_TRUE(CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, window_, nullptr, wc.hInstance, nullptr));
  record_.programmingRequested = true;
  record_.programmingWindow = window_;
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window_));
  // The blink worker had stopped before the context was closed.
  EXPECT_EQ(Calls(), "child destroyed;child destroyed;close context, worker stopped;");
  EXPECT_FALSE(record_.programmingRequested);
  EXPECT_TRUE(record_.rebuildScript);
  EXPECT_EQ(record_.programmingWindow, nullptr);
  EXPECT_EQ(record_.macroContext, nullptr);
  EXPECT_EQ(ProgrammingContextOf(window_), nullptr);
}

TEST_F(ProgrammingWindowTest, HiddenWhenInvisibleUnlessProgrammingWasRequested) {
  InvisibleRegistry registry;
  registry.invisible = 1;
  Show(registry);
  ASSERT_TRUE(window_);
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_TRUE(Context().hiddenMode);
  EXPECT_TRUE(GetMenu(window_) && (GetMenuState(GetMenu(window_), IDM_PW_HIDDEN_MODE, MF_BYCOMMAND) & MF_CHECKED));
  EXPECT_FALSE(SavePicture(window_, "programming_window_hidden").empty());
  // The tray's request shows it.
  record_.programmingWindow = window_;
  RevealProgrammingWindow(record_.programmingWindow);  // as the tray's request does
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_FALSE(Context().hiddenMode);
  DestroyWindow(window_);

  record_.programmingRequested = true;  // the tray's request always shows it
  Show(registry);
  ASSERT_TRUE(window_);
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_FALSE(Context().hiddenMode);
  // The item still shows the setting.
  EXPECT_TRUE(GetMenuState(GetMenu(window_), IDM_PW_HIDDEN_MODE, MF_BYCOMMAND) & MF_CHECKED);
}

// The real "Macro Input" editor follows the window: made hidden while the window is hidden, shown
// once the tray's request has shown the window, and shown in a window that a request opened.
TEST_F(ProgrammingWindowTest, TheEditorIsHiddenOnlyWhileTheWindowIs) {
  features_.realEditor = true;
  ASSERT_TRUE(RegisterProgrammingClasses(features_));
  InvisibleRegistry registry;
  registry.invisible = 1;
  const auto editor = [] {
    MacroEditorWindow* open = MacroEditorWindow::Current();
    return open ? open->hwnd() : nullptr;
  };
  const auto pressKey = [&] {
    OnDeviceKeyInProgramming(window_, 3);
    ReleaseKeyInView(window_, 3);
    PumpMessages(50);
  };

  Show(registry);
  ASSERT_TRUE(window_);
  record_.programmingWindow = window_;
  pressKey();
  ASSERT_TRUE(editor());
  EXPECT_FALSE(IsWindowVisible(editor()));
  pressKey();  // the key again closes it
  ASSERT_EQ(editor(), nullptr);

  RevealProgrammingWindow(record_.programmingWindow);  // as the tray's request does
  ASSERT_TRUE(IsWindowVisible(window_));
  pressKey();
  ASSERT_TRUE(editor());
  EXPECT_TRUE(IsWindowVisible(editor()));
  DestroyWindow(window_);
  EXPECT_EQ(editor(), nullptr);

  record_.programmingRequested = true;
  Show(registry);
  ASSERT_TRUE(window_);
  record_.programmingWindow = window_;
  pressKey();
  ASSERT_TRUE(editor());
  EXPECT_TRUE(IsWindowVisible(editor()));
  EXPECT_EQ(Calls().find("box "), std::string::npos) << Calls();
}

TEST_F(ProgrammingWindowTest, FilesDroppedOnAKeyBecomeItsSteps) {
  ASSERT_TRUE(Open());
  const HGLOBAL block = MakeDrop(Centre(2), L"C:\\Docs\\plan.txt\0C:\\Docs\\list.txt\0"sv);
  SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
  EXPECT_TRUE(IsFreed(block));
  EXPECT_GE(FindKeyFunction(Context().functions, 2, KeyEvent::Down, LayerColour::Green, "Pnr"), 0);
  const std::string script = ReadFileOr(dir_ / "QpadDevices\\Vid0a7cPid0019\\Script_1.oxs");
  EXPECT_NE(script.find("[Open: plan.txt]"), std::string::npos) << script;
  EXPECT_NE(script.find("[Open: list.txt]"), std::string::npos);
}

// A drop's memory is freed whatever answers it: the closed input gate, a mode that takes it, a
// point beside every key. None of them adds a step.
TEST_F(ProgrammingWindowTest, EveryDropIsFinishedWhoeverTakesIt) {
  class TakesDrops : public ProgrammingWindowMode {
   public:
    bool HandleMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) override {
      result = 0;
      return msg == WM_DROPFILES;
    }
  } mode;
  enum class Way { kInputGate, kMode, kBesideTheKeys };
  ASSERT_TRUE(Open());
  for (Way way : {Way::kInputGate, Way::kMode, Way::kBesideTheKeys}) {
    if (way == Way::kInputGate) SetProgrammingInputEnabled(false);
    if (way == Way::kMode) SetProgrammingWindowMode(window_, &mode);
    const POINT at = way == Way::kBesideTheKeys ? POINT{1, 1} : Centre(2);
    const HGLOBAL block = MakeDrop(at, L"C:\\Docs\\plan.txt\0"sv);
    SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    EXPECT_TRUE(IsFreed(block)) << static_cast<int>(way);
    SetProgrammingInputEnabled(true);
    SetProgrammingWindowMode(window_, nullptr);
    EXPECT_TRUE(Context().functions.items.empty()) << static_cast<int>(way);
  }
}

TEST_F(ProgrammingWindowTest, AScriptWithoutADeviceKeepsItsLayerAndGivesItsRecordBackOnce) {
  static int released = 0;
  released = 0;
  features_.releaseUnsetDevice = [](DeviceRecord&) { ++released; };
  record_.setUp = false;  // a script opened without its device
  ASSERT_TRUE(Open());
  SendMessageA(window_, WM_COMMAND, IDM_PW_RED_LAYER, 0);
  ASSERT_TRUE(record_.redLayer);
  // Blinks come and go (500 ms each): the layer shown stays red.
  PumpMessages(1200);
  EXPECT_TRUE(record_.redLayer);
  // Closed from elsewhere (the script editor's own end), the record stays its owner's.
  DestroyWindow(window_);
  EXPECT_EQ(released, 0);
  // Exit gives it back, once, after the teardown.
  ASSERT_TRUE(Open());
  SendMessageA(window_, WM_COMMAND, IDM_PW_EXIT, 0);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(released, 1);
}

TEST_F(ProgrammingWindowTest, AScriptFromTheEditorOpensWithItsLayoutAndItsOwnRecord) {
  static std::string released;
  released.clear();
  features_.releaseUnsetDevice = [](DeviceRecord& device) { released += device.moduleName + ";"; };
  const std::string script = dir_ / "Chosen.oxs";
  {
    MacroContext layout;
    AddKeyFunction(layout.functions, 5, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n//ORVX: \"/five\"\nSendString(\"five\");\n}");
    ASSERT_TRUE(WriteScriptFile(layout, script));
  }
  auto device = std::make_unique<DeviceRecord>();
  device->folder = record_.folder;
  device->productId = 0x19;
  device->moduleName = script;
  window_ = OpenProgrammingWindowForScript(platform_, std::move(device), features_, events_);
  ASSERT_TRUE(window_);
  const MacroContext& c = Context();
  const int five = FindKeyIndex(c.keys, 5);
  ASSERT_GE(five, 0);
  ASSERT_EQ(c.keys[five].entries.size(), 1u);
  EXPECT_EQ(c.keys[five].entries[0].steps[0].text, L"/five");
  SendMessageA(window_, WM_COMMAND, IDM_PW_EXIT, 0);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(released, script + ";");

  // At the device thread's end such a window has no record to close it: it is closed with the
  // thread's other windows, through its teardown.
  device = std::make_unique<DeviceRecord>();
  device->folder = record_.folder;
  device->moduleName = script;
  window_ = OpenProgrammingWindowForScript(platform_, std::move(device), features_, events_);
  ASSERT_TRUE(window_);
  Calls().clear();
  CloseProgrammingWindows();
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(Calls(), "close context, worker stopped;");
  EXPECT_EQ(OpenProgrammingWindowCount(), 0);
}

TEST_F(ProgrammingWindowTest, AnotherModeTakesMessagesFirstAndTheTeardownStillRuns) {
  class Legend : public ProgrammingWindowMode {
   public:
    bool HandleMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& result) override {
      if (msg == WM_DESTROY) Calls() += "mode destroyed;";
      if (msg != WM_COMMAND) return false;
      Calls() += "mode command " + std::to_string(LOWORD(wParam)) + ";";
      result = 0;
      return true;
    }
  } legend;
  ASSERT_TRUE(Open());
  SetProgrammingWindowMode(window_, &legend);
  SendMessageA(window_, WM_COMMAND, IDM_PW_RED_LAYER, 0);
  EXPECT_FALSE(record_.redLayer);
  OnDeviceKeyInProgramming(window_, 3);  // no key of the keypad in this mode
  EXPECT_EQ(Calls(), "mode command 32898;");
  DestroyWindow(window_);
  EXPECT_EQ(Calls(), "mode command 32898;mode destroyed;close context, worker stopped;");
}

TEST_F(ProgrammingWindowTest, KeysGoToTheKeyCapDialogsFirst) {
  ASSERT_TRUE(Open());
  // The key caps' routing, for the window's context: a press it takes goes no further.
  static bool take = true;
  static const MacroContext* asked = nullptr;
  features_.forwardKey = [](const MacroContext& context, int keyId, bool pressed) {
    Calls() += std::string(pressed ? "cap press " : "cap release ") + std::to_string(keyId) + ";";
    asked = &context;
    return take;
  };
  OnDeviceKeyInProgramming(window_, 3);
  take = false;
  OnDeviceKeyInProgramming(window_, 3);
  ReleaseKeyInView(window_, 3);
  EXPECT_EQ(Calls(), "cap press 3;cap press 3;toggle " + std::to_string(FindKeyIndex(Context().keys, 3)) +
                         ";cap release 3;");
  EXPECT_EQ(asked, &Context());
}

// A box is noted with its text and answered OK.
class NotedBoxes : public SystemCalls {
 public:
  std::string shown;
  BoxAnswer ShowMessageBox(void*, const char* text, const char* caption, BoxButtons, BoxIcon, BoxFlag) override {
    shown += std::string(caption) + ": " + text + ";";
    return BoxAnswer::Ok;
  }
};

TEST_F(ProgrammingWindowTest, ALayoutThatCannotBeShownOpensNoWindowAndSaysWhy) {
  const std::string type = dir_ / "QpadDevices\\Vid0a7cPid0019";
  const std::string why =
      "Orvane II Error: The programming window of Qpad 24 LED ID:1 cannot open: its layout file or its pictures "
      "could not be loaded.\n";
  struct Case {
    const char* removed;
    std::string named;  // the file the box names
  };
  // Without its pictures, then without its layout file as well.
  for (const Case& c : {Case{"background.png", type + "\\layout.kll"}, Case{"layout.kll", type + "\\layout.kll"}}) {
    SCOPED_TRACE(c.removed);
    ASSERT_TRUE(DeleteFileA((type + "\\" + c.removed).c_str()));
    NotedBoxes boxes;
    const int before = OpenProgrammingWindowCount();
    EXPECT_EQ(Open(boxes), nullptr);
    EXPECT_EQ(OpenProgrammingWindowCount(), before);
    EXPECT_EQ(FindOwnWindow(kProgrammingWindowClass), nullptr);
    EXPECT_EQ(Calls(), "");  // nothing to tear down: nothing was started
    EXPECT_EQ(boxes.shown, why + c.named + ";");
  }
}

}  // namespace
