// The system script functions through the real engine: the whole set registering on fresh
// engines in its fixed order, then each family called from scripts, with the platform calls
// recorded instead of made.

#include "runtime/functions/system_script_functions.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <cmath>
#include <string>
#include <vector>

#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/functions/device_values.h"
#include "runtime/functions/script_platform.h"
#include "runtime/functions/shell_functions.h"
#include "runtime/keys/mouse_buttons.h"
#include "runtime/script/script_registrar.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/runtime/script/script_fixture.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

// What scripts and the script generator are written against, in registration order.
const char* const kDeclarations[] = {
    "string GetDate(string dateString)",
    "string IntToString(int x)",
    "float IntToFloat(int x)",
    "void SendString(string &in)",
    "void SetJoyStick(int x,int y,int z)",
    "void SendMouseMove(int dx,int dy,int dz)",
    "void ClickButton(int button)",
    "void DoubleClickButton(int button)",
    "void SaveClipboard(int key)",
    "void PasteScrap(int key)",
    "int FindWindow(string &in,string &in)",
    "int ActiveWindow()",
    "int FocusedWindow()",
    "void SendMessageToWindow(int hWindow,int msg,int wParam,int lParam)",
    "void PostMessageToWindow(int hWindow,int msg,int wParam,int lParam)",
    "void SetVKey(int vKey,bool down)",
    "bool IsVKeyDown(int vKey)",
    "bool IsVKeyToggled(int vKey,bool down)",
    "int ShellExecute(int hWindow,string &in,string &in,string &in,string &in,int showCommand)",
    "void GetTopWindowTitleAndClassName(string &out,string &out)",
    "void GetTopWindowExeName(string &out)",
    "int GetHandleForExe(string &in)",
    "int SetForegroundWindow(int hWindow)",
    "void sleep(uint ms)",
    "void AutoRepeatThisKey(uint initialRepeatDelay,uint repeatDelay)",
    "void EnableProgramming(uint enable)",
    "void RequestProgrammingMode()",
    "int ExecuteMemoryTest()",
    "void SetBacklights(bool on)",
    "void ToggleBacklights()",
    "void OpenMyDocuments()",
    "bool OpenOXFile(string fileName)",
    "void RunDesktopWizard()",
    "void PlayDemo()",
    "int MessageBox(int hWnd, string mainText, string titleText, uint flags)",
    "int GetByteValueFromDevice(int byteNum)",
    "int GetCalibratedValue(int pos)",
    "float fabs(float x)",
    "float FloatDivision(float first, float second)",
    "void SetQpadLayer(bool red)",
    "double atan2(double y,double x)",
    "double sqrt(double x)",
    "void repeatFunction(string &in,int repeatTime)",
    "bool SetPersistentInt(string &in,string &in,int value)",
    "bool SetPersistentDouble(string &in,string &in,double value)",
    "bool SetPersistentString(string &in,string &in,string &in)",
    "bool GetPersistentInt(string &in,string &in,int &out)",
    "bool GetPersistentDouble(string &in,string &in,double &out)",
    "bool GetPersistentString(string &in,string &in,string &out)",
};
static_assert(std::size(kDeclarations) == kSystemScriptFunctionCount);

// A script engine with the types and every system function over the platform given.
class SystemScript : public ScriptFixture {
 public:
  explicit SystemScript(SystemCalls& calls, ScriptProgram& program = NoScriptProgram()) {
    result_ = RegisterScriptFunctions(Engine(), {calls, program});
  }
  int RegisterResult() const { return result_; }

 private:
  int result_;
};

struct ScriptCase {
  const char* name;
  const char* body;
  const char* printed;
  const char* events;    // what reached the platform, in order
  BoxAnswer boxAnswer = BoxAnswer::Ok;  // what a message box answers
};

void RunCases(SystemScript& f, SystemCallsRecorder& calls, const ScriptCase* begin,
              const ScriptCase* end) {
  for (const ScriptCase* c = begin; c != end; ++c) {
    SCOPED_TRACE(c->name);
    calls.ClearEvents();
    calls.SetBoxAnswer(c->boxAnswer);
    ASSERT_EQ(f.Run(c->body), asEXECUTION_FINISHED) << f.Messages() << f.Exception();
    EXPECT_EQ(f.Output(), c->printed);
    EXPECT_EQ(calls.Events(), c->events);
  }
}

