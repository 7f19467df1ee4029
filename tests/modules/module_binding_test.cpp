// The main program's module loading binds the two libraries: a device's report configuration
// names a library and declares its exports, the runtime loads it and registers them, and a
// device script built through the runtime calls them with its own values and strings.
#include <windows.h>
#include <angelscript.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "runtime/script/debug_engine.h"
#include "runtime/service/device_module_build.h"
#include "runtime/device/device_record.h"
#include "runtime/device/report_config.h"
#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"
#include "tests/modules/lococab/lococab_library.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

std::vector<std::string> records;
void Record(const std::string& text) { records.push_back(text); }
void RecordInt(int value) { records.push_back(std::to_string(value)); }
void RecordFloat(float value) { records.push_back(lococabtest::FloatText(value)); }

std::string Records() {
  std::string out;
  for (const std::string& r : records) out += r + ";";
  return out;
}

// A device of the given report configuration whose module is built from the script through
// the runtime's module build, as the device thread does it.
class ScriptedDevice {
 public:
  ScriptedDevice(const std::string& reportConfig, const std::string& script) {
    records.clear();
    ScriptRegistrar reg(engine_->Library());
    RegisterScriptTypes(reg);
    reg.GlobalFunction("void record(const string &in)", asFUNCTION(Record), asCALL_CDECL);
    reg.GlobalFunction("void recordInt(int)", asFUNCTION(RecordInt), asCALL_CDECL);
    reg.GlobalFunction("void recordFloat(float)", asFUNCTION(RecordFloat), asCALL_CDECL);
    ReportConfig config;
    parsed_ = ParseReportConfigText(reportConfig, config, &reason_);
    ApplyReportConfig(device_, std::move(config));
    device_.vendorId = 0x0A7C;
    device_.productId = 0xD2;
    device_.unitId = 1;
    WriteTextFile(dir_ / "Script_1.oxs", script);
    buildResult_ = LoadDeviceModuleDlls(device_, *engine_, nullptr,
                                        FilePtr(std::fopen((dir_ / "Script_1.oxs").c_str(), "rb")));
  }
  ~ScriptedDevice() {
    engine_.reset();  // the engine holds the libraries' function addresses
    for (ModuleConfig& m : device_.modules)
      if (m.library) FreeLibrary(static_cast<HMODULE>(m.library));
  }
  ScriptedDevice(const ScriptedDevice&) = delete;
  ScriptedDevice& operator=(const ScriptedDevice&) = delete;

  // "" when the configuration was taken and the script built; else why not.
  std::string Problem() const {
    if (!parsed_) return "report configuration refused: " + reason_;
    if (buildResult_ != 0) return "build result " + std::to_string(buildResult_);
    return "";
  }
  // Runs "void name()" of the device's module; the execution result.
  int Call(const char* name) {
    asIScriptModule* module = engine_->Library()->GetModule(device_.moduleName.c_str());
    asIScriptFunction* f = module ? module->GetFunctionByName(name) : nullptr;
    if (!f) return -1000;
    asIScriptContext* context = engine_->Library()->CreateContext();
    int result = context->Prepare(f);
    if (result >= 0) result = context->Execute();
    context->Release();
    return result;
  }

 private:
  ScratchDir dir_{"binding"};
  std::unique_ptr<asCDebugScriptEngine> engine_{asCreateDebugScriptEngine(20401, nullptr, nullptr)};
  DeviceRecord device_;
  bool parsed_ = false;
  std::string reason_;
  int buildResult_ = -1;
};

std::string ReadWhole(const std::string& path) {
  std::string text;
  return ReadTextFile(path, text) ? text : std::string();
}

// The cab controller's own sample configuration binds the bridge, and its script talks to a
// simulator that has loaded the library too.
TEST(ModuleBinding, TheCabControllersSampleConfigurationBindsTheBridge) {
  const std::string config =
      ReadWhole(EnvOr("ORVANE_BIN") + "\\QpadDevices\\Vid0a7cPid00d2\\ReportConfig.txt");
  ASSERT_NE(config.find("module Lococab.dll"), std::string::npos);
  lococabtest::LococabLibrary simulator(EnvOr("ORVANE_BIN") + "\\Lococab.dll");
  ASSERT_TRUE(simulator.ok()) << simulator.missing();
  simulator.SetVeltrakConnected(1);
  ScriptedDevice device(config,
                        "void QpadInit() {}\r\n"
                        "void Connect() {\r\n"
                        "  SetLococabConnected(1);\r\n"
                        "  recordInt(GetVeltrakConnected());\r\n"
                        "  SetVeltrakValue(5, 2.5f);\r\n"
                        "  SetLococabLocoChanged(3);\r\n"
                        "  recordInt(GetLococabGetId());\r\n"
                        "}\r\n");
  ASSERT_EQ(device.Problem(), "");
  EXPECT_EQ(device.Call("Connect"), asEXECUTION_FINISHED);
  EXPECT_EQ(Records(), "1;-1;");
  EXPECT_EQ(simulator.GetLococabConnected(), 1);
  EXPECT_EQ(simulator.GetVeltrakCombinedThrottleBrake(), 3);
  EXPECT_EQ(simulator.GetNextLococabId(-1), 5);
  EXPECT_EQ(simulator.GetLococabValue(5), 2.5f);
}

// A script declares the overlay's exports with its own strings passed by reference: the cut
// of the path reaches the script's variable.
TEST(ModuleBinding, AScriptOpensAndClosesAnOverlayWithItsOwnStrings) {
  const std::string library = EnvOr("ORVANE_BIN") + "\\QpadCalibration.dll";
  const std::string config =
      "output setID\r\nconstant 2\r\n\r\nmodule " + library +
      "\r\n"
      "moduleFunction uint BeginCalibration(string &name, string &path)\r\n"
      "moduleFunction int AddTextBlock(uint overlay, string &text, int x, int y, int width, "
      "int height, int red, int green, int blue, string &font, int size)\r\n"
      "moduleFunction int MoveControlImage(uint overlay, int x, int y)\r\n"
      "moduleFunction int EndCalibration(uint overlay)\r\n";
  ScriptedDevice device(
      config,
      "void QpadInit() {}\r\n"
      "void Calibrate() {\r\n"
      "  string name = \"Cab\", path = \"E:\\\\cab\\\\data\\\\script.oxs\";\r\n"
      "  string font = \"Arial\";\r\n"
      "  uint overlay = BeginCalibration(name, path);\r\n"
      "  record(path);\r\n"
      "  recordInt(overlay == 0 ? 0 : 1);\r\n"
      "  recordInt(AddTextBlock(overlay, name, 0, 0, 50, 20, 0, 0, 0, font, 9));\r\n"
      "  recordInt(MoveControlImage(overlay, 1, 2));\r\n"
      "  recordInt(EndCalibration(overlay));\r\n"
      "  recordInt(MoveControlImage(overlay, 1, 2));\r\n"
      "}\r\n");
  ASSERT_EQ(device.Problem(), "");
  EXPECT_EQ(device.Call("Calibrate"), asEXECUTION_FINISHED);
  EXPECT_EQ(Records(), "E:\\cab\\data;1;0;1;0;0;");
}

}  // namespace
