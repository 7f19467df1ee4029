// Input reports of one device handed to the functions of its script module.
#include "runtime/device/input_dispatch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/base/system_calls.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/device/host_interface.h"
#include "runtime/device/report_config.h"
#include "runtime/script/debug_engine.h"
#include "runtime/script/script_output_stream.h"
#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"

namespace {

std::vector<std::string> calls;

void Record(const std::string& text) { calls.push_back(text); }
void AutoRepeatThisKey(unsigned initial, unsigned repeat) {
  StartAutoRepeat(static_cast<int>(initial), static_cast<int>(repeat));
}
void ThrowFromHost() { throw std::runtime_error("host failure"); }

std::string Joined() {
  std::string out;
  for (const auto& c : calls) out += (out.empty() ? "" : "|") + c;
  return out;
}

constexpr const char* kModule = "Vid0a7cPid0019v0100Uid0001";

// The platform of the dispatch: it counts the boxes shown.
class BoxCount : public SystemCalls {
 public:
  std::vector<std::string> captions;
  BoxAnswer ShowMessageBox(void*, const char*, const char* caption, BoxButtons, BoxIcon, BoxFlag) override {
    captions.push_back(caption);
    return BoxAnswer::Ok;
  }
};

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    dispatch_.emplace(*windows_, *hostProcess_, boxes_);
    engine_.reset(asCreateDebugScriptEngine(20401, nullptr, nullptr));
    ASSERT_NE(engine_, nullptr);
    context_ = engine_->CreateContext();
    ScriptRegistrar reg(engine_->Library());
    RegisterScriptTypes(reg);
    reg.GlobalFunction("void Record(const string &in)", asFUNCTION(Record), asCALL_CDECL);
    reg.GlobalFunction("void AutoRepeatThisKey(uint,uint)", asFUNCTION(AutoRepeatThisKey),
                       asCALL_CDECL);
    reg.GlobalFunction("void ThrowFromHost()", asFUNCTION(ThrowFromHost), asCALL_CDECL);
    ASSERT_TRUE(reg.Ok()) << reg.FailureText();
    calls.clear();
    CancelAutoRepeat();
    ResetForwardedKeyCount();
    SetProgrammingAllowed(true);
  }
  void TearDown() override {
    SetCurrentDevice(nullptr);
    CancelAutoRepeat();
    context_.reset();
    engine_.reset();
  }

  // A 9-byte device of the configuration, its module built from the script. The switch
  // defaults to none; pass "uid_and_ps -2 4 0x10" lines in the configuration for one.
  void Device(const std::string& config, const std::string& script, bool withSwitch = false) {
    ReportConfig c;
    std::string why;
    const std::string header = withSwitch ? "uid_and_ps -2 4 0x10\n" : "uid_and_ps -2 -\n";
    ASSERT_TRUE(ParseReportConfigText(header + config, c, &why)) << why;
    ApplyReportConfig(d_, std::move(c));
    d_.hidHandle = 7;
    ASSERT_TRUE(SetUpDeviceReports(d_, 9, 0));
    d_.moduleName = kModule;
    ASSERT_GE(engine_->AddScriptSection(kModule, "QpadHandler", script.c_str(), script.size()), 0);
    struct : ScriptOutputStream {
      std::string text;
      void Write(const char* line) override { text += line; }
    } messages;
    engine_->SetMessageStream(&messages);
    const int built = engine_->Build(kModule);
    engine_->SetMessageStream(nullptr);
    ASSERT_EQ(built, 0) << messages.text;
  }

  // Dispatches a report given from byte 1 on (byte 0, the report id, is 0).
  std::string Report(std::vector<std::uint8_t> bytes) {
    calls.clear();
    bytes.insert(bytes.begin(), 0);
    bytes.resize(d_.currentReport.size(), 0);
    d_.currentReport = bytes;
    dispatch_->DispatchInputReport(d_, engine_.get(), context_.get());
    return Joined();
  }
  std::string Periodic(int input = 0) {
    calls.clear();
    dispatch_->RunPeriodicInputs(d_, d_.inputs[input], engine_.get(), context_.get());
    return Joined();
  }

  ProgrammingWindows noWindows_;
  // Before SetUp: the windows and the host process of the dispatch.
  ProgrammingWindows* windows_ = &noWindows_;
  HostProcess* hostProcess_ = &NoHostProcess();
  BoxCount boxes_;
  std::optional<::InputDispatch> dispatch_;
  std::unique_ptr<asCDebugScriptEngine> engine_;
  std::unique_ptr<asCDebugContext> context_;
  DeviceRecord d_;
};

