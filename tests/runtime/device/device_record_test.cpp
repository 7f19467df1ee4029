#include "runtime/device/device_record.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

// A recursive lock stand-in that only counts, and script globals by name.
thread_local int lockDepth = 0;
std::map<std::string, std::uint8_t> globals;
int globalLookups = 0;
std::vector<std::string> calls;

void Lock() { ++lockDepth; }
bool Unlock() {
  if (lockDepth == 0) return false;
  --lockDepth;
  return true;
}
void* FindGlobal(DeviceRecord&, const std::string& name) {
  ++globalLookups;
  auto it = globals.find(name);
  return it == globals.end() ? nullptr : &it->second;
}
void Regenerate(DeviceRecord& d) { calls.push_back("regenerate " + std::to_string(d.unitId)); }

// The records' services over those stand-ins.
class CountedServices : public DeviceRecordServices {
 public:
  void LockScriptEngine() override { Lock(); }
  bool UnlockScriptEngine() override { return Unlock(); }
  void* FindModuleGlobal(DeviceRecord& device, const std::string& name) override { return FindGlobal(device, name); }
  void RegenerateDeviceScript(DeviceRecord& device) override { Regenerate(device); }
};

class Records : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeDeviceFolders();
    SetDataRootFromHost("");
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
    globals.clear();
    globalLookups = 0;
    calls.clear();
    lockDepth = 0;
  }
  void TearDown() override { FreeDeviceFolders(); }
  // A device type folder with the given report configuration; the record made from it.
  bool Make(DeviceRecord& d, const std::string& config, int pid = 0x40) {
    char name[32];
    std::snprintf(name, sizeof name, "QpadDevices\\Vid0a7cPid%04x", pid);
    MakeDirs(dir_ / name);
    WriteTextFile(dir_ / (std::string(name) + "\\ReportConfig.txt"), config);
    FreeDeviceFolders();
    return InitDeviceRecord(d, 0x0A7C, pid, 0, services_);
  }
  CountedServices services_;
  ScratchDir dir_;
};

TEST_F(Records, InitSetsTheDefaultsAndReadsTheFile) {
  DeviceRecord d;
  d.unitId = 9;
  d.moduleName = "old";
  ASSERT_TRUE(Make(d, "input void KeyDown(uint8 s)\nscanCodeDown 2 3\n"));
  EXPECT_EQ(d.vendorId, 0x0A7C);
  EXPECT_EQ(d.productId, 0x40);
  EXPECT_NE(d.folder, nullptr);
  EXPECT_EQ(d.unitId, 0);
  EXPECT_EQ(d.moduleName, "");
  EXPECT_EQ(d.unitIdByte, -2);
  EXPECT_EQ(d.switchByte, -1);
  EXPECT_EQ(d.switchMask, 16);
  EXPECT_EQ(d.requireByte, -1);
  EXPECT_EQ(d.greenLedMask, 64);
  EXPECT_EQ(d.redLedMask, 128);
  EXPECT_EQ(d.backlightMask, 32);
  EXPECT_EQ(d.pendingKey, kNoPendingKey);
  EXPECT_TRUE(d.hasProgrammingSwitch);
  EXPECT_TRUE(d.programmingAllowed);
  EXPECT_FALSE(d.setUp);
  EXPECT_EQ(d.firstKeyByte, 2);
  EXPECT_EQ(d.lastKeyByte, 4);
  ASSERT_EQ(d.inputCount(), 1);
}

TEST_F(Records, NoFolderOrARejectedFileLeavesNoEntries) {
  DeviceRecord d;
  EXPECT_FALSE(InitDeviceRecord(d, 0x0A7C, 0x77, 0));
  EXPECT_FALSE(Make(d, "input void F()\nvalue 1\nbitfield 1 2 G\n"));
  EXPECT_EQ(d.inputCount(), 0);
  EXPECT_EQ(d.folder != nullptr, true);
  MakeDirs(dir_ / "QpadDevices\\Vid0a7cPid0041");
  FreeDeviceFolders();
  EXPECT_FALSE(InitDeviceRecord(d, 0x0A7C, 0x41, 0));  // folder without a file
}

