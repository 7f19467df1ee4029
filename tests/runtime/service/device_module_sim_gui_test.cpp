// Device modules built from their script files by the real device thread.
#include "runtime/service/device_module_build.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "runtime/script/debug_engine.h"
#include "runtime/script/script_registrar.h"
#include "tests/runtime/service/device_thread_fixture.h"

using namespace testsupport;

namespace {

std::mutex recordMutex;
std::vector<std::string> records;

void Record(const std::string& text) {
  std::lock_guard lock(recordMutex);
  records.push_back(text);
}
void RecordInt(int value) { Record(std::to_string(value)); }

void RegisterRecorders(ScriptRegistrar& r) {
  r.GlobalFunction("void record(const string &in)", asFUNCTION(Record), asCALL_CDECL);
  r.GlobalFunction("void recordInt(int)", asFUNCTION(RecordInt), asCALL_CDECL);
}

// The program's dialogs, with the recorders on every engine and the build callback the test
// gives (none at first).
class RecordingDialogs : public ProgramDialogs {
 public:
  using ProgramDialogs::ProgramDialogs;
  void RegisterMoreScriptFunctions(ScriptRegistrar& r) override { RegisterRecorders(r); }
  DeviceBuildCallback BuildCallback() override { return buildCallback; }
  std::atomic<DeviceBuildCallback> buildCallback{nullptr};
};

bool Recorded(const std::string& text) {
  std::lock_guard lock(recordMutex);
  return std::find(records.begin(), records.end(), text) != records.end();
}

class Modules : public DeviceThread {
 protected:
  void SetUp() override {
    DeviceThread::SetUp();
    {
      std::lock_guard lock(recordMutex);
      records.clear();
    }
    recording_ = &UseOwnHost<RecordingDialogs>(*platform_);
  }
  void TearDown() override {
    DeviceThread::TearDown();
    SetDataRootFromHost("");
  }
  // Takes effect at the next build cycle.
  void SetBuildCallback(DeviceBuildCallback callback) { recording_->buildCallback = callback; }
  RecordingDialogs* recording_ = nullptr;
  std::string Folder(int pid = 0x19) const {
    char name[48];
    std::snprintf(name, sizeof name, "QpadDevices\\Vid0a7cPid%04x", pid);
    return dir_ / name;
  }
  const DeviceRecord* First() {
    const DeviceTableView table = GetDeviceTable();
    return !table.empty() ? table[0].get() : nullptr;
  }
};

TEST(DeviceModuleName, IsFourLowerCaseHexDigitsEach) {
  DeviceRecord d;
  d.vendorId = 0x0A7C;
  d.productId = 0x19;
  d.version = 1;
  d.unitId = 2;
  EXPECT_EQ(DeviceModuleName(d), "Vid0a7cPid0019v0001Uid0002");
}

TEST_F(Modules, AGoodScriptRunsQpadInitSetsTheLayerLedAndIsBackedUp) {
  const std::string script = "uint8 QpadLEDs = 0x20;\r\nvoid QpadInit() { record(\"init\"); }\r\n";
  WriteTextFile(Folder() + "\\Script_1.oxs", script);
  const int id = AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  EXPECT_TRUE(WaitUntil([] { return Recorded("init"); }, 5000));
  ASSERT_NE(First(), nullptr);
  EXPECT_EQ(First()->moduleName, "Vid0a7cPid0019v0100Uid0001");
  EXPECT_TRUE(WaitUntil([&] { return ReadFileOr(Folder() + "\\Script_1_backup.oxs") == script; }, 5000));
  // The green layer LED joins the script's other bits.
  std::vector<std::string> outputs;
  EXPECT_TRUE(WaitUntil([&] {
    for (auto& o : TakeOutputs(sim_, id)) outputs.push_back(o);
    return std::find(outputs.begin(), outputs.end(), "02c160000000000000") != outputs.end();
  }, 5000));
}

TEST_F(Modules, DirectivesAndIncludesOfTheDeviceFolderAreBuilt) {
  WriteTextFile(Folder() + "\\helpers.oxs", "void Helper() { record(\"from helper\"); }\r\n");
  WriteTextFile(Folder() + "\\Script.oxs",
                "#include \"helpers.oxs\"\r\n"
                "#define GREETING \"defined\"\r\n"
                "void QpadInit() {\r\n  Helper();\r\n  record(GREETING);\r\n}\r\n");
  AddKeypad(4);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  EXPECT_TRUE(WaitUntil([] { return Recorded("from helper") && Recorded("defined"); }, 5000));
}

// Its parent has no Custom Commands folder: only the program's include folder has the file.
TEST_F(Modules, AScriptUnderAnotherDataRootIncludesFromTheProgramsCustomCommands) {
  ASSERT_TRUE(MakeDirs(dir_ / "Custom Commands"));
  WriteTextFile(dir_ / "Custom Commands\\Greet.oxc", "void Greet() { record(\"from custom commands\"); }\r\n");
  InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
  const std::string folder = dir_ / "root\\Vid0A7CPid0019";
  ASSERT_TRUE(CopyTree(Folder(), folder));
  WriteTextFile(folder + "\\Script.oxs", "#include \"Greet.oxc\"\r\nvoid QpadInit() { Greet(); }\r\n");
  SetDataRootFromHost(dir_ / "root");
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  EXPECT_TRUE(WaitUntil([] { return Recorded("from custom commands"); }, 5000));
}

// Each file of a cycle is built once, the script file itself included, and at once.
TEST_F(Modules, IncludeCyclesThroughTheScriptFileAreNotFollowed) {
  WriteTextFile(Folder() + "\\Script_1.oxs",
                "#include \"a.oxs\"\r\nvoid QpadInit() { A(); B(); }\r\n");
  WriteTextFile(Folder() + "\\a.oxs", "#include \"b.oxs\"\r\nvoid A() { record(\"a\"); }\r\n");
  WriteTextFile(Folder() + "\\b.oxs",
                "#include \"a.oxs\"\r\n#include \"Script_1.oxs\"\r\nvoid B() { record(\"b\"); }\r\n");
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  EXPECT_TRUE(WaitUntil([] { return Recorded("a") && Recorded("b"); }, 3000));
}

TEST_F(Modules, AScriptThatDoesNotBuildLeavesNoModule) {
  WriteTextFile(Folder() + "\\Script_1.oxs", "void QpadInit() { this is not a script }\r\n");
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForListChange(1));
  ASSERT_NE(First(), nullptr);
  EXPECT_EQ(First()->moduleName, "");
  EXPECT_FALSE(FileExists(Folder() + "\\Script_1_backup.oxs"));
}