const char* kKeys =
    "input void KeyDown(uint8 scanCode)\nscanCodeDown 1 3\n"
    "input void KeyUp(uint8 scanCode)\nscanCodeUp 1 3\n";
const char* kKeyScript =
    "void KeyDown(uint8 c) { Record('down ' + c); }\n"
    "void KeyUp(uint8 c) { Record('up ' + c); }\n";

TEST_F(Dispatch, KeyBitsInSeveralBytesCallOncePerChangedKeyLowerCodeFirst) {
  Device(kKeys, kKeyScript);
  struct Step {
    std::vector<std::uint8_t> report;
    const char* calls;
  } steps[] = {
      {{0x04}, "down 2"},
      {{0x04, 0x00, 0x81}, "down 32|down 39"},  // byte 2 of the field: 2 * 16 + bit
      {{0x05, 0x10, 0x81}, "down 0|down 20"},
      {{0x05, 0x10, 0x81}, ""},  // unchanged: no call
      {{0x01, 0x00, 0x80}, "up 2|up 20|up 32"},
      {{0x00, 0x00, 0x00}, "up 0|up 39"},
  };
  for (const Step& s : steps) EXPECT_EQ(Report(s.report), s.calls);
  EXPECT_EQ(d_.previousReport, d_.currentReport);
}

TEST_F(Dispatch, ScanCodeChangedAddsTwoHundredFiftySixWhenDown) {
  Device("input void Changed(int code)\nscanCodeChanged 1 2\n"
         "input void Narrow(uint8 code)\nscanCodeChanged 1 2\n",
         "void Changed(int c) { Record('wide ' + c); }\n"
         "void Narrow(uint8 c) { Record('narrow ' + c); }\n");
  // Byte 1 of the field, bit 2: code 0x12.
  EXPECT_EQ(Report({0x00, 0x04}), "wide 274|narrow 18");  // the uint8 keeps the low byte
  EXPECT_EQ(Report({0x00, 0x00}), "wide 18|narrow 18");
}

TEST_F(Dispatch, DisabledKeysAreMaskedBeforeTheComparison) {
  Device(kKeys, kKeyScript);
  d_.keyEnableMask[1] = static_cast<std::uint8_t>(~0x04);
  EXPECT_EQ(Report({0x04}), "");
  EXPECT_EQ(d_.previousReport[1], 0);
  EXPECT_EQ(Report({0x06}), "down 1");
  EXPECT_EQ(Report({0x00}), "up 1");
}

TEST_F(Dispatch, RequireValueAndConstantFields) {
  Device("input void Lever(int tag, uint8 v)\nconstant 0x33\nvalue 2\nrequire 5 0x42\n",
         "void Lever(int tag, uint8 v) { Record('lever ' + tag + ' ' + v); }\n");
  EXPECT_EQ(Report({0, 9}), "");                      // byte 5 does not match
  EXPECT_EQ(Report({0, 9, 0, 0, 0x42}), "lever 51 9");  // the require byte itself changed
  EXPECT_EQ(Report({0, 9, 0, 0, 0x42}), "");          // a constant alone is no change
  EXPECT_EQ(Report({0, 8, 0, 0, 0x42}), "lever 51 8");
  EXPECT_EQ(Report({0, 7, 0, 0, 0x41}), "");  // the value changed, the requirement fails
}

TEST_F(Dispatch, ValuesGoAsAnIntArrayByReferenceOrByValue) {
  Device("input void Ref(int[] &in v)\nvalues 1 4\n"
         "input void Copy(int[] v)\nvalues 2 4\n",
         "void Show(const string &in name, const int[] &in v) {\n"
         "  string s = name; for (int i = 0; i < v.size(); i++) s += ' ' + v[i]; Record(s);\n"
         "}\n"
         "void Ref(int[] &in v) { Show('ref', v); }\n"
         "void Copy(int[] v) { Show('copy', v); }\n");
  EXPECT_EQ(Report({200, 2, 3}), "ref 200 2 3|copy 2 3");
  EXPECT_EQ(Report({201, 2, 3}), "ref 201 2 3");  // bytes 2 and 3 did not change
}

