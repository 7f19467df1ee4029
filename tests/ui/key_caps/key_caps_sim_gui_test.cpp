// Key caps and spacers on a simulated keypad through the real device thread: the Key Caps
// commands run on that thread from a stand-in for the programming window, the device's reports
// reach the dialogs, and the device script keeps what was installed.
#include "ui/key_caps/key_caps.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "macros/device_macro_device.h"
#include "macros/gdiplus_view_images.h"
#include "macros/model/key_caps.h"
#include "macros/model/layout_file.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_model_events.h"
#include "macros/model/script_reader.h"
#include "platform/base/system_calls.h"
#include "platform/vhxhid/vhxsim_control.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/input_dispatch.h"
#include "runtime/device/program_messages.h"
#include "runtime/service/device_thread.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"
#include "ui/key_caps/key_cap_dialogs.h"
#include "ui/key_caps/key_caps_ids.h"
#include "ui/programming_window/programming_features.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace testsupport;

namespace {

constexpr int kUnit = 1;

// What the device thread did, read by the test.
struct Shared {
  std::mutex lock;
  std::vector<std::string> events;  // keys the window got, boxes, input switched, dialogs
  HWND window = nullptr;
  HWND detection = nullptr;
  HWND removal = nullptr;
  std::vector<std::uint8_t> duringInstall;  // queued while the install question is up
  int redraws = 0;
};
Shared& S() {
  static Shared s;
  return s;
}
void Note(const std::string& e) {
  std::lock_guard<std::mutex> hold(S().lock);
  S().events.push_back(e);
}
void ClearEvents() {
  std::lock_guard<std::mutex> hold(S().lock);
  S().events.clear();
}

// The window's own state, on the device thread.
struct Programming {
  SystemCalls* calls = nullptr;  // the host's
  std::unique_ptr<MacroContext> context;
  std::unique_ptr<DeviceRecordMacroDevice> device;
};
Programming& P() {
  static Programming p;
  return p;
}

// The stand-in as the key caps see it: the input gate and the open dialogs noted.
class StandInKeyCapWindow : public KeyCapWindow {
 public:
  void SetInputEnabled(bool on) override { Note(on ? "input on" : "input off"); }
  void DialogsChanged(HWND detection, HWND removal) override {
    std::lock_guard<std::mutex> hold(S().lock);
    S().detection = detection;
    S().removal = removal;
  }
};
StandInKeyCapWindow& KeyCapWindowOfStandIn() {
  static StandInKeyCapWindow window;
  return window;
}

// The key-cap merge and the spacers' views of the stand-in's context, as the program has them.
class StandInEvents : public MacroModelEvents {
 public:
  void ChangeKeyCap(MacroContext& c, const KeyRecord& cap, const std::vector<int>& covered, int kind,
                    bool store) override {
    keyCaps_.ChangeKeyCap(c, cap, covered, kind, store);
  }
  void ShowSpacer(MacroContext& c, int keyId) override { keyCaps_.ShowSpacer(c, keyId); }

