// The device-level script functions, called from real scripts on a simulated keypad whose
// module is named as the device thread names it.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/base/system_calls.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/device/input_dispatch.h"
#include "runtime/device/periodic_function.h"
#include "runtime/functions/device_functions.h"
#include "runtime/functions/script_platform.h"
#include "tests/runtime/device/sim_device.h"
#include "tests/runtime/script/script_fixture.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kOutputLength = 9;
constexpr char kModule[] = "Vid0a7cPid0019v0100Uid0005";

// A keypad whose keys lie in bytes 1..3, with a request for the polled exchange.
constexpr char kReportConfig[] = R"(uid_and_ps -2 4 0x10
layer_led 0 0x40
layer_led 1 0x80
input void KeyDown(uint8 scanCode)
scanCodeDown 1 3
output setLEDs
constant 2
constant 0xC1
value 0 255 QpadLEDs
output setBacklightsOn
constant 2
constant 0xC1
bitfield 0xFF 0x20 QpadLEDs
output setBacklightsOff
constant 2
constant 0xC1
bitfield 0xDF 0x00 QpadLEDs
output requestData
constant 2
constant 0xB0
value 0 255 RequestWhat
)";

// The script's globals and the functions the cases call.
constexpr char kScript[] = R"(
uint8 QpadLEDs = 0x41;
uint8 RequestWhat = 7;
int ticks = 0;
int result = 0;
uint8[] data;
string path;
void Send(const string &in name) { SendOutputReport(name); }
void Retrieve(const string &in name, uint len, uint timeout) {
  data.resize(3);
  result = RetrieveData(name, data, len, timeout);
}
void Disable(uint8 code) { DisableKey(code); }
void Enable(uint8 code) { EnableKey(code); }
void Record(uint8 code) { RecordSingleKey(code); }
void Path() { GetScriptPath(path); }
void Reset() { ResetInterface(); }
void Vector() { int[] v(2); v[0] = 1; v[1] = 2; PassAVector(v); result = v[0] * 10 + v[1]; }
void MemoryTest() { result = ExecuteMemoryTest(); }
void Layer(bool red) { SetQpadLayer(red); }
void Lights(bool on) { SetBacklights(on); }
void Toggle() { ToggleBacklights(); }
void Programming(uint on) { EnableProgramming(on); }
void Request() { RequestProgrammingMode(); }
void Repeat(const string &in name, int rate) { repeatFunction(name, rate); }
void Tick() { ticks++; }
void TickTwiceThenStop() { if (++ticks == 2) repeatFunction("", 0); }
void Hold() { AutoRepeatThisKey(500, 50); }
)";

asIScriptEngine* scriptEngine = nullptr;

// The memory test as the system registration binds it.
int MemoryTestOfTheEngine() { return ExecuteMemoryTest(RunningScriptPlatform().calls); }

// The platform of the cases: counts the pauses of the waits for a reply, and makes them.
struct CountedPauses : SystemCalls {
  void Sleep(unsigned ms) override {
    ++(ms == 1 ? ofOneMs : others);
    SystemCalls::Sleep(ms);
  }
  std::atomic<int> ofOneMs{0}, others{0};
};

// The globals of the device's module in the test's engine.
class ModuleGlobals : public DeviceRecordServices {
 public:
  void* FindModuleGlobal(DeviceRecord& device, const std::string& name) override {
    asIScriptModule* m = scriptEngine->GetModule(device.moduleName.c_str(), asGM_ONLY_IF_EXISTS);
    if (!m) return nullptr;
    const int index = m->GetGlobalVarIndexByName(name.c_str());
    return index < 0 ? nullptr : m->GetAddressOfGlobalVar(index);
  }
};

class DeviceFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeDirs(root_ / "Vid0A7CPid0019"));
    ASSERT_TRUE(WriteTextFile(root_ / "Vid0A7CPid0019\\ReportConfig.txt", kReportConfig));
    FreeDeviceFolders();
    InitProgramFolders("\"" + EnvOr("ORVANE_BIN") + "\\Orvane.exe\"");
    SetDataRootFromHost(root_.path());
    VhxSimDeviceSpec spec;
    VhxSimDefaultSpec(&spec);
    spec.outputLength = kOutputLength;
    spec.model = VHXSIM_MODEL_SCRIPTED_REPLIES;
    ASSERT_NO_FATAL_FAILURE(AttachSimulatedDevice(spec, sim_, id_, d_, services_));
    d_.unitId = 5;
    d_.moduleName = kModule;

    scriptEngine = script_.Engine();
    ASSERT_EQ(RegisterDeviceFunctions(script_.Registrar(), {calls_}), 0);
    // Those the system registration adds.
    const struct {
      const char* declaration;
      asSFuncPtr function;
    } functions[] = {
        {"void AutoRepeatThisKey(uint initialRepeatDelay,uint repeatDelay)",
         asFUNCTION(AutoRepeatThisKey)},
        {"void EnableProgramming(uint enable)", asFUNCTION(EnableProgramming)},
        {"void RequestProgrammingMode()", asFUNCTION(RequestProgrammingMode)},
        {"int ExecuteMemoryTest()", asFUNCTION(MemoryTestOfTheEngine)},
        {"void SetBacklights(bool on)", asFUNCTION(SetBacklights)},
        {"void ToggleBacklights()", asFUNCTION(ToggleBacklights)},
        {"void SetQpadLayer(bool red)", asFUNCTION(SetQpadLayer)},
        {"void repeatFunction(string &in,int repeatTime)", asFUNCTION(RepeatFunction)},
    };
    ScriptRegistrar& reg = script_.Registrar();
    for (const auto& f : functions) reg.GlobalFunction(f.declaration, f.function, asCALL_CDECL);
    ASSERT_TRUE(reg.Ok()) << reg.FailureText();
    ASSERT_EQ(BuildModule(kModule), 0) << script_.Messages();

    PublishDeviceTable(&table_);
    SetCurrentDevice(&d_);
    StopPeriodicFunction();
    CancelAutoRepeat();
  }
  void TearDown() override {
    SetCurrentDevice(nullptr);
    PublishDeviceTable(nullptr);
    StopPeriodicFunction();
    DestroyDeviceRecord(d_);
    FreeDeviceFolders();
    SetDataRootFromHost("");
    if (sim_) VhxSimClose(sim_);
  }

  int BuildModule(const char* name) {
    asIScriptModule* m = scriptEngine->GetModule(name, asGM_ALWAYS_CREATE);
    m->AddScriptSection("QpadHandler", kScript, sizeof kScript - 1);
    return m->Build();
  }
  // Calls a function of the module with the arguments set by `args`.
  int Call(const char* decl, const std::function<void(asIScriptContext*)>& args = {},
           const char* module = kModule) {
    asIScriptFunction* f = scriptEngine->GetModule(module)->GetFunctionByDecl(decl);
    if (!f) return asNO_FUNCTION;
    int r = script_.Prepare(f);
    if (r < 0) return r;
    if (args) args(script_.Context());
    return script_.Execute();
  }
  int CallRetrieve(const std::string& name, unsigned length, unsigned timeout,
                   const char* module = kModule) {
    std::string text = name;
    const int r = Call("void Retrieve(const string &in, uint, uint)",
                       [&](asIScriptContext* c) {
                         c->SetArgObject(0, &text);
                         c->SetArgDWord(1, length);
                         c->SetArgDWord(2, timeout);
                       },
                       module);
    EXPECT_EQ(r, asEXECUTION_FINISHED) << script_.Exception();
    return Global<int>("result", module);
  }
  template <class T>
  T& Global(const char* name, const char* module = kModule) {
    asIScriptModule* m = scriptEngine->GetModule(module);
    return *static_cast<T*>(m->GetAddressOfGlobalVar(m->GetGlobalVarIndexByName(name)));
  }
  std::vector<Bytes> Outputs() { return TakeSimulatedOutputs(sim_, id_); }
  static Bytes Report(Bytes head, std::size_t length = kOutputLength) {
    head.resize(length, 0);
    return head;
  }
  void Arm(const std::vector<Bytes>& replies, int delayReads = 0) {
    Bytes all;
    for (const Bytes& r : replies) all.insert(all.end(), r.begin(), r.end());
    ASSERT_EQ(VhxSimArmReplies(sim_, id_, all.data(), static_cast<int>(replies[0].size()),
                               static_cast<int>(replies.size()), delayReads),
              VHXSIM_OK);
  }
  // The interface is back in event use: a new report signals the read event and is read.
  void ExpectEventUse() {
    const std::uint8_t key[] = {1, 0x04};
    ASSERT_EQ(VhxSimQueueInput(sim_, id_, key, 2), VHXSIM_OK);
    EXPECT_EQ(WaitForSingleObject(d_.readEvent, 2000), WAIT_OBJECT_0);
    Bytes report(d_.inputLength);
    ASSERT_EQ(VhxReadReport(d_.hidHandle, report.data()), 0);
    EXPECT_EQ(report, Report({1, 0x04}, d_.inputLength));
  }

  ScratchDir root_{"devfn"};
  VhxSim* sim_ = nullptr;
  int id_ = 0;
  ModuleGlobals services_;
  DeviceRecords table_;
  DeviceRecord& d_ = *table_.emplace_back(std::make_unique<DeviceRecord>());
  CountedPauses calls_;
  ScriptFixture script_;
};