TEST_F(Dispatch, FieldsBeyondTheParametersAreNotSetAndParametersBeyondTheFieldsReadZero) {
  Device("input void Few(uint8 a)\nvalue 1\nvalue 2\n"
         "input void Many(uint8 a, int b, bool c)\nvalue 1\n"
         "input void Wrong(string s)\nvalue 1\n"
         "input void Missing(uint8 a)\nvalue 1\n"
         "input void Last(uint16 a)\nvalue 1\n",
         "void Few(uint8 a) { Record('few ' + a); }\n"
         "void Many(uint8 a, int b, bool c) { Record('many ' + a + ' ' + b + (c ? ' true' : ' false')); }\n"
         "void Wrong(string s) { Record('wrong'); }\n"
         "void Last(uint16 a) { Record('last ' + a); }\n");
  EXPECT_EQ(Report({5}), "few 5|many 5 0 false|last 5");
  EXPECT_EQ(Report({5, 6}), "few 5");  // the second field changed, and is not an argument
}

TEST_F(Dispatch, AValueChangeBesideKeysIsNotReportedAgainWithoutAKey) {
  Device("input void Mixed(uint8 v, uint8 key)\nvalue 5\nscanCodeDown 1 1\n",
         "void Mixed(uint8 v, uint8 key) { Record(v + ':' + key); }\n");
  EXPECT_EQ(Report({0x05, 0, 0, 0, 9}), "9:0|9:2");
  EXPECT_EQ(Report({0x05, 0, 0, 0, 8}), "8:0");  // a value change alone calls once
}

TEST_F(Dispatch, AScriptExceptionOrAHostExceptionDoesNotStopTheDispatch) {
  Device(kKeys,
         "void KeyDown(uint8 c) {\n"
         "  Record('down ' + c);\n"
         "  if (c == 0) { int[] a; a[3] = 1; }\n"
         "  if (c == 1) ThrowFromHost();\n"
         "  Record('after ' + c);\n"
         "}\n"
         "void KeyUp(uint8 c) { Record('up ' + c); }\n");
  EXPECT_EQ(Report({0x03}), "down 0|down 1");
  EXPECT_EQ(Report({0x07}), "down 2|after 2");
  EXPECT_EQ(Report({0x00}), "up 0|up 1|up 2");
}

TEST_F(Dispatch, AReportShorterOrLongerThanTheConfigurationIsReadSafely) {
  Device(kKeys + std::string("input void Lever(uint8 v)\nvalue 8\n"),
         kKeyScript + std::string("void Lever(uint8 v) { Record('lever ' + v); }\n"));
  d_.currentReport = {0, 0x01, 0x00, 0x02, 0, 0, 0, 0, 9};
  dispatch_->DispatchInputReport(d_, engine_.get(), context_.get());
  calls.clear();
  d_.currentReport = {0, 0x01};  // short: the missing bytes read as 0
  dispatch_->DispatchInputReport(d_, engine_.get(), context_.get());
  EXPECT_EQ(Joined(), "up 33|lever 0");
  EXPECT_EQ(d_.previousReport.size(), 2u);
  calls.clear();
  d_.currentReport.assign(40, 0);  // longer
  d_.currentReport[1] = 0x01;
  d_.currentReport[3] = 0x02;
  dispatch_->DispatchInputReport(d_, engine_.get(), context_.get());
  EXPECT_EQ(Joined(), "down 33");
}

TEST_F(Dispatch, ADeviceWithoutAModuleOrAnUndefinedFunctionIsSkipped) {
  Device("input void NotInTheScript(uint8 c)\nscanCodeDown 1 1\n" + std::string(kKeys),
         kKeyScript);
  EXPECT_EQ(Report({0x01}), "down 0");
  d_.moduleName.clear();
  EXPECT_EQ(Report({0x00}), "");
  EXPECT_EQ(d_.previousReport[1], 0);  // still stored
}

