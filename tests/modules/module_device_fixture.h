#pragma once
// The real device thread over simulated devices whose device type binds a module library: the
// type folder is copied into a program folder of the test's own, the thread builds the scripts,
// and the test asks for build cycles and script reloads as the program's windows do. At every
// build cycle, right after the old device records (and with them their libraries) are gone, the
// fixture runs the test's check on the device thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
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
#include "runtime/service/device_module_build.h"
#include "runtime/service/device_thread.h"
#include "tests/runtime/device/sim_keypad.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

namespace modulestest {

// What the scripts record, in order.
inline std::mutex recordsLock;
inline std::vector<std::string> records;
inline void Record(const std::string& text) {
  std::lock_guard<std::mutex> hold(recordsLock);
  records.push_back(text);
}
inline bool Recorded(const std::string& text) {
  std::lock_guard<std::mutex> hold(recordsLock);
  for (const std::string& r : records)
    if (r == text) return true;
  return false;
}
inline std::string RecordsText() {
  std::lock_guard<std::mutex> hold(recordsLock);
  std::string out;
  for (const std::string& r : records) out += r + ";";
  return out;
}
inline int Count(const std::string& text) {
  std::lock_guard<std::mutex> hold(recordsLock);
  int n = 0;
  for (const std::string& r : records) n += r == text ? 1 : 0;
  return n;
}
inline void ClearRecords() {
  std::lock_guard<std::mutex> hold(recordsLock);
  records.clear();
}

inline std::atomic<int> buildCycles{0};
inline std::function<void()> atTeardown;  // set before the thread starts
inline void AfterTeardown() {
  if (atTeardown) atTeardown();
  ++buildCycles;
}

// The program's side of the thread here: the scripts' recorder, and the check at every build
// cycle.
class RecordingHost : public DeviceServiceHost {
 public:
  void RegisterMoreScriptFunctions(ScriptRegistrar& reg) override {
    reg.GlobalFunction("void record(const string &in)", asFUNCTION(Record), asCALL_CDECL);
  }
  void EngineReleasing() override { AfterTeardown(); }
};

// The input report of a device type: its length and the byte of its unit id.
struct ReportShape {
  int length = 9;
  int unitByte = 7;
};

class ModuleDevice : public ::testing::Test {
 protected:
  static constexpr int kUnit = 1;

  void SetUp() override {
    ClearRecords();
    buildCycles = 0;
  }
  void TearDown() override {
    service_.Stop();
    atTeardown = nullptr;
    if (sim_) {
      VhxSimReset(sim_);
      VhxSimClose(sim_);
    }
  }

  static std::string TypeFolderName(int productId) {
    char name[40];
    std::snprintf(name, sizeof name, "Vid0a7cPid%04x", productId);
    return name;
  }
  std::string TypeFolder(int productId) const {
    return dir_ / ("QpadDevices\\" + TypeFolderName(productId));
  }

  // The type folder `from` (which holds a ReportConfig.txt) as the type of productId, with the
  // unit's script.
  bool CopyDeviceType(const std::string& from, int productId, const std::string& script) {
    const std::string to = TypeFolder(productId);
    testsupport::MakeDirs(to);
    if (!CopyFileA((from + "\\ReportConfig.txt").c_str(), (to + "\\ReportConfig.txt").c_str(),
                   FALSE))
      return false;
    CopyFileA((from + "\\DeviceDescription.txt").c_str(), (to + "\\DeviceDescription.txt").c_str(),
              FALSE);  // a type may have none
    return testsupport::WriteTextFile(to + "\\Script_1.oxs", script);
  }

  // A simulated device of the type that reports its unit id at once.
  void AddDevice(int productId, ReportShape shape, int model) {
    if (!sim_) {
      sim_ = VhxSimOpen(nullptr);
      ASSERT_NE(sim_, nullptr);
      VhxSimReset(sim_);
    }
    id_ = testsupport::AddSimDevice(sim_, productId, shape.length, model);
    ASSERT_GT(id_, 0);
    shape_ = shape;
    Send({});
  }

  // A whole report: the bytes from byte 1 on, the unit id in its place.
  void Send(std::vector<std::uint8_t> bytes) {
    lastReport_ = bytes;
    bytes.insert(bytes.begin(), 0);
    bytes.resize(static_cast<std::size_t>(shape_.length), 0);
    bytes[static_cast<std::size_t>(shape_.unitByte)] = kUnit;
    VhxSimQueueInput(sim_, id_, bytes.data(), shape_.length);
  }

  // Starts the thread and waits until the device's script has run its QpadInit, which records
  // "init" (every script of these tests does): the thread is done with the table then.
  void Start() {
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
    ASSERT_TRUE(service_.Start(nullptr, true));
    ASSERT_TRUE(testsupport::WaitUntil([] { return Count("init") > 0; }, 10000));
  }

  // The device's module name, "" while it has none (or there is no device). Only while the
  // thread leaves the table alone: it tears it down and fills it again in a build cycle.
  static std::string ModuleName() {
    const DeviceTableView table = GetDeviceTable();
    return table.size() == 1 ? table[0]->moduleName : std::string();
  }

  // A build cycle, as the tray menu, the setup wizard or a device arriving ask for it: every
  // record and library goes, the engine is made anew and every script is built again. The
  // device goes on reporting its last state meanwhile (identification waits for a report).
  void RunBuildCycle() {
    const int before = buildCycles;
    const int inits = Count("init");
    RequestCode = kRequestRebuild;
    WakeDeviceThreadFor(kNoRequestDevice);
    ASSERT_TRUE(testsupport::WaitUntil(
        [&] {
          if (buildCycles > before && Count("init") > inits) return true;
          Send(lastReport_);
          return false;
        },
        15000, 100));
    EXPECT_FALSE(ModuleName().empty());
  }

  // A script reload, as the debugger's save or the programming window's close ask for it: the
  // device's script is written and its module built again in the same engine.
  void ReloadScript(const std::string& script) {
    const std::string module = ModuleName();
    ASSERT_FALSE(module.empty());
    ASSERT_TRUE(SaveModuleScript(module.c_str(), "QpadHandler", script.data(),
                                 static_cast<int>(script.size())));
    const DeviceTableView table = GetDeviceTable();
    ASSERT_EQ(table.size(), 1u);
    table[0]->rebuildScript = true;
    WakeDeviceThread(*table[0]);
  }

  RecordingHost host_;
  SystemCalls platform_;
  DeviceService service_{host_, platform_};
  testsupport::ScratchDir dir_{"moduledev"};
  VhxSim* sim_ = nullptr;
  int id_ = 0;
  ReportShape shape_;
  std::vector<std::uint8_t> lastReport_;
};

}  // namespace modulestest