TEST(RegisterScriptFunctions, WholeSetRegistersInOrderOnEveryFreshEngine) {
  SystemCalls platform;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ScriptFixture script;  // the types and the print functions
    asIScriptEngine* engine = script.Engine();
    const asUINT before = engine->GetGlobalFunctionCount();
    ASSERT_EQ(RegisterScriptFunctions(engine, {platform}), 0) << script.Messages();
    ASSERT_EQ(engine->GetGlobalFunctionCount(), before + kSystemScriptFunctionCount);
    for (int i = 0; i < kSystemScriptFunctionCount; ++i) {
      asIScriptFunction* registered = engine->GetGlobalFunctionByIndex(before + i);
      asIScriptFunction* wanted = engine->GetGlobalFunctionByDecl(kDeclarations[i]);
      ASSERT_NE(wanted, nullptr) << kDeclarations[i];
      EXPECT_EQ(registered, wanted) << i << ": " << kDeclarations[i];
    }
    // The engine still builds scripts.
    EXPECT_EQ(script.Run("print(IntToString(7));"), asEXECUTION_FINISHED) << script.Messages();
    EXPECT_EQ(script.Output(), "7");
  }
}

TEST(RegisterScriptFunctions, ReportsARefusal) {
  SystemCalls platform;
  ScriptFixture script;
  ASSERT_EQ(RegisterScriptFunctions(script.Engine(), {platform}), 0);
  // A second set on the same engine is refused function by function.
  ScriptRegistrar reg(script.Engine());
  EXPECT_LT(RegisterScriptFunctions(reg, {platform}), 0);
  EXPECT_EQ(reg.Failures().size(), static_cast<std::size_t>(kSystemScriptFunctionCount));
  EXPECT_EQ(reg.Failures().front().subject, kDeclarations[0]);
}

TEST(SystemScriptFunctions, NumbersAndText) {
  SystemCallsRecorder calls;
  SystemScript f(calls);
  ASSERT_EQ(f.RegisterResult(), 0);
  const ScriptCase cases[] = {
      {"IntToString", R"(print(IntToString(0)); print(IntToString(-42));
          print(IntToString(2147483647)); print(IntToString(-2147483647 - 1));)",
       "0|-42|2147483647|-2147483648", ""},
      {"IntToFloat", R"(print(IntToFloat(3) == 3.0f); print(IntToFloat(-5) == -5.0f);
          print(IntToFloat(16777217) == 16777216.0f);)",
       "true|true|true", ""},
      {"fabs", R"(print(fabs(-2.5f) == 2.5f); print(fabs(2.5f) == 2.5f); print(fabs(-0.0f) == 0);)",
       "true|true|true", ""},
      {"FloatDivision",
       R"(print(FloatDivision(1, 4) == 0.25f); print(FloatDivision(-3, 2) == -1.5f);
          float inf = FloatDivision(1, 0); print(inf > 3.4e38f); print(FloatDivision(-1, 0) < -3.4e38f);
          float nan = FloatDivision(0, 0); print(nan == nan);)",
       "true|true|true|true|false", ""},
      {"atan2", R"(print(atan2(1, 1) - 0.78539816339744830962 < 1e-15);
          print(atan2(0, -1) == 3.14159265358979323846); print(atan2(-1, 0) < 0);)",
       "true|true|true", ""},
      {"sqrt", R"(print(sqrt(16) == 4); print(sqrt(2) * sqrt(2) - 2 < 1e-15);
          double n = sqrt(-1); print(n == n);)",
       "true|true|false", ""},
      {"SetJoyStick does nothing", "SetJoyStick(1, 2, 3); print(1);", "1", ""},
  };
  RunCases(f, calls, std::begin(cases), std::end(cases));
}