TEST_F(Dispatch, PeriodicInputsReportThePresentState) {
  Device("input period 50 void Levers(uint8 a, uint8 b)\nvalue 1\nvalue 2\n"
         "input period 20 void Held(uint8 c)\nscanCodeDown 3 1\n"
         "input period 20 void Free(uint8 c)\nscanCodeUp 3 1\n"
         "input period 20 void All(int c)\nscanCodeChanged 3 1\nconstant 1\n"
         "input period 20 void Gate(uint8 v)\nvalue 1\nrequire 4 1\n",
         "void Levers(uint8 a, uint8 b) { Record('levers ' + a + ' ' + b); }\n"
         "void Held(uint8 c) { Record('' + c); }\n"
         "void Free(uint8 c) { Record('' + c); }\n"
         "void All(int c) { Record('' + c); }\n"
         "void Gate(uint8 v) { Record('gate ' + v); }\n");
  Report({10, 20, 0x05});  // none of them is called on change
  EXPECT_TRUE(calls.empty());
  d_.inputs[0].dueTick = 1000;
  EXPECT_EQ(Periodic(0), "levers 10 20");  // unchanged since the last report, still called
  EXPECT_EQ(d_.inputs[0].dueTick, 1050u);
  EXPECT_EQ(Periodic(1), "0|2");
  EXPECT_EQ(Periodic(2), "1|3|4|5|6|7");
  EXPECT_EQ(Periodic(3), "256|1|258|3|4|5|6|7");
  EXPECT_EQ(Periodic(4), "");
  Report({10, 20, 0x05, 1});
  EXPECT_EQ(Periodic(4), "gate 10");
}

TEST_F(Dispatch, AutoRepeatTakesTheKeyThatTheDownFieldReported) {
  Device(kKeys,
         "void KeyDown(uint8 c) { Record('down ' + c); AutoRepeatThisKey(400, 50); }\n"
         "void KeyUp(uint8 c) { AutoRepeatThisKey(1, 1); Record('up ' + c); }\n");
  const DWORD before = GetTickCount();
  Report({0x00, 0x08});
  AutoRepeatState r = GetAutoRepeat();
  ASSERT_TRUE(r.active);
  EXPECT_EQ(r.hidHandle, 7);
  EXPECT_EQ(r.inputIndex, 0);
  EXPECT_EQ(r.byteIndex, 2);
  EXPECT_EQ(r.bitMask, 0x08);
  EXPECT_GE(r.dueTick - before, 400u);
  EXPECT_LE(r.dueTick - before, 1400u);
  EXPECT_EQ(d_.inputs[0].repeatInterval, 50);

  Report({0x00, 0x08, 0x80});  // bit 7: the walk has moved on to the next byte
  r = GetAutoRepeat();
  ASSERT_TRUE(r.active);
  EXPECT_EQ(r.byteIndex, 3);
  EXPECT_EQ(r.bitMask, 0x80);

  Report({0x00, 0x08});  // the release is a KeyUp call: it ends the repeat
  EXPECT_FALSE(GetAutoRepeat().active);
  StartAutoRepeat(10, 10);  // outside an input call: nothing
  EXPECT_FALSE(GetAutoRepeat().active);
}

TEST_F(Dispatch, OnlyCallsForChangesCancelTheAutoRepeat) {
  Device(std::string(kKeys) +
             "input period 20 void Lever(uint8 v)\nvalue 4\n"
             "input void Rotary(uint8 v)\nvalue 5\n",
         "void KeyDown(uint8 c) { Record('down ' + c); AutoRepeatThisKey(400, 50); }\n"
         "void KeyUp(uint8 c) { Record('up ' + c); }\n"
         "void Lever(uint8 v) { Record('lever ' + v); }\n"
         "void Rotary(uint8 v) { Record('rotary ' + v); }\n");
  Report({0x01});
  ASSERT_TRUE(GetAutoRepeat().active);
  // A periodic input runs while the key is held (a lever of another device, say).
  EXPECT_EQ(Periodic(2), "lever 0");
  EXPECT_TRUE(GetAutoRepeat().active);
  // Any call for a change does cancel it, as a held key's own KeyDown renews it.
  EXPECT_EQ(Report({0x01, 0, 0, 0, 7}), "rotary 7");
  EXPECT_FALSE(GetAutoRepeat().active);
}

// --- A host process -----------------------------------------------------------------------

// A host that claims the device while `claim` holds its id, and the reports it was handed.
struct ClaimingHost : HostProcess {
  std::optional<int> claim = 4;
  std::vector<std::string> reports;

