// Input reports of simulated devices through the real device thread into a device script.
#include "runtime/device/input_dispatch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/system_calls.h"
#include "platform/vhxhid/vhxsim_control.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/script/script_registrar.h"
#include "runtime/service/device_thread.h"
#include "tests/runtime/device/sim_keypad.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

struct Event {
  std::string text;
  DWORD tick;
};
std::mutex eventsLock;
std::vector<Event> events;

void Record(const std::string& text) {
  std::lock_guard<std::mutex> hold(eventsLock);
  events.push_back({text, GetTickCount()});
}
void RepeatThisKey(unsigned initial, unsigned repeat) {
  StartAutoRepeat(static_cast<int>(initial), static_cast<int>(repeat));
}

void RegisterTestFunctions(ScriptRegistrar& reg) {
  reg.GlobalFunction("void Record(const string &in)", asFUNCTION(Record), asCALL_CDECL);
  // The program's own, once the system functions register it.
  reg.GlobalFunctionIfAbsent("void AutoRepeatThisKey(uint initialRepeatDelay,uint repeatDelay)",
                             asFUNCTION(RepeatThisKey), asCALL_CDECL);
}

std::vector<Event> Events(const std::string& text) {
  std::lock_guard<std::mutex> hold(eventsLock);
  std::vector<Event> out;
  for (const Event& e : events)
    if (e.text == text) out.push_back(e);
  return out;
}
std::size_t Count(const std::string& text) { return Events(text).size(); }

std::vector<HWND> openedWindows;
HWND OpenWindow(DeviceRecord&) {
  HWND w = CreateWindowA("STATIC", "programming", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                         nullptr);
  std::lock_guard<std::mutex> hold(eventsLock);
  openedWindows.push_back(w);
  return w;
}
std::vector<HWND> OpenedWindows() {
  std::lock_guard<std::mutex> hold(eventsLock);
  return openedWindows;
}
void WindowKey(DeviceRecord&, int code, bool pressed) {
  Record((pressed ? "window +" : "window -") + std::to_string(code));
}

// The program's side of the thread here: the test's functions, and programming windows of the
// message-only kind.
class TestHost : public DeviceServiceHost {
 public:
  void RegisterMoreScriptFunctions(ScriptRegistrar& reg) override { RegisterTestFunctions(reg); }
  HWND OpenProgrammingWindow(DeviceRecord& device) override { return OpenWindow(device); }
  void ProgrammingKey(DeviceRecord& device, int code, bool pressed) override { WindowKey(device, code, pressed); }
};

constexpr int kUnit = 1;
constexpr int kCabController = 0xD2;

// The input report of a sample device type: its length and where it carries the unit id.
struct ReportShape {
  int length;
  int unitByte;
};
ReportShape ShapeOf(int productId) {
  return productId == kCabController ? ReportShape{16, 15} : ReportShape{9, 7};
}

// A sample device type folder of the build, copied into the test's program folder.
bool CopySampleType(const ScratchDir& dir, int productId) {
  char type[40];
  std::snprintf(type, sizeof type, "QpadDevices\\Vid0a7cPid%04x", productId);
  const std::string from = EnvOr("ORVANE_BIN") + "\\" + type;
  const std::string to = dir / type;
  MakeDirs(to);
  for (const char* file : {"ReportConfig.txt", "DeviceDescription.txt"})
    if (!CopyFileA((from + "\\" + file).c_str(), (to + "\\" + file).c_str(), FALSE)) return false;
  return true;
}