TEST(SystemScriptFunctions, MouseAndKeys) {
  SystemCallsRecorder calls;
  calls.SetDoubleClickTime(501);
  calls.SetKeyState('A', static_cast<SHORT>(0xFF80));  // down
  calls.SetKeyState('B', 0x0001);                      // toggled
  calls.SetKeyState('C', static_cast<SHORT>(0xFF81));  // both
  SystemScript f(calls);
  ASSERT_EQ(f.RegisterResult(), 0);
  const ScriptCase cases[] = {
      {"wheel", "SendMouseMove(5, -7, 10); SendMouseMove(0, 0, -120);", "",
       "mouse 5 -7 10 0x800 / mouse 0 0 -120 0x800"},
      {"left", "ClickButton(1);", "", "mouse 0 0 0 0x2 / sleep 40 / mouse 0 0 0 0x4"},
      {"right", "ClickButton(2);", "", "mouse 0 0 0 0x8 / sleep 40 / mouse 0 0 0 0x10"},
      {"middle", "ClickButton(4);", "", "mouse 0 0 0 0x20 / sleep 40 / mouse 0 0 0 0x40"},
      {"first extra", "ClickButton(5);", "", "mouse 0 0 1 0x80 / sleep 40 / mouse 0 0 1 0x100"},
      {"second extra", "ClickButton(6);", "", "mouse 0 0 2 0x80 / sleep 40 / mouse 0 0 2 0x100"},
      {"no such button",
       "ClickButton(0); ClickButton(3); ClickButton(7); ClickButton(-1);"
       "DoubleClickButton(3);",
       "", ""},
      {"double click", "DoubleClickButton(2);", "",
       "mouse 0 0 0 0x8 / sleep 40 / mouse 0 0 0 0x10 / sleep 250 / "
       "mouse 0 0 0 0x8 / sleep 40 / mouse 0 0 0 0x10"},
      {"virtual key", "SetVKey(0x41, true); SetVKey(0x41, false); SetVKey(0x12345, true);", "",
       "key 0x41 0 0x0 / key 0x41 0 0x2 / key 0x2345 0 0x0"},
      {"script pause", "sleep(7); ClickButton(1); sleep(0);", "",
       "sleep 7 / mouse 0 0 0 0x2 / sleep 40 / mouse 0 0 0 0x4 / sleep 0"},
      {"key down",
       "print(IsVKeyDown(0x41)); print(IsVKeyDown(0x42)); print(IsVKeyDown(0x43));"
       "print(IsVKeyDown(0x44));",
       "true|false|true|false", ""},
      {"key toggled, second argument unused",
       "print(IsVKeyToggled(0x41, true)); print(IsVKeyToggled(0x42, false));"
       "print(IsVKeyToggled(0x42, true)); print(IsVKeyToggled(0x43, false));"
       "print(IsVKeyToggled(0x44, true));",
       "false|true|true|true|false", ""},
  };
  RunCases(f, calls, std::begin(cases), std::end(cases));

  // The press and release halves, for the keystroke sender.
  calls.ClearEvents();
  PressMouseButton(calls, 1);
  ReleaseMouseButton(calls, 6);
  PressMouseButton(calls, 3);
  EXPECT_EQ(calls.Events(), "mouse 0 0 0 0x2 / mouse 0 0 2 0x100");
}

// sleep is bound with the platform Sleep's calling convention: many calls leave the stack
// whole, and without a recorder the pause is real.
TEST(SystemScriptFunctions, SleepPauses) {
  SystemCalls platform;
  SystemScript f(platform);
  ASSERT_EQ(f.RegisterResult(), 0);
  ASSERT_EQ(f.Run("for (uint i = 0; i < 200; i++) sleep(0); int a = 5; sleep(0); print(a);"),
            asEXECUTION_FINISHED)
      << f.Messages();
  EXPECT_EQ(f.Output(), "5");
  const ULONGLONG start = GetTickCount64();
  ASSERT_EQ(f.Run("sleep(60);"), asEXECUTION_FINISHED);
  EXPECT_GE(GetTickCount64() - start, 45u);
}