TEST_F(DeviceFunctions, TheEightAreRegisteredInTheirOrder) {
  ScriptFixture fresh;
  const asUINT before = fresh.Engine()->GetGlobalFunctionCount();
  ASSERT_EQ(RegisterDeviceFunctions(fresh.Registrar(), {calls_}), 0);
  std::vector<std::string> names;
  for (asUINT i = before; i < fresh.Engine()->GetGlobalFunctionCount(); ++i)
    names.push_back(fresh.Engine()->GetGlobalFunctionByIndex(i)->GetName());
  EXPECT_EQ(names, (std::vector<std::string>{"SendOutputReport", "PassAVector", "DisableKey",
                                             "EnableKey", "RecordSingleKey", "GetScriptPath",
                                             "ResetInterface", "RetrieveData"}));
}

TEST_F(DeviceFunctions, SendOutputReportFillsTheReportFromTheModulesGlobals) {
  std::string name = "setLEDs";
  ASSERT_EQ(Call("void Send(const string &in)", [&](auto* c) { c->SetArgObject(0, &name); }),
            asEXECUTION_FINISHED);
  Global<std::uint8_t>("QpadLEDs") = 0x82;
  ASSERT_EQ(Call("void Send(const string &in)", [&](auto* c) { c->SetArgObject(0, &name); }),
            asEXECUTION_FINISHED);
  name = "noSuchReport";
  ASSERT_EQ(Call("void Send(const string &in)", [&](auto* c) { c->SetArgObject(0, &name); }),
            asEXECUTION_FINISHED);
  EXPECT_EQ(Outputs(), (std::vector<Bytes>{Report({2, 0xC1, 0x41}), Report({2, 0xC1, 0x82})}));

  // A module that belongs to no device writes nothing, even with a current device.
  ASSERT_EQ(BuildModule("Vid0a7cPid0019v0100Uid0006"), 0);
  name = "setLEDs";
  ASSERT_EQ(Call("void Send(const string &in)", [&](auto* c) { c->SetArgObject(0, &name); },
                 "Vid0a7cPid0019v0100Uid0006"),
            asEXECUTION_FINISHED);
  EXPECT_TRUE(Outputs().empty());
}

TEST_F(DeviceFunctions, FindDeviceByModuleMatchesTheNameOrItsTail) {
  EXPECT_EQ(FindDeviceByModule(kModule), &d_);
  // Another first character still names the device.
  EXPECT_EQ(FindDeviceByModule("xid0a7cPid0019v0100Uid0005"), &d_);
  EXPECT_EQ(FindDeviceByModule("Vid0a7cPid0019v0100Uid0006"), nullptr);
  EXPECT_EQ(FindDeviceByModule(""), nullptr);
  EXPECT_EQ(FindDeviceByModule(nullptr), nullptr);
  // Only the first 270 characters count.
  const std::string longName = std::string(270, 'a');
  d_.moduleName = longName;
  EXPECT_EQ(FindDeviceByModule((longName + "tail").c_str()), &d_);
  // A device without a module is never found, not even by a one-character name.
  d_.moduleName.clear();
  EXPECT_EQ(FindDeviceByModule("V"), nullptr);
  EXPECT_EQ(FindDeviceByModule("Vx"), nullptr);
}