 private:
  KeyCapsFeature keyCaps_{NoProgrammingFeatures()};
};
StandInEvents& EventsOfStandIn() {
  static StandInEvents events;
  return events;
}

VhxSim* sim = nullptr;
int simId = 0;

// A report of the keys of bytes 1 to 3 (codes 0-7, 16-23, 32-39), with the programming switch on.
void Queue(std::vector<std::uint8_t> bytes, bool switchOn = true) {
  bytes.insert(bytes.begin(), 0);
  bytes.resize(9, 0);
  if (switchOn) bytes[4] |= 0x10;
  bytes[7] = kUnit;
  VhxSimQueueInput(sim, simId, bytes.data(), 9);
}

// The user's answers: OK to the install question (putting in what the test holds ready, as the
// user does while it is shown), Yes to the others.
class Answers : public SystemCalls {
 public:
  BoxAnswer ShowMessageBox(void* owner, const char*, const char* caption, BoxButtons buttons, BoxIcon,
                           BoxFlag) override {
    Note(std::string("box ") + caption + (owner == S().window ? " (owned)" : ""));
    std::vector<std::uint8_t> report;
    {
      std::lock_guard<std::mutex> hold(S().lock);
      report.swap(S().duringInstall);
    }
    if (!report.empty()) Queue(report);
    return buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
  }
};

LRESULT CALLBACK StandInProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && P().context) {
    if (wp == IDM_PW_KEY_CAPS_ADD) AddKeyCaps(*P().calls, *P().context, hwnd, KeyCapWindowOfStandIn());
    if (wp == IDM_PW_KEY_CAPS_REMOVE) RemoveKeyCaps(*P().calls, *P().context, hwnd, KeyCapWindowOfStandIn());
    return 0;
  }
  if (msg == kRedrawKeyMessage) {
    std::lock_guard<std::mutex> hold(S().lock);
    ++S().redraws;
    return 0;
  }
  if (msg == WM_DESTROY) {
    CloseKeyCapDialogs();
    P() = Programming{};
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// The stand-in for the programming window: the device's context from its script and layout.
HWND OpenStandIn(SystemCalls& calls, DeviceRecord& record) {
  auto device = std::make_unique<DeviceRecordMacroDevice>(record);
  auto context = std::make_unique<MacroContext>(EventsOfStandIn());
  context->device = device.get();
  ReadScriptFile(*context, device->ScriptPath());
  GdiplusImageLoader loader;
  if (!LoadLayoutFile(*context, loader)) {
    Note("no layout");
    return nullptr;
  }
  RebuildKeyCaps(*context);
  WNDCLASSA wc{};
  wc.lpfnWndProc = StandInProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KeyCapsStandIn";
  RegisterClassA(&wc);
  HWND w = CreateWindowA(wc.lpszClassName, "Programming", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 420, 350,
                         nullptr, nullptr, wc.hInstance, nullptr);
  record.macroContext = context.get();
  P().calls = &calls;
  P().context = std::move(context);
  P().device = std::move(device);
  std::lock_guard<std::mutex> hold(S().lock);
  S().window = w;
  return w;
}

void StandInKey(DeviceRecord&, int code, bool pressed) {
  if (!P().context || !ForwardKeyToKeyCapDialogs(*P().context, code, pressed))
    Note((pressed ? "+" : "-") + std::to_string(code));
}

// The program's side of the thread: the stand-in programming window.
class StandInHost : public DeviceServiceHost {
 public:
  explicit StandInHost(SystemCalls& calls) : calls_(calls) {}
  HWND OpenProgrammingWindow(DeviceRecord& device) override { return OpenStandIn(calls_, device); }
  void ProgrammingKey(DeviceRecord& device, int code, bool pressed) override { StandInKey(device, code, pressed); }

 private:
  SystemCalls& calls_;
};

class KeyCapsOnADevice : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdiplus_.Ok());
    S().events.clear();
    S().window = S().detection = S().removal = nullptr;
    S().redraws = 0;
    ASSERT_TRUE(CopyTree(EnvOr("ORVANE_BIN") + "\\QpadDevices", dir_ / "QpadDevices"));
    ASSERT_TRUE(WriteTextFile(Script(), "void KeyDown(int c) {}\nvoid KeyUp(int c) {}\n"));
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
    sim = VhxSimOpen(nullptr);
    ASSERT_NE(sim, nullptr);
    VhxSimReset(sim);
    VhxSimDeviceSpec spec;
    VhxSimDefaultSpec(&spec);
    spec.productId = 0x19;
    spec.model = VHXSIM_MODEL_KEYPAD;
    simId = VhxSimAddDevice(sim, &spec);
    Queue({}, false);
    ASSERT_TRUE(service_.Start(nullptr, true));
    ASSERT_TRUE(WaitUntil([] {
      const DeviceTableView table = GetDeviceTable();
      return table.size() == 1 && !table[0]->moduleName.empty();
    }, 10000));
  }
  void TearDown() override {
    service_.Stop();
    VhxSimReset(sim);
    VhxSimClose(sim);
    FreeDeviceFolders();
  }

  std::string Script() const { return dir_ / "QpadDevices\\Vid0a7cPid0019\\Script_1.oxs"; }
  bool ScriptHas(const std::string& text) const { return ReadFileOr(Script(), "").find(text) != std::string::npos; }
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> hold(S().lock);
    return S().events;
  }
  bool Saw(const std::string& e) {
    const std::vector<std::string> all = Events();
    return std::find(all.begin(), all.end(), e) != all.end();
  }
  HWND Window() {
    std::lock_guard<std::mutex> hold(S().lock);
    return S().window;
  }
  HWND Dialog(KeyCapDialogKind kind) {
    std::lock_guard<std::mutex> hold(S().lock);
    return kind == KeyCapDialogKind::kDetection ? S().detection : S().removal;
  }
  // Every queued report read by the device thread.
  bool Drained() {
    return WaitUntil([] {
      VhxSimDeviceInfo info{};
      return VhxSimGetDevice(sim, simId, &info) == VHXSIM_OK && info.queuedInputs == 0;
    }, 5000);
  }

  GdiplusSession gdiplus_;
  ScratchDir dir_{"keycaps"};
  Answers answers_;  // the key-cap windows' questions
  StandInHost host_{answers_};
  DeviceService service_{host_, answers_};
};