// Each engine's functions reach the platform and the program it was given, not another
// engine's; the saved clipboards are opened for the program's main window.
TEST(SystemScriptFunctions, EachEngineReachesItsOwnPlatform) {
  class ClipboardOwner : public SystemCallsRecorder {
   public:
    std::unique_ptr<ClipboardAccess> OpenClipboardFor(void* window) override {
      owners.push_back(window);
      return nullptr;
    }
    std::vector<void*> owners;
  };
  class WindowedProgram : public ScriptProgram {
   public:
    HWND MainWindow() override { return reinterpret_cast<HWND>(0x1234); }
  };
  SystemCallsRecorder first;
  ClipboardOwner second;
  WindowedProgram program;
  SystemScript a(first);
  SystemScript b(second, program);
  ASSERT_EQ(a.RegisterResult(), 0);
  ASSERT_EQ(b.RegisterResult(), 0);
  ASSERT_EQ(a.Run("sleep(1);"), asEXECUTION_FINISHED) << a.Messages();
  ASSERT_EQ(b.Run("sleep(2); ClickButton(1); SaveClipboard(3); PasteScrap(3);"), asEXECUTION_FINISHED)
      << b.Messages();
  ASSERT_EQ(a.Run("SetVKey(0x41, true);"), asEXECUTION_FINISHED) << a.Messages();
  EXPECT_EQ(first.Events(), "sleep 1 / key 0x41 0 0x0");
  EXPECT_EQ(second.Events(), "sleep 2 / mouse 0 0 0 0x2 / sleep 40 / mouse 0 0 0 0x4");
  EXPECT_EQ(second.owners, (std::vector<void*>{reinterpret_cast<void*>(0x1234), reinterpret_cast<void*>(0x1234)}));
}

class ProgramFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeDeviceFolders();
    SetDataRootFromHost("");
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
  }
  void TearDown() override {
    SetCurrentDevice(nullptr);
    FreeDeviceFolders();
  }
  ScratchDir dir_{"sysfn"};
};


TEST_F(ProgramFolder, ShellAndMessageBoxes) {
  SystemCallsRecorder calls;
  ASSERT_TRUE(WriteTextFile(dir_ / "Readme.txt", "x"));
  char documents[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents),
            S_OK);
  SystemScript f(calls);
  ASSERT_EQ(f.RegisterResult(), 0);
  const std::string file = "\"" + (dir_ / "Readme.txt") + "\"";
  const std::string demo = "\"" + (dir_ / "Demo.mpg") + "\"";
  const std::string noBox =
      "box 0x0 \"Could not find file\" \"Orvane was unable to find the demo "
      "video on your computer.  Click Ok to view the video on our web site "
      "or click Cancel to close this window.\" OkCancel Warning";
  const std::string page =
      std::string("shell 0x0 \"open\" \"") + kTutorialPageAddress + "\" null null 1";
  const std::string opened = "shell 0x0 \"open\" " + file + " null null 1";
  const std::string docs = "shell 0x0 \"open\" \"" + std::string(documents) + "\" null null 1";
  const std::vector<std::string> events = {
      "shell 0x1234 \"open\" \"notepad.exe\" \"a b.txt\" \"C:\\\" 5 / "
      "shell 0x0 \"\" \"x\" \"\" \"\" 0",
      "box 0x55 \"Title\" \"Main text\" 0x24",
      opened,
      "",
      docs,
      noBox + " / " + page,
      noBox,
      "shell 0x0 \"open\" " + demo + " null null 1",
  };
  const ScriptCase cases[] = {
      {"ShellExecute", R"(print(ShellExecute(0x1234, "open", "notepad.exe", "a b.txt", "C:\\", 5));
          print(ShellExecute(0, "", "x", "", "", 0));)",
       "42|42", events[0].c_str()},
      {"MessageBox", R"(print(MessageBox(0x55, "Main text", "Title", 0x24));)", "2",
       events[1].c_str(), BoxAnswer::Cancel},
      {"OpenOXFile", R"(print(OpenOXFile("Readme.txt"));)", "true", events[2].c_str()},
      {"OpenOXFile without the file", R"(print(OpenOXFile("Missing.txt"));)", "false",
       events[3].c_str()},
      {"OpenMyDocuments", "OpenMyDocuments();", "", events[4].c_str()},
      {"PlayDemo without the video, OK", "PlayDemo();", "", events[5].c_str(), BoxAnswer::Ok},
      {"PlayDemo without the video, Cancel", "PlayDemo();", "", events[6].c_str(), BoxAnswer::Cancel},
  };
  RunCases(f, calls, std::begin(cases), std::end(cases));
  ASSERT_TRUE(WriteTextFile(dir_ / "Demo.mpg", "video"));
  const ScriptCase withVideo = {"PlayDemo with the video", "PlayDemo();", "", events[7].c_str(),
                                BoxAnswer::Cancel};
  RunCases(f, calls, &withVideo, &withVideo + 1);

  // The wizard belongs to the programming tools; without them nothing starts.
  ASSERT_EQ(f.Run("RunDesktopWizard();"), asEXECUTION_FINISHED);
  class WizardProgram : public ScriptProgram {
   public:
    void RunDesktopWizard() override { ++starts; }
    int starts = 0;
  } program;
  SystemScript withWizard(calls, program);
  ASSERT_EQ(withWizard.RegisterResult(), 0);
  ASSERT_EQ(withWizard.Run("RunDesktopWizard(); RunDesktopWizard();"), asEXECUTION_FINISHED);
  EXPECT_EQ(program.starts, 2);
}