TEST_F(Records, SetUpCountsFromTheEndAndDropsEntriesOutsideTheReports) {
  DeviceRecord d;
  ASSERT_TRUE(Make(d,
                   "uid_and_ps -3 8 0x08\n"
                   "input void KeyDown(uint8 s)\nscanCodeDown 7 3\n"   // bytes 7..9: too long
                   "input void KeyDown(uint8 s)\nscanCodeDown 1 2\n"
                   "input void Level(uint8 a)\nvalue 8\n"
                   "input void Levels(int[] &in a)\nvalues 1 9\n"
                   "output setLEDs\nconstant 2\nconstant 3\nconstant 4\nconstant 5\nconstant 6\n"
                   "output setID\nconstant 2\nvalue 1 254 Id\n"
                   "output SendKeyboardReport\nconstant 2\n"));
  EXPECT_EQ(d.firstKeyByte, 7);
  ASSERT_TRUE(SetUpDeviceReports(d, 9, 4));
  EXPECT_TRUE(d.setUp);
  EXPECT_EQ(d.unitIdByte, 6);
  EXPECT_EQ(d.switchByte, 8);
  EXPECT_EQ(d.switchMask, 8);
  EXPECT_EQ(d.currentReport.size(), 9u);
  EXPECT_EQ(d.previousReport.size(), 9u);
  EXPECT_EQ(d.keyEnableMask, std::vector<std::uint8_t>(9, 0xFF));
  EXPECT_EQ(d.outputReport.size(), 4u);
  ASSERT_EQ(d.inputCount(), 3);
  EXPECT_EQ(d.inputs[0].fields[0].position, 1);
  EXPECT_EQ(d.inputs[2].declaration, "void Levels(int[] &in a)");
  EXPECT_EQ(d.firstKeyByte, 1);  // from the entry that stayed
  EXPECT_EQ(d.lastKeyByte, 2);
  // Five bytes do not fit a 4-byte report; nor does a keyboard report.
  ASSERT_EQ(d.outputCount(), 1);
  EXPECT_EQ(d.outputs[0].name, "setID");
  EXPECT_FALSE(d.hasLayerLed);
  EXPECT_FALSE(FindKeyboardReportOutput(d));
}

TEST_F(Records, SetUpRejectsHeaderBytesOutsideTheInputReport) {
  const struct {
    const char* header;
    int inputLength;
    bool usable;
  } cases[] = {
      {"uid_and_ps -2 -", 9, true},     {"uid_and_ps -2 -", 1, false},
      {"uid_and_ps 9 -", 9, false},     {"uid_and_ps 8 -1", 9, true},
      {"uid_and_ps 0 9", 9, false},     {"uid_and_ps 0 -10", 9, true},  // no switch: not used
      {"uid_and_ps 0 3\nrequire 8 1", 9, true},
      {"uid_and_ps 0 3\nrequire 9 1", 9, false},
      {"uid_and_ps 0 3\nrequire -5 1", 9, true},
      {"", 9, true},                    {"", 0, false},
  };
  for (const auto& c : cases) {
    DeviceRecord d;
    ASSERT_TRUE(Make(d, std::string(c.header) + "\noutput o\n")) << c.header;
    EXPECT_EQ(SetUpDeviceReports(d, c.inputLength, 9), c.usable) << c.header;
    if (c.usable) {
      EXPECT_TRUE(d.requireByte == -1 || d.requireByte < c.inputLength);
    }
  }
}

TEST_F(Records, KeyBytesStayInsideTheKeyRange) {
  DeviceRecord d;
  ASSERT_TRUE(Make(d, "input void KeyDown(uint8 s)\nscanCodeDown 2 3\n"));
  ASSERT_TRUE(SetUpDeviceReports(d, 9, 9));
  EXPECT_EQ(KeyByteOfScanCode(d, 0x23), 4);
  EXPECT_EQ(KeyByteOfScanCode(d, 0x00), 2);
  EXPECT_EQ(KeyByteOfScanCode(d, 0x30), -1);
  EXPECT_EQ(KeyByteOfScanCode(d, -1), -1);
  // Without a KeyDown input (a cab controller) no key code names a byte.
  DeviceRecord cab;
  ASSERT_TRUE(Make(cab, "uid_and_ps -2 -\ninput period 50 void L(uint8 a)\nvalue 1\n", 0x42));
  ASSERT_TRUE(SetUpDeviceReports(cab, 9, 9));
  for (int code : {0, 5, 15, 16, 31}) EXPECT_EQ(KeyByteOfScanCode(cab, code), -1) << code;
  // Not set up: no buffers to name a byte of.
  DeviceRecord bare;
  ASSERT_TRUE(Make(bare, "input void KeyDown(uint8 s)\nscanCodeDown 2 3\n", 0x43));
  EXPECT_EQ(KeyByteOfScanCode(bare, 0), -1);
}