TEST_F(DeviceFunctions, PassAVectorAddsOneToEveryElement) {
  ASSERT_EQ(Call("void Vector()"), asEXECUTION_FINISHED);
  EXPECT_EQ(Global<int>("result"), 23);
}

TEST_F(DeviceFunctions, DisableKeyMasksTheKeyInBothReportsUntilEnabled) {
  ASSERT_EQ(d_.firstKeyByte, 1);
  ASSERT_EQ(d_.lastKeyByte, 3);
  std::fill(d_.currentReport.begin(), d_.currentReport.end(), 0xFF);
  std::fill(d_.previousReport.begin(), d_.previousReport.end(), 0xFF);
  auto call = [&](const char* decl, std::uint8_t code) {
    ASSERT_EQ(Call(decl, [&](auto* c) { c->SetArgByte(0, code); }), asEXECUTION_FINISHED);
  };
  call("void Disable(uint8)", 0x23);  // byte 1 + 2, bit 3
  Bytes expected(d_.inputLength, 0xFF);
  expected[3] = 0xF7;
  EXPECT_EQ(d_.keyEnableMask, expected);
  EXPECT_EQ(d_.currentReport, expected);
  EXPECT_EQ(d_.previousReport, expected);
  call("void Disable(uint8)", 0x30);  // byte 4 lies past the keys
  call("void Disable(uint8)", 0x2B);  // bit 11 names no key
  EXPECT_EQ(d_.keyEnableMask, expected);
  call("void Enable(uint8)", 0x23);
  EXPECT_EQ(d_.keyEnableMask, Bytes(d_.inputLength, 0xFF));
  EXPECT_EQ(d_.currentReport, expected);  // enabling does not bring a masked bit back

  // Without key bytes (a cab controller) no byte is touched, not even one before the report.
  d_.firstKeyByte = -1;
  d_.lastKeyByte = 0;
  call("void Disable(uint8)", 0x05);
  call("void Disable(uint8)", 0x15);
  EXPECT_EQ(d_.keyEnableMask, Bytes(d_.inputLength, 0xFF));
}

TEST_F(DeviceFunctions, RecordSingleKeyHandsTheKeyToTheNextProgrammingWindow) {
  ASSERT_EQ(Call("void Record(uint8)", [](auto* c) { c->SetArgByte(0, 0x12); }),
            asEXECUTION_FINISHED);
  EXPECT_EQ(d_.pendingKey, 0x12);
  EXPECT_TRUE(d_.programmingRequested);
}

TEST_F(DeviceFunctions, GetScriptPathGivesTheDevicesScriptOrNothing) {
  ASSERT_TRUE(WriteTextFile(root_ / "Vid0A7CPid0019\\Script_5.oxs", "void QpadInit() {}\n"));
  ASSERT_EQ(Call("void Path()"), asEXECUTION_FINISHED);
  EXPECT_EQ(Global<std::string>("path"), root_ / "Vid0A7CPid0019\\Script_5.oxs");
  d_.folder = nullptr;
  ASSERT_EQ(Call("void Path()"), asEXECUTION_FINISHED);
  EXPECT_EQ(Global<std::string>("path"), "");
}

TEST_F(DeviceFunctions, ResetInterfaceDropsQueuedReportsAndForgetsThePreviousReport) {
  const std::uint8_t stale[] = {1, 0x01};
  ASSERT_EQ(VhxSimQueueInput(sim_, id_, stale, 2), VHXSIM_OK);
  std::fill(d_.previousReport.begin(), d_.previousReport.end(), 0x33);
  const HANDLE readEvent = d_.readEvent;
  ASSERT_EQ(Call("void Reset()"), asEXECUTION_FINISHED);
  EXPECT_EQ(d_.previousReport, Bytes(d_.inputLength, 0));
  EXPECT_EQ(d_.readEvent, readEvent);
  ExpectEventUse();
  Bytes report(d_.inputLength);
  EXPECT_NE(VhxReadReport(d_.hidHandle, report.data()), 0);  // the stale report is gone
}