class DispatchThread : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      std::lock_guard<std::mutex> hold(eventsLock);
      events.clear();
      openedWindows.clear();
    }
  }
  void TearDown() override {
    if (service_) service_->Stop();
    if (sim_) {
      VhxSimReset(sim_);
      VhxSimClose(sim_);
    }
  }

  // A device of the sample folder `productId` with the script, built by the thread.
  void StartWith(int productId, const std::string& script) {
    id_ = Add(productId, script);
    Start(1);
  }

  // A simulated device of the sample folder `productId` whose unit-1 script is `script`.
  int Add(int productId, const std::string& script) {
    EXPECT_TRUE(CopySampleType(dir_, productId));
    char folder[40];
    std::snprintf(folder, sizeof folder, "QpadDevices\\Vid0a7cPid%04x", productId);
    EXPECT_TRUE(WriteTextFile(dir_ / (std::string(folder) + "\\Script_1.oxs"), script));
    if (!sim_) {
      sim_ = VhxSimOpen(nullptr);
      EXPECT_NE(sim_, nullptr);
      VhxSimReset(sim_);
    }
    const int id = AddSimDevice(sim_, productId, ShapeOf(productId).length, VHXSIM_MODEL_SCRIPTED_REPLIES);
    shapes_[id] = ShapeOf(productId);
    Send(id, {});
    return id;
  }

  // As the setup wizard asks for it: a new device table, while every device stays attached.
  static void RequestRebuild() {
    RequestCode = kRequestRebuild;
    const DeviceTableView table = GetDeviceTable();
    if (!table.empty()) WakeDeviceThread(*table[0]);
  }

  // Starts the thread and waits until `devices` devices have their modules.
  void Start(int devices) {
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
    service_.emplace(host_, platform_);
    ASSERT_TRUE(service_->Start(nullptr, true));
    ASSERT_TRUE(WaitUntil([devices] {
      const DeviceTableView table = GetDeviceTable();
      if (table.size() != static_cast<std::size_t>(devices)) return false;
      for (const auto& d : table)
        if (d->moduleName.empty()) return false;
      return true;
    }, 10000));
  }

  // A whole report of the device's type: bytes from 1 on, the unit id in its place.
  void Send(std::vector<std::uint8_t> bytes) { Send(id_, std::move(bytes)); }
  void Send(int id, std::vector<std::uint8_t> bytes) {
    const ReportShape shape = shapes_.at(id);
    bytes.insert(bytes.begin(), 0);
    bytes.resize(static_cast<std::size_t>(shape.length), 0);
    bytes[static_cast<std::size_t>(shape.unitByte)] = kUnit;
    VhxSimQueueInput(sim_, id, bytes.data(), shape.length);
  }

  TestHost host_;
  SystemCalls platform_;
  std::optional<DeviceService> service_;
  ScratchDir dir_{"dispatch"};
  VhxSim* sim_ = nullptr;
  std::map<int, ReportShape> shapes_;  // by simulated device id
  int id_ = 0;
};

TEST_F(DispatchThread, AHeldKeyRepeatsAfterTheInitialDelayThenAtTheRepeatDelayUntilReleased) {
  StartWith(0x19,
            "void KeyDown(int c) { Record('down ' + c); AutoRepeatThisKey(300, 100); }\n"
            "void KeyUp(int c) { Record('up ' + c); }\n");
  Send({0x02});
  ASSERT_TRUE(WaitUntil([] { return Count("down 1") >= 5; }, 5000));
  Send({0x00});
  ASSERT_TRUE(WaitUntil([] { return Count("up 1") == 1; }, 2000));
  const DWORD released = Events("up 1")[0].tick;
  PumpMessages(400);
  const std::vector<Event> downs = Events("down 1");
  EXPECT_LE(downs.back().tick, released);  // nothing repeats after the release

  ASSERT_GE(downs.size(), 5u);
  EXPECT_GE(downs[1].tick - downs[0].tick, 290u);
  std::vector<DWORD> gaps;
  for (std::size_t i = 2; i < downs.size(); ++i) {
    EXPECT_GE(downs[i].tick - downs[i - 1].tick, 90u);
    gaps.push_back(downs[i].tick - downs[i - 1].tick);
  }
  std::sort(gaps.begin(), gaps.end());
  EXPECT_LT(gaps[gaps.size() / 2], 250u);  // the repeat delay, not the initial one
}

// The cab controller's levers are a periodic input: its calls must not stop a keypad's repeat.
TEST_F(DispatchThread, AHeldKeyRepeatsBesideADeviceWithAPeriodicInput) {
  id_ = Add(0x19,
            "void KeyDown(int c) { Record('down ' + c); AutoRepeatThisKey(200, 50); }\n"
            "void KeyUp(int c) { Record('up ' + c); }\n");
  Add(kCabController, "void LeverInput(uint8 r, uint8 t, uint8 a, uint8 i, uint8 b) { Record('lever'); }\n");
  Start(2);
  ASSERT_TRUE(WaitUntil([] { return Count("lever") >= 2; }, 5000));
  Send({0x02});
  PumpMessages(1000);
  Send({0x00});
  ASSERT_TRUE(WaitUntil([] { return Count("up 1") == 1; }, 2000));
  EXPECT_GE(Count("down 1"), 8u);  // about 1 + 800 / 50
}