TEST_F(KeyCapsOnADevice, SpacersAndCapsAreFoundFromTheDeviceAndTakenOutAgain) {
  Queue({});  // the switch: the stand-in opens
  ASSERT_TRUE(WaitUntil([&] { return Window() != nullptr; }, 5000)) << (Events().empty() ? "" : Events()[0]);

  // A spacer put in while the install question is up: found, quiet, kept in the script.
  {
    std::lock_guard<std::mutex> hold(S().lock);
    S().duringInstall = {0x08};  // key 3 held
  }
  PostMessageA(Window(), WM_COMMAND, IDM_PW_KEY_CAPS_ADD, 0);
  ASSERT_TRUE(WaitUntil([&] { return ScriptHas("//ORVX: Spacers\r\n//3\r\n//ORVX: End"); }, 5000));
  EXPECT_TRUE(ScriptHas("DisableKey(3);"));
  EXPECT_EQ(Events(), (std::vector<std::string>{"box Install Your Key-Cap (owned)", "box Spacers Detected (owned)"}));
  Queue({0x18});  // key 4 pressed beside the spacer
  Queue({0x08});
  ASSERT_TRUE(WaitUntil([&] { return Saw("-4"); }, 5000));
  EXPECT_FALSE(Saw("+3"));

  // A cap: two keys side by side pressed and released in the detection dialog.
  ClearEvents();
  PostMessageA(Window(), WM_COMMAND, IDM_PW_KEY_CAPS_ADD, 0);
  ASSERT_TRUE(WaitUntil([&] { return Dialog(KeyCapDialogKind::kDetection) != nullptr; }, 5000));
  EXPECT_EQ(WindowText(FindChildById(Dialog(KeyCapDialogKind::kDetection), IDC_KEY_CAP_PROMPT)),
            "Please firmly press the new key you just installed.");
  EXPECT_FALSE(SavePicture(Dialog(KeyCapDialogKind::kDetection), "key_cap_detection_dialog").empty());
  Queue({0x09});
  Queue({0x0B});
  Queue({0x0A});
  Queue({0x08});
  ASSERT_TRUE(WaitUntil([&] { return Dialog(KeyCapDialogKind::kDetection) == nullptr; }, 5000));
  EXPECT_TRUE(ScriptHas("//ORVX: KeyCaps\r\n//2\r\n//8\r\n//20\r\n//45\r\n//60\r\n//120\r\n//0\r\n//1\r\n//ORVX: End"));
  EXPECT_EQ(Events(), (std::vector<std::string>{"box Install Your Key-Cap (owned)", "input off", "-0", "-1",
                                                "input on"}));

  // Remove with the spacer still in: no question about spacers; a key under the cap released
  // in the removal dialog takes the cap off.
  ClearEvents();
  PostMessageA(Window(), WM_COMMAND, IDM_PW_KEY_CAPS_REMOVE, 0);
  ASSERT_TRUE(WaitUntil([&] { return Dialog(KeyCapDialogKind::kRemoval) != nullptr; }, 5000));
  EXPECT_FALSE(SavePicture(Dialog(KeyCapDialogKind::kRemoval), "key_cap_removal_dialog").empty());
  EXPECT_TRUE(Events().empty());
  Queue({0x0A});
  Queue({0x08});
  ASSERT_TRUE(WaitUntil([&] { return Dialog(KeyCapDialogKind::kRemoval) == nullptr; }, 5000));
  EXPECT_FALSE(ScriptHas("//ORVX: KeyCaps"));
  EXPECT_TRUE(ScriptHas("//ORVX: Spacers"));

  // The spacer taken out: Remove finds it gone, and its key works again.
  ClearEvents();
  Queue({});
  ASSERT_TRUE(Drained());
  PostMessageA(Window(), WM_COMMAND, IDM_PW_KEY_CAPS_REMOVE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !ScriptHas("//ORVX: Spacers"); }, 5000));
  EXPECT_FALSE(ScriptHas("DisableKey(3);"));
  Queue({0x08});
  ASSERT_TRUE(WaitUntil([&] { return Saw("+3"); }, 5000));
  EXPECT_EQ(Events(), (std::vector<std::string>{"box Spacers Removed (owned)", "+3"}));
  std::lock_guard<std::mutex> hold(S().lock);
  EXPECT_GT(S().redraws, 0);
}

}  // namespace