// As the script debugger's callback: it gets every build and every script call.
int RestoreWhenBroken(asCDebugScriptEngine* engine, asCDebugContext* call, const char* module) {
  if (call) return call->RunPrepared();
  const int slot = engine->FindSection(module, "QpadHandler");
  if (slot >= 0 && std::string(engine->SectionText(slot)).find("BROKEN") != std::string::npos)
    return kBuildRestoreBackup;  // as the user asking for the last working script
  return engine->LibraryModule(engine->FindModule(module))->Build();
}

TEST_F(Modules, AFailedBuildAnsweredWithRestoreBuildsTheBackup) {
  SetBuildCallback(RestoreWhenBroken);
  const std::string good = "void QpadInit() { record(\"backup runs\"); }\r\n";
  WriteTextFile(Folder() + "\\Script_1.oxs", "BROKEN\r\n");
  WriteTextFile(Folder() + "\\Script_1_backup.oxs", good);
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  EXPECT_TRUE(WaitUntil([] { return Recorded("backup runs"); }, 5000));
  EXPECT_EQ(ReadFileOr(Folder() + "\\Script_1.oxs"), good);
  ASSERT_NE(First(), nullptr);
  EXPECT_NE(First()->moduleName, "");
}

TEST_F(Modules, ModuleLibrariesOfTheReportConfigurationAreCallable) {
  const std::string bin = EnvOr("ORVANE_BIN");
  MakeDirs(Folder(0x46));
  WriteTextFile(Folder(0x46) + "\\ReportConfig.txt",
                "uid_and_ps -2 -\r\n"
                "output setID\r\nconstant 2\r\nconstant 0xC2\r\nvalue 1 254 QpadUnitId\r\n\r\n"
                "module " + bin + "\\PragmaTestModule.dll\r\n"
                "moduleFunction int AddInts(int a, int b)\r\n"
                "moduleFunction int Missing(int a)\r\n"
                "moduleFunction int Scale(int value, float factor, )\r\n"  // refused, harmlessly
                "\r\n"
                "module " + bin + "\\NoSuchLibrary.dll\r\n"
                "moduleFunction int Nothing()\r\n");
  WriteTextFile(Folder(0x46) + "\\Script_1.oxs", "void QpadInit() { recordInt(AddInts(2, 3)); }\r\n");
  WriteTextFile(Folder() + "\\Script_2.oxs", "void QpadInit() { record(\"other device\"); }\r\n");
  AddKeypad(1, 0x46);
  AddKeypad(2);
  Start();
  ASSERT_TRUE(WaitForCount(2));
  EXPECT_TRUE(WaitUntil([] { return Recorded("5"); }, 5000));
  // The refused declaration did not spoil the engine for the next device.
  EXPECT_TRUE(WaitUntil([] { return Recorded("other device"); }, 5000));
}

}  // namespace