TEST_F(DispatchThread, AScriptExceptionLeavesTheThreadDispatching) {
  StartWith(0x19,
            "void KeyDown(int c) { Record('down ' + c); int[] a; a[c + 5] = 1; }\n"
            "void KeyUp(int c) { Record('up ' + c); }\n");
  Send({0x01});
  Send({0x00});
  Send({0x04});
  EXPECT_TRUE(WaitUntil([] { return Count("down 2") == 1; }, 5000));
  EXPECT_EQ(Count("down 0"), 1u);
  EXPECT_EQ(Count("up 0"), 1u);
}

TEST_F(DispatchThread, TheProgrammingSwitchOpensTheWindowAndItsReleaseClosesIt) {
  StartWith(0x19,
            "void KeyDown(int c) { Record('down ' + c); }\n"
            "void KeyUp(int c) { Record('up ' + c); }\n");
  Send({0, 0, 0, 0x10});  // byte 4: the switch
  Send({0x01, 0, 0, 0x10});
  ASSERT_TRUE(WaitUntil([] { return Count("window +0") == 1; }, 5000));
  HWND window;
  {
    std::lock_guard<std::mutex> hold(eventsLock);
    ASSERT_EQ(openedWindows.size(), 1u);
    window = openedWindows[0];
  }
  EXPECT_TRUE(IsWindow(window));
  Send({0x01, 0, 0, 0x00});
  Send({0x00, 0, 0, 0x00});
  ASSERT_TRUE(WaitUntil([] { return Count("up 0") == 1; }, 5000));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Count("down 0"), 0u);  // the press went to the window
}

// A build cycle while the keypad stays attached (another one arrived, say): every report it
// sends meanwhile reaches its script, and a programming switch that is on across the cycle,
// which closed the window, opens it again.
TEST_F(DispatchThread, ABuildCycleLosesNoReportAndASwitchOnAcrossItOpensTheWindowAgain) {
  StartWith(0x19,
            "void KeyDown(int c) { Record('down ' + c); }\n"
            "void KeyUp(int c) { Record('up ' + c); }\n");
  constexpr std::size_t kPresses = 100;
  RequestRebuild();
  for (std::size_t i = 0; i < kPresses; ++i) {
    Send({0x01});
    Send({0x00});
    Sleep(5);
  }
  EXPECT_TRUE(WaitUntil([] { return Count("down 0") == kPresses && Count("up 0") == kPresses; }, 10000))
      << Count("down 0") << " presses, " << Count("up 0") << " releases";

  Send({0, 0, 0, 0x10});
  ASSERT_TRUE(WaitUntil([] { return OpenedWindows().size() == 1; }, 5000));
  const HWND first = OpenedWindows()[0];
  RequestRebuild();
  ASSERT_TRUE(WaitUntil([] { return OpenedWindows().size() == 2; }, 10000)) << "not opened again";
  const HWND again = OpenedWindows()[1];
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(IsWindow(again));
  Send({0, 0, 0, 0});
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(again); }, 5000));
  EXPECT_EQ(Count("down 0"), kPresses);
}

TEST_F(DispatchThread, PeriodicInputsRunAtTheirPeriodWithThePresentValues) {
  StartWith(kCabController,
            "void LeverInput(uint8 r, uint8 t, uint8 a, uint8 i, uint8 b) { Record('lever ' + t); }\n"
            "void RotaryInput(uint8 p, uint8 q) { Record('rotary ' + p + \" \" + q); }\n");
  Send({1, 77, 3, 4, 5, 9, 200});
  ASSERT_TRUE(WaitUntil([] { return Count("rotary 9 200") == 1; }, 5000));
  const std::size_t before = Count("lever 77");
  PumpMessages(600);  // period 50 ms
  EXPECT_GE(Count("lever 77") - before, 5u);
  EXPECT_EQ(Count("rotary 9 200"), 1u);  // on change only
}

}  // namespace