// The calibration file as the calibration program writes it, with max = 100 + position.
std::string CalibrationFile(const char* leverName = "Reverser") {
  const int levers[5][6] = {{0, 1, 2, -1},
                            {3, 4, 5, 6, -1},
                            {7, 8, 9, -1},
                            {10, 11, 12, 13, 20, 21},
                            {14, 15, 16, 17, 18, 19}};
  const int counts[5] = {3, 4, 3, 6, 6};
  std::string text = "Calibration\n{\n";
  for (int l = 0; l < 5; ++l) {
    text += std::string(" Lever   \"") + (l == 0 ? leverName : "Lever") + "\" {\n";
    for (int i = 0; i < counts[l]; ++i) {
      const int pos = levers[l][i];
      text += "  Position   \"Max Position " + std::to_string(pos) + "\"  {\n";
      text += "   Min   " + std::to_string(pos) + "\n";
      text += "   Max   " + std::to_string(100 + pos) + "\n";
      text += "  }\n";
    }
    text += " }\n";
  }
  return text + "}";
}

class DeviceValues : public ProgramFolder {
 protected:
  void SetUp() override {
    ProgramFolder::SetUp();
    ASSERT_TRUE(MakeDirs(dir_ / "QpadDevices\\Vid0a7cPid00d2"));
    device_.folder = FindDeviceFolder(0x0A7C, 0xD2, 0);
    ASSERT_NE(device_.folder, nullptr);
    device_.inputLength = 4;
    device_.currentReport = {1, 2, 0xFF, 4};
    SetCurrentDevice(&device_);
  }
  std::string CalibrationPath() const {
    return dir_ / ("QpadDevices\\Vid0a7cPid00d2\\" + std::string(kCalibrationFileName));
  }
  DeviceRecord device_;
};

const char kRangeBox[] =
    "box 0x0 \"Error\" \"Could not initiate lever position values because byte value was out "
    "of range!\" Ok";
const char kFileBox[] =
    "box 0x0 \"File Not Found\" \"Your calibration file could not be located.  Please ensure "
    "ModernCalibration.lcm is in the device folder and try again.\" Ok";

TEST_F(DeviceValues, ByteOfTheLatestInputReport) {
  SystemCallsRecorder calls;
  SystemScript f(calls);
  ASSERT_EQ(f.RegisterResult(), 0);
  const std::string twoBoxes = std::string(kRangeBox) + " / " + kRangeBox;
  const ScriptCase cases[] = {
      {"in range",
       "print(GetByteValueFromDevice(0)); print(GetByteValueFromDevice(2));"
       "print(GetByteValueFromDevice(3));",
       "1|255|4", ""},
      {"out of range", "print(GetByteValueFromDevice(-1)); print(GetByteValueFromDevice(4));",
       "-1|-1", twoBoxes.c_str()},
  };
  RunCases(f, calls, std::begin(cases), std::end(cases));
  // A record whose report is not set up yet has no bytes to give.
  device_.currentReport.clear();
  calls.ClearEvents();
  ASSERT_EQ(f.Run("print(GetByteValueFromDevice(0));"), asEXECUTION_FINISHED);
  EXPECT_EQ(f.Output(), "-1");
  EXPECT_EQ(calls.Events(), kRangeBox);
  // Without a current device there is nothing to read and nothing to tell.
  SetCurrentDevice(nullptr);
  calls.ClearEvents();
  ASSERT_EQ(f.Run("print(GetByteValueFromDevice(0)); print(GetCalibratedValue(1));"),
            asEXECUTION_FINISHED);
  EXPECT_EQ(f.Output(), "-1|-1");
  EXPECT_EQ(calls.Events(), "");
}