TEST_F(DeviceFunctions, RetrieveDataCollectsRepliesUpToTheLengthAsked) {
  const std::uint8_t stale[] = {1, 0x01};  // a key report from before the request
  ASSERT_EQ(VhxSimQueueInput(sim_, id_, stale, 2), VHXSIM_OK);
  Arm({Report({3, 1, 2, 3, 4, 5, 6, 7, 8}, 9), Report({3, 9, 10, 11}, 9)});
  EXPECT_EQ(CallRetrieve("requestData", 12, 1000), kRetrieveDone);
  EXPECT_EQ(Global<Bytes>("data"), (Bytes{3, 1, 2, 3, 4, 5, 6, 7, 8, 3, 9, 10}));
  EXPECT_EQ(Outputs(), (std::vector<Bytes>{Report({2, 0xB0, 7})}));
  ExpectEventUse();
}

TEST_F(DeviceFunctions, RetrieveDataKeepsPollingForLateReplies) {
  Arm({Report({3, 0xAA}, 9)}, 200);
  EXPECT_EQ(CallRetrieve("requestData", 2, 5000), kRetrieveDone);
  EXPECT_EQ(Global<Bytes>("data"), (Bytes{3, 0xAA}));
}

TEST_F(DeviceFunctions, RetrieveDataResults) {
  struct Case {
    const char* what;
    const char* output;
    unsigned length;
    bool failWrites;
    int result;
    std::size_t written;
  } cases[] = {
      {"nothing to read", "requestData", 0, false, kRetrieveDone, 1},
      {"no reply", "requestData", 4, false, kRetrieveTimedOut, 1},
      {"write refused", "requestData", 4, true, kRetrieveWriteFailed, 0},
      {"no such output", "noSuchReport", 4, false, kRetrieveNoReport, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(VhxSimSetFailWrites(sim_, id_, c.failWrites), VHXSIM_OK);
    const DWORD start = GetTickCount();
    EXPECT_EQ(CallRetrieve(c.output, c.length, 40), c.result);
    if (c.result == kRetrieveTimedOut) {
      EXPECT_GE(GetTickCount() - start, 40u);
    }
    EXPECT_TRUE(Global<Bytes>("data").empty());
    ASSERT_EQ(VhxSimSetFailWrites(sim_, id_, 0), VHXSIM_OK);
    EXPECT_EQ(Outputs().size(), c.written);
    ExpectEventUse();
  }
  // A script global the report needs is missing.
  d_.outputs.back().fields.back().globalName = "NoSuchGlobal";
  ClearOutputGlobalPointers(d_);
  EXPECT_EQ(CallRetrieve("requestData", 4, 40), kRetrieveNoReport);
  // A module of no device.
  ASSERT_EQ(BuildModule("Vid0a7cPid0019v0100Uid0006"), 0);
  EXPECT_EQ(CallRetrieve("requestData", 4, 40, "Vid0a7cPid0019v0100Uid0006"), kRetrieveNoDevice);
  EXPECT_TRUE(Outputs().empty());
}

TEST_F(DeviceFunctions, MemoryTestReadsTheSignature) {
  // Replies: reply id, byte count, offset (little-endian), data; five data bytes fit a 9-byte
  // report.
  auto replies = [](const std::string& memory) {
    std::vector<Bytes> all;
    for (std::size_t at = 0; at < memory.size(); at += 5) {
      const std::string part = memory.substr(at, 5);
      const unsigned offset = kMemoryTestStart + static_cast<unsigned>(at);
      Bytes r{kMemoryReadReply, static_cast<std::uint8_t>(part.size()), static_cast<std::uint8_t>(offset),
              static_cast<std::uint8_t>(offset >> 8)};
      r.insert(r.end(), part.begin(), part.end());
      all.push_back(Report(r, 9));
    }
    return all;
  };
  struct Case {
    const char* what;
    std::string memory;
    int result;
  } cases[] = {
      {"signature", std::string("KN Sig") + std::string(22, 'x'), 0},
      {"other bytes", std::string("KN Sag") + std::string(22, 'x'), -1},
      {"no reply", "", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.memory.empty()) Arm(replies(c.memory));
    ASSERT_EQ(Call("void MemoryTest()"), asEXECUTION_FINISHED);
    EXPECT_EQ(Global<int>("result"), c.result);
    EXPECT_EQ(Outputs(), (std::vector<Bytes>{Report({kOutputReportId, kMemoryReadRequest, 0xF8, 0x0F, 0x14, 0x10})}));
    ExpectEventUse();
  }
}

// The waits for a reply pause through the platform seam, so that a test can see them.
TEST_F(DeviceFunctions, WaitsForRepliesPauseThroughTheSystemCalls) {
  CountedPauses& pauses = calls_;
  EXPECT_EQ(CallRetrieve("requestData", 4, 40), kRetrieveTimedOut);
  const int afterRetrieve = pauses.ofOneMs;
  EXPECT_GT(afterRetrieve, 0);
  ASSERT_EQ(Call("void MemoryTest()"), asEXECUTION_FINISHED);
  EXPECT_EQ(Global<int>("result"), -1);  // no reply
  EXPECT_GT(pauses.ofOneMs, afterRetrieve);
  EXPECT_EQ(pauses.others, 0);
}

TEST_F(DeviceFunctions, LayerAndBacklightsWriteTheirReports) {
  Global<std::uint8_t>("QpadLEDs") = 0x41;  // green and one other bit
  ASSERT_EQ(Call("void Layer(bool)", [](auto* c) { c->SetArgByte(0, 1); }), asEXECUTION_FINISHED);
  ASSERT_EQ(Call("void Layer(bool)", [](auto* c) { c->SetArgByte(0, 1); }), asEXECUTION_FINISHED);
  EXPECT_TRUE(d_.redLayer);
  ASSERT_EQ(Call("void Lights(bool)", [](auto* c) { c->SetArgByte(0, 1); }), asEXECUTION_FINISHED);
  EXPECT_TRUE(d_.backlightsOn);
  ASSERT_EQ(Call("void Toggle()"), asEXECUTION_FINISHED);
  EXPECT_FALSE(d_.backlightsOn);
  EXPECT_TRUE(d_.backlightStateKnown);
  // The second layer call finds the layer shown already and writes nothing.
  EXPECT_EQ(Outputs(), (std::vector<Bytes>{Report({2, 0xC1, 0x81}), Report({2, 0xC1, 0xA1}),
                                           Report({2, 0xC1, 0x81})}));
}

TEST_F(DeviceFunctions, ProgrammingSwitchesOfTheCurrentDevice) {
  ResetEvent(d_.readEvent);
  ASSERT_EQ(Call("void Programming(uint)", [](auto* c) { c->SetArgDWord(0, 0); }),
            asEXECUTION_FINISHED);
  EXPECT_FALSE(d_.programmingAllowed);
  ASSERT_EQ(Call("void Programming(uint)", [](auto* c) { c->SetArgDWord(0, 7); }),
            asEXECUTION_FINISHED);
  EXPECT_TRUE(d_.programmingAllowed);
  ASSERT_EQ(Call("void Request()"), asEXECUTION_FINISHED);
  EXPECT_TRUE(d_.programmingRequested);
  EXPECT_EQ(WaitForSingleObject(d_.readEvent, 0), WAIT_OBJECT_0);
}

TEST_F(DeviceFunctions, WithoutACurrentDeviceNothingChanges) {
  SetCurrentDevice(nullptr);
  std::fill(d_.previousReport.begin(), d_.previousReport.end(), 0x33);
  for (const char* decl : {"void Path()", "void Reset()", "void MemoryTest()", "void Toggle()",
                           "void Request()"})
    ASSERT_EQ(Call(decl), asEXECUTION_FINISHED) << decl;
  ASSERT_EQ(Call("void Disable(uint8)", [](auto* c) { c->SetArgByte(0, 0x01); }),
            asEXECUTION_FINISHED);
  ASSERT_EQ(Call("void Record(uint8)", [](auto* c) { c->SetArgByte(0, 0x01); }),
            asEXECUTION_FINISHED);
  EXPECT_EQ(Global<std::string>("path"), "");
  EXPECT_EQ(Global<int>("result"), -1);  // the memory test
  EXPECT_EQ(d_.previousReport, Bytes(d_.inputLength, 0x33));
  EXPECT_EQ(d_.keyEnableMask, Bytes(d_.inputLength, 0xFF));
  EXPECT_EQ(d_.pendingKey, kNoPendingKey);
  EXPECT_FALSE(d_.programmingRequested);
  EXPECT_FALSE(d_.backlightStateKnown);
  EXPECT_TRUE(Outputs().empty());
}

// --- The periodic script function ----------------------------------------------------------

class PeriodicScript : public DeviceFunctions {
 protected:
  int Repeat(const std::string& name, int rate) {
    std::string text = name;
    return Call("void Repeat(const string &in, int)", [&](auto* c) {
      c->SetArgObject(0, &text);
      c->SetArgDWord(1, static_cast<asDWORD>(rate));
    });
  }
  // What the device thread does on a time-out.
  void RunDue(std::uint32_t now) {
    RunDuePeriodicFunction(now, [&](int id) {
      if (script_.Prepare(scriptEngine->GetFunctionById(id)) == 0) script_.Execute();
    });
  }
  int FunctionId(const char* name) {
    return scriptEngine->GetModule(kModule)->GetFunctionByName(name)->GetId();
  }
};

TEST_F(PeriodicScript, TheRateBecomesAnInterval) {
  const struct {
    int rate;
    std::uint32_t interval;
  } cases[] = {{10, 100}, {1, 1000}, {3, 333}, {100, 10}, {0, 10}, {500, 10}, {-4, 10}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rate);
    ASSERT_EQ(Repeat("Tick", c.rate), asEXECUTION_FINISHED);
    EXPECT_EQ(GetPeriodicFunction().functionId, FunctionId("Tick"));
    EXPECT_EQ(GetPeriodicFunction().interval, c.interval);
  }
  ASSERT_EQ(Repeat("", 10), asEXECUTION_FINISHED);
  EXPECT_FALSE(PeriodicFunctionRunning());
  ASSERT_EQ(Repeat("Tick", 10), asEXECUTION_FINISHED);
  ASSERT_EQ(Repeat("NoSuchFunction", 10), asEXECUTION_FINISHED);
  EXPECT_FALSE(PeriodicFunctionRunning());
}