TEST_F(Records, FillTakesGlobalsOrCallerBytesAndBoundsThem) {
  DeviceRecord d;
  ASSERT_TRUE(Make(d,
                   "output o\nconstant 0x102\nvalue 10 20 A\nbitfield 0x0F 0x80 B\nvalue 0 255 C\n"
                   "output empty\n"));
  ASSERT_TRUE(SetUpDeviceReports(d, 9, 6));
  d.outputReport.assign(6, 0xEE);
  globals = {{"A", 5}, {"B", 0xFF}, {"C", 7}};
  ASSERT_EQ(FillOutputReport("o", d), 1);
  EXPECT_EQ(d.outputReport, (std::vector<std::uint8_t>{0x02, 10, 0x8F, 7, 0xEE, 0xEE}));
  globals["A"] = 30;
  ASSERT_EQ(FillOutputReport("o", d), 1);
  EXPECT_EQ(d.outputReport[1], 20);
  EXPECT_EQ(globalLookups, 3);  // looked up once, then cached

  // Caller bytes go to the value and bitfield fields in order; missing ones read as 0.
  const std::uint8_t one[] = {15};
  ASSERT_EQ(FillOutputReport("o", d, one, 1), 1);
  EXPECT_EQ(d.outputReport, (std::vector<std::uint8_t>{0x02, 15, 0x80, 0, 0xEE, 0xEE}));

  EXPECT_EQ(FillOutputReport("none", d), 0);
  EXPECT_EQ(FillOutputReport("empty", d), 1);

  // After a build the cache is cleared; a global that is gone fails the fill.
  ClearOutputGlobalPointers(d);
  globals.erase("B");
  d.outputReport.assign(6, 0);
  EXPECT_EQ(FillOutputReport("o", d), 0);
  EXPECT_FALSE(WriteOutputReport("o", d));
  EXPECT_EQ(lockDepth, 0);
}

TEST_F(Records, FillNeverWritesPastTheOutputBuffer) {
  DeviceRecord d;
  ASSERT_TRUE(Make(d, "output o\nconstant 1\nconstant 2\nconstant 3\n"));
  EXPECT_EQ(FillOutputReport("o", d), 0);  // not set up: no buffer yet
  d.outputReport.resize(2);
  EXPECT_EQ(FillOutputReport("o", d), 0);
}

// A library whose presence the window reports as it goes; null: none.
const char* watchedLibrary = nullptr;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) calls.push_back("window destroyed at depth " + std::to_string(lockDepth));
  if (msg == WM_DESTROY && watchedLibrary)
    calls.push_back(GetModuleHandleA(watchedLibrary) ? "library loaded" : "library gone");
  return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND MakeRecordWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "RecordTestWindow";
  RegisterClassA(&wc);
  return CreateWindowA("RecordTestWindow", "", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

TEST_F(Records, DestroyRegeneratesThenClosesTheWindowWithoutTheLock) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "RecordTestWindow";
  RegisterClassA(&wc);
  DeviceRecord d;
  ASSERT_TRUE(Make(d, "output o\nconstant 1\nmodule missing.dll\nmoduleFunction void F()\n"));
  ASSERT_TRUE(SetUpDeviceReports(d, 9, 9));
  d.unitId = 3;
  d.moduleName = "Vid0a7cPid0019v0100Uid0003";
  d.programmingWindow = CreateWindowA("RecordTestWindow", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                      wc.hInstance, nullptr);
  ASSERT_NE(d.programmingWindow, nullptr);
  const HWND window = d.programmingWindow;
  Lock();
  Lock();
  DestroyDeviceRecord(d);
  EXPECT_EQ(calls, (std::vector<std::string>{"regenerate 3", "window destroyed at depth 0"}));
  EXPECT_EQ(lockDepth, 2);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(d.outputCount(), 0);
  EXPECT_EQ(d.moduleCount(), 0);
  EXPECT_TRUE(d.outputReport.empty());
  EXPECT_FALSE(d.setUp);
  EXPECT_EQ(d.programmingWindow, nullptr);
  // A stale window handle is left alone, and a record that never had a module has no script
  // to regenerate.
  calls.clear();
  d.programmingWindow = window;
  DestroyDeviceRecord(d);
  EXPECT_EQ(calls, (std::vector<std::string>{}));
  EXPECT_EQ(lockDepth, 2);
  // A record that no service made has none to regenerate its script or to take the lock.
  DeviceRecord own;
  ASSERT_TRUE(InitDeviceRecord(own, 0x0A7C, 0x40, 0));
  own.moduleName = "Vid0a7cPid0040v0000Uid0003";
  own.programmingWindow = MakeRecordWindow();
  DestroyDeviceRecord(own);
  EXPECT_EQ(calls, (std::vector<std::string>{"window destroyed at depth 2"}));
}