  std::optional<int> ClaimOn(const DeviceRecord&) override { return claim; }
  void TakeReport(int hostId, unsigned char* report, int length) override {
    std::string hex;
    char two[3];
    for (int i = 0; i < length; ++i) {
      std::snprintf(two, sizeof two, "%02x", report[i]);
      hex += two;
    }
    reports.push_back(std::to_string(hostId) + ": " + hex);
  }
};

class ClaimedDevice : public Dispatch {
 protected:
  void SetUp() override {
    hostProcess_ = &host_;
    Dispatch::SetUp();
    Device(kKeys, kKeyScript);
  }
  ClaimingHost host_;
};

// A claimed device's report goes to the host, masked and whole, wherever a script would have
// been called (here once for each key that went down or up); the scripts get none. Unclaimed,
// the next change goes to the scripts again.
TEST_F(ClaimedDevice, ReportsGoToTheHostInsteadOfTheScripts) {
  SetDeviceKeyEnabled(d_, 1, false);  // bit 1 of byte 1
  EXPECT_EQ(Report({0x03, 0x10}), "");  // keys 0 and 20 down, key 1 masked
  EXPECT_EQ(Report({0x00}), "");
  EXPECT_EQ(host_.reports, (std::vector<std::string>{"4: 000110000000000000", "4: 000110000000000000",
                                                     "4: 000000000000000000", "4: 000000000000000000"}));
  host_.claim.reset();
  EXPECT_EQ(Report({0x01}), "down 0");
  EXPECT_EQ(host_.reports.size(), 4u);
}

// --- The programming switch --------------------------------------------------------------

// A programming window of the message-only kind, and the keys it was given.
struct WindowLog : ProgrammingWindows {
  int opened = 0;
  bool fail = false;
  std::vector<std::string> keys;