TEST_F(PeriodicScript, RunsOnTimeAndCatchesUpMissedIntervals) {
  ASSERT_EQ(Repeat("Tick", 10), asEXECUTION_FINISHED);
  const std::uint32_t start = GetPeriodicFunction().schedule;
  EXPECT_EQ(GetPeriodicFunction().nextRun, start);
  RunDue(start + 1);
  EXPECT_EQ(Global<int>("ticks"), 1);
  EXPECT_EQ(GetPeriodicFunction().nextRun, start + 101);
  RunDue(start + 100);  // not yet due
  EXPECT_EQ(Global<int>("ticks"), 1);
  // Three intervals late: three runs in a row.
  RunDue(start + 400);
  EXPECT_EQ(Global<int>("ticks"), 4);
  EXPECT_EQ(GetPeriodicFunction().schedule, start + 400);
  // Calling repeatFunction while running keeps the schedule.
  ASSERT_EQ(Repeat("Tick", 5), asEXECUTION_FINISHED);
  EXPECT_EQ(GetPeriodicFunction().schedule, start + 400);
  EXPECT_EQ(GetPeriodicFunction().interval, 200u);
}

TEST_F(PeriodicScript, AFunctionThatStopsItselfEndsTheCatchUp) {
  ASSERT_EQ(Repeat("TickTwiceThenStop", 100), asEXECUTION_FINISHED);
  const std::uint32_t start = GetPeriodicFunction().schedule;
  ASSERT_TRUE(RunWithTimeout([&] { RunDue(start + 1000); }, 5000));
  EXPECT_EQ(Global<int>("ticks"), 2);
  EXPECT_FALSE(PeriodicFunctionRunning());
}

TEST(PeriodicFunction, TicksAcrossTheWrapOfTheTickCount) {
  StopPeriodicFunction();
  StartPeriodicFunction(42, 100, 0xFFFFFFF0u);
  std::vector<int> runs;
  RunDuePeriodicFunction(0x50, [&](int id) { runs.push_back(id); });
  EXPECT_EQ(runs, (std::vector<int>{42}));
  EXPECT_EQ(GetPeriodicFunction().nextRun, 0x50u + 100);
  RunDuePeriodicFunction(0x60, [&](int id) { runs.push_back(id); });
  EXPECT_EQ(runs.size(), 1u);
  StartPeriodicFunction(42, 0, 0x60);
  EXPECT_FALSE(PeriodicFunctionRunning());
}


}  // namespace