TEST_F(Records, DestroyGivesTheModuleLibrariesBackAfterTheWindow) {
  constexpr const char* kLibrary = "PragmaTestModule.dll";
  const std::string path = EnvOr("ORVANE_BIN") + "\\" + kLibrary;
  ASSERT_EQ(GetModuleHandleA(kLibrary), nullptr);
  DeviceRecord d;
  ASSERT_TRUE(Make(d, "output o\nconstant 1\nmodule a.dll\nmoduleFunction void F()\nmodule b.dll\nmoduleFunction void G()\n"
                      "module never.dll\nmoduleFunction void H()\n"));
  ASSERT_EQ(d.moduleCount(), 3);
  // Two loads of one library, and one module whose library never loaded.
  d.modules[0].library = LoadLibraryA(path.c_str());
  d.modules[1].library = LoadLibraryA(path.c_str());
  ASSERT_NE(d.modules[0].library, nullptr);
  d.programmingWindow = MakeRecordWindow();
  ASSERT_NE(d.programmingWindow, nullptr);
  watchedLibrary = kLibrary;
  DestroyDeviceRecord(d);
  watchedLibrary = nullptr;
  EXPECT_EQ(calls, (std::vector<std::string>{"window destroyed at depth 0", "library loaded"}));
  EXPECT_EQ(d.moduleCount(), 0);
  // Both loads given back.
  EXPECT_EQ(GetModuleHandleA(kLibrary), nullptr);
}

TEST_F(Records, TheShippedDeviceFoldersAreUsable) {
  const std::string bin = EnvOr("ORVANE_BIN");
  ASSERT_FALSE(bin.empty());
  InitProgramFolders("\"" + bin + "\\Orvane.exe\"");
  FreeDeviceFolders();
  const struct {
    int pid;
    int inputLength, unitIdByte;
    int inputs, outputs, modules;
    bool layerLed, keyboard, hasSwitch;
  } cases[] = {
      {0x19, 9, 7, 2, 5, 0, true, true, true},
      {0x18, 9, 7, 0, 1, 0, false, false, false},
      {0x10, 9, 7, 2, 1, 0, false, false, true},
      {0xD2, 16, 15, 4, 1, 1, false, false, false},  // the cab controller
  };
  for (const auto& c : cases) {
    DeviceRecord d;
    ASSERT_TRUE(InitDeviceRecord(d, 0x0A7C, c.pid, 0x0100)) << c.pid;
    ASSERT_TRUE(SetUpDeviceReports(d, c.inputLength, 9)) << c.pid;
    EXPECT_EQ(d.inputCount(), c.inputs) << c.pid;
    EXPECT_EQ(d.outputCount(), c.outputs) << c.pid;
    EXPECT_EQ(d.moduleCount(), c.modules) << c.pid;
    EXPECT_EQ(d.hasLayerLed, c.layerLed) << c.pid;
    EXPECT_EQ(FindKeyboardReportOutput(d), c.keyboard) << c.pid;
    EXPECT_EQ(d.hasProgrammingSwitch, c.hasSwitch) << c.pid;
    EXPECT_EQ(d.unitIdByte, c.unitIdByte) << c.pid;
  }
}

}  // namespace