TEST_F(DeviceValues, CalibratedMaximaByMaxLine) {
  SystemCallsRecorder calls;
  SystemScript f(calls);
  ASSERT_EQ(f.RegisterResult(), 0);
  // A lever name with "Max" in it does not count as a line of its own.
  ASSERT_TRUE(WriteTextFile(CalibrationPath(), CalibrationFile("Max Lever")));
  const ScriptCase cases[] = {
      {"first, 14th, 15th, 16th, 17th, last",
       "print(GetCalibratedValue(1)); print(GetCalibratedValue(14)); print(GetCalibratedValue(15));"
       "print(GetCalibratedValue(16)); print(GetCalibratedValue(17));"
       "print(GetCalibratedValue(22));",
       "100|113|120|121|114|119", ""},
      {"no such line",
       "print(GetCalibratedValue(0)); print(GetCalibratedValue(-3));"
       "print(GetCalibratedValue(23));",
       "-1|-1|-1", ""},
  };
  RunCases(f, calls, std::begin(cases), std::end(cases));

  ASSERT_TRUE(DeleteFileA(CalibrationPath().c_str()));
  calls.ClearEvents();
  ASSERT_EQ(f.Run("print(GetCalibratedValue(1));"), asEXECUTION_FINISHED);
  EXPECT_EQ(f.Output(), "-1");
  EXPECT_EQ(calls.Events(), kFileBox);
}

// The calibration program writes into the program's own device folder; with a data root that
// has the device type too, the file is still found there.
TEST_F(DeviceValues, CalibrationFileBehindADataRoot) {
  SystemCallsRecorder calls;
  FreeDeviceFolders();
  ASSERT_TRUE(MakeDirs(dir_ / "root\\Vid0A7CPid00D2"));
  SetDataRootFromHost(dir_ / "root");
  device_.folder = FindDeviceFolder(0x0A7C, 0xD2, 0);
  ASSERT_NE(device_.folder, nullptr);
  ASSERT_FALSE(device_.folder->alternativeFolder.empty());
  ASSERT_TRUE(WriteTextFile(CalibrationPath(), CalibrationFile()));
  SystemScript f(calls);
  ASSERT_EQ(f.RegisterResult(), 0);
  ASSERT_EQ(f.Run("print(GetCalibratedValue(2));"), asEXECUTION_FINISHED);
  EXPECT_EQ(f.Output(), "101");
  EXPECT_EQ(calls.Events(), "");
  SetDataRootFromHost("");
}

// Functions whose subsystems come later: callable, safe, and telling nothing false.
TEST_F(DeviceValues, DeviceAndVariableRowsReachTheirFunctions) {
  SystemCallsRecorder calls;
  SystemScript f(calls);
  ASSERT_EQ(f.RegisterResult(), 0);
  device_.programmingAllowed = true;
  device_.programmingRequested = false;
  ASSERT_EQ(f.Run(R"(AutoRepeatThisKey(300, 50); EnableProgramming(0); RequestProgrammingMode();
      print(ExecuteMemoryTest()); SetBacklights(true); ToggleBacklights(); SetQpadLayer(true);
      repeatFunction("main", 10); repeatFunction("", 0); SaveClipboard(1); PasteScrap(1);
      print(SetPersistentInt("s", "i", 5)); print(SetPersistentDouble("s", "d", 1.5));
      print(SetPersistentString("s", "t", "x"));
      int i = 7; double d = 7; string t = "old";
      print(GetPersistentInt("s", "i", i)); print(GetPersistentDouble("s", "d", d));
      print(GetPersistentString("s", "t", t)); print(i); print(d == 0); print(t.length());)"),
            asEXECUTION_FINISHED)
      << f.Messages();
  // No on-board memory to test; the variables go to the registry and come back.
  EXPECT_EQ(f.Output(), "-1|true|true|true|true|true|true|5|false|1");
  EXPECT_FALSE(device_.programmingAllowed);
  EXPECT_TRUE(device_.programmingRequested);
  ASSERT_EQ(f.Run("EnableProgramming(2);"), asEXECUTION_FINISHED);
  EXPECT_TRUE(device_.programmingAllowed);
  EXPECT_EQ(calls.Events(), "");
  SetCurrentDevice(nullptr);
  EXPECT_EQ(f.Run("EnableProgramming(0); RequestProgrammingMode();"), asEXECUTION_FINISHED);
}

}  // namespace