namespace {

TEST_F(Modules, TheSaveCallbackWritesTheScriptAndAMarkedDeviceIsRebuilt) {
  WriteTextFile(Folder() + "\\Script_1.oxs", "void QpadInit() { record(\"first\"); }\r\n");
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  ASSERT_TRUE(WaitUntil([] { return Recorded("first"); }, 5000));
  const std::string module = First()->moduleName;
  const std::string edited = "void QpadInit() { record(\"edited\"); }\r\n";
  EXPECT_TRUE(SaveModuleScript(module.c_str(), "QpadHandler", edited.data(), static_cast<int>(edited.size())));
  EXPECT_EQ(ReadFileOr(Folder() + "\\Script_1.oxs"), edited);
  EXPECT_FALSE(SaveModuleScript("Vid0000Pid0000v0000Uid0000", "QpadHandler", "x", 1));  // no device

  const DeviceTableView table = GetDeviceTable();
  table[0]->rebuildScript = true;
  WakeFirstDevice();
  EXPECT_TRUE(WaitUntil([] { return Recorded("edited"); }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return ReadFileOr(Folder() + "\\Script_1_backup.oxs") == edited; }, 5000));
}

}  // namespace

namespace {

int RecordCount(const std::string& text) {
  std::lock_guard lock(recordMutex);
  return static_cast<int>(std::count(records.begin(), records.end(), text));
}

TEST_F(Modules, APeriodicScriptFunctionRunsAtItsRateAndStopsWithARebuild) {
  WriteTextFile(Folder() + "\\Script_1.oxs",
                "void Tick() { record(\"tick\"); }\r\n"
                "void QpadInit() { repeatFunction(\"Tick\", 20); }\r\n");  // every 50 ms
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  ASSERT_TRUE(WaitUntil([] { return RecordCount("tick") >= 3; }, 5000));
  const int before = RecordCount("tick");
  PumpMessages(500);
  const int ran = RecordCount("tick") - before;
  EXPECT_GE(ran, 5);   // about 10 in half a second
  EXPECT_LE(ran, 15);

  WriteTextFile(Folder() + "\\Script_1.oxs", "void QpadInit() {}\r\n");
  RequestCode = kRequestRebuild;
  WakeFirstDevice();
  ASSERT_TRUE(WaitForListChange(listChanges + 1, 5000));
  PumpMessages(100);
  const int after = RecordCount("tick");
  PumpMessages(400);
  EXPECT_EQ(RecordCount("tick"), after);
}

}  // namespace

namespace {

TEST_F(Modules, AScriptFileEndingInZeroBytesBuilds) {
  WriteTextFile(Folder() + "\\Script_1.oxs",
                std::string("void QpadInit() { record(\"zeros\"); }\r\n") + std::string(2, '\0'));
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  EXPECT_TRUE(WaitUntil([] { return Recorded("zeros"); }, 5000));
}

TEST_F(Modules, ARemovedDevicesModuleIsDiscarded) {
  WriteTextFile(Folder() + "\\Script_1.oxs", "void QpadInit() { record(\"one\"); }\r\n");
  WriteTextFile(Folder() + "\\Script_2.oxs", "void QpadInit() { record(\"two\"); }\r\n");
  const int first = AddKeypad(1);
  AddKeypad(2);
  Start();
  ASSERT_TRUE(WaitForCount(2));
  ASSERT_TRUE(WaitUntil([] { return Recorded("one") && Recorded("two"); }, 5000));
  const std::string gone = First()->moduleName;
  VhxSimRemoveDevice(sim_, first);
  ASSERT_TRUE(WaitForCount(1, 2000));
  asCDebugScriptEngine* engine = GetDeviceScriptEngine();
  ASSERT_NE(engine, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return engine->FindModule(gone.c_str()) < 0; }, 2000));
}

}  // namespace

namespace {

TEST_F(Modules, AFailedBuildWithoutABackupLeavesNoModule) {
  SetBuildCallback(RestoreWhenBroken);
  WriteTextFile(Folder() + "\\Script_1.oxs", "BROKEN\r\n");
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  ASSERT_TRUE(WaitForListChange(1));
  ASSERT_NE(First(), nullptr);
  EXPECT_EQ(First()->moduleName, "");
  EXPECT_EQ(ReadFileOr(Folder() + "\\Script_1.oxs"), "BROKEN\r\n");
}

}  // namespace