  HWND OpenProgrammingWindow(DeviceRecord&) override {
    ++opened;
    if (fail) return nullptr;
    return CreateWindowA("STATIC", "programming", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }
  void ProgrammingKey(DeviceRecord&, int code, bool pressed) override {
    keys.push_back((pressed ? "+" : "-") + std::to_string(code));
  }
} windowLog;

class ProgrammingSwitch : public Dispatch {
 protected:
  void SetUp() override {
    windowLog = WindowLog();
    windows_ = &windowLog;
    Dispatch::SetUp();
    Device(kKeys, kKeyScript, true);
  }
  void TearDown() override {
    if (IsWindow(d_.programmingWindow)) DestroyWindow(d_.programmingWindow);
    Dispatch::TearDown();
  }
  std::string Keys() {
    std::string out;
    for (const auto& k : windowLog.keys) out += (out.empty() ? "" : " ") + k;
    windowLog.keys.clear();
    return out;
  }
};

TEST_F(ProgrammingSwitch, OpensOnThePressForwardsKeysAndClosesOnTheRelease) {
  EXPECT_EQ(Report({0, 0, 0, 0x10}), "");
  EXPECT_EQ(windowLog.opened, 1);
  HWND window = d_.programmingWindow;
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(Report({0x02, 0, 0x01, 0x10}), "");  // keys go to the window, not the script
  EXPECT_EQ(Keys(), "+1 +32");
  EXPECT_EQ(Report({0x00, 0, 0x01, 0x10}), "");
  EXPECT_EQ(Keys(), "-1");
  EXPECT_EQ(GetForwardedKeyCount(), 3);
  EXPECT_EQ(windowLog.opened, 1);

  EXPECT_EQ(Report({0x00, 0, 0x00, 0x00}), "up 32");  // closed, then dispatched
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(d_.programmingWindow, nullptr);
  EXPECT_EQ(Keys(), "");
}

TEST_F(ProgrammingSwitch, ARequestKeepsTheWindowOverTheSwitchUntilTheSwitchIsUsed) {
  d_.programmingRequested = true;
  d_.pendingKey = 5;
  EXPECT_TRUE(dispatch_->CheckProgrammingSwitch(d_));  // as the request slot does it
  EXPECT_EQ(windowLog.opened, 1);
  EXPECT_EQ(Keys(), "+5");
  EXPECT_EQ(Report({0x01}), "");
  EXPECT_EQ(Keys(), "+0");
  EXPECT_EQ(Report({0x00}), "");  // no switch at all: the requested window stays
  EXPECT_TRUE(IsWindow(d_.programmingWindow));
  EXPECT_EQ(Keys(), "-0");
  EXPECT_EQ(Report({0, 0, 0, 0x10}), "");
  EXPECT_EQ(Keys(), "");  // the switch itself is no key
  EXPECT_EQ(Report({0, 0, 0, 0x00}), "");
  EXPECT_EQ(d_.programmingWindow, nullptr);
  EXPECT_FALSE(d_.programmingRequested);
}

TEST_F(ProgrammingSwitch, NoWindowMeansNoProgrammingMode) {
  windowLog.fail = true;
  d_.programmingRequested = true;
  EXPECT_EQ(Report({0x01}), "down 0");
  EXPECT_FALSE(d_.programmingRequested);
  EXPECT_EQ(Report({0x00}), "up 0");
  EXPECT_EQ(windowLog.opened, 1);  // no new attempt with every report
}

// Without a module (no script, or one that did not build) there is nothing to program: the
// switch turned on, and a request, are each answered once with the reason; no window opens and
// the request goes.
TEST_F(ProgrammingSwitch, ADeviceWithoutAModuleSaysWhyOncePerSwitchOrRequest) {
  const BoxCount& boxes = boxes_;
  d_.moduleName.clear();
  const struct {
    std::vector<std::uint8_t> report;
    int boxesAfter;
  } steps[] = {
      {{0x01, 0, 0, 0x10}, 1},  // the switch turns on
      {{0x00, 0, 0, 0x10}, 1},  // still on
      {{0x00, 0, 0, 0x00}, 1},
      {{0x00, 0, 0, 0x10}, 2},  // on again
  };
  for (const auto& s : steps) {
    Report(s.report);
    EXPECT_EQ(static_cast<int>(boxes.captions.size()), s.boxesAfter);
  }
  d_.programmingRequested = true;  // the tray's request, with the switch still on
  EXPECT_FALSE(dispatch_->CheckProgrammingSwitch(d_));
  EXPECT_FALSE(d_.programmingRequested);
  EXPECT_EQ(boxes.captions, (std::vector<std::string>(3, "Orvane II Error")));
  EXPECT_EQ(windowLog.opened, 0);
  // In client mode the switch means nothing.
  SetProgrammingAllowed(false);
  Report({0x00, 0, 0, 0x00});
  Report({0x00, 0, 0, 0x10});
  EXPECT_EQ(boxes.captions.size(), 3u);
}

TEST_F(ProgrammingSwitch, AppliesOnlyWhenProgrammingIsAllowed) {
  d_.programmingAllowed = false;
  EXPECT_EQ(Report({0x01, 0, 0, 0x10}), "down 0");
  d_.programmingAllowed = true;
  SetProgrammingAllowed(false);  // client mode
  EXPECT_EQ(Report({0x00, 0, 0, 0x00}), "up 0");
  EXPECT_EQ(Report({0x01, 0, 0, 0x10}), "down 0");
  EXPECT_EQ(windowLog.opened, 0);
}

TEST_F(ProgrammingSwitch, ClearsTheAutoRepeatOfAReportItTakes) {
  AutoRepeatState held;
  held.active = true;
  held.hidHandle = 7;
  held.inputIndex = 0;
  GetAutoRepeat() = held;
  Report({0x00});  // not taken: the repeat stays
  EXPECT_TRUE(GetAutoRepeat().active);
  Report({0, 0, 0, 0x10});
  EXPECT_FALSE(GetAutoRepeat().active);
}

TEST(PressedKeys, CodesOfTheHeldKeysEndedBy255) {
  DeviceRecord d;
  d.currentReport = {0xFF, 0x05, 0x00, 0x80, 0xFF};
  std::vector<std::uint8_t> out;
  PressedKeysToCodes(d, out);  // no key bytes
  EXPECT_EQ(out, (std::vector<std::uint8_t>{255}));
  d.firstKeyByte = 1;
  d.lastKeyByte = 3;
  PressedKeysToCodes(d, out);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0, 2, 39, 255}));
  d.lastKeyByte = 9;  // past the report
  PressedKeysToCodes(d, out);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0, 2, 39, 48, 49, 50, 51, 52, 53, 54, 55, 255}));
}

}  // namespace
