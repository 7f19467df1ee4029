#include "runtime/functions/system_script_functions.h"

#include <windows.h>

#include <cmath>
#include <iterator>
#include <string>

#include "platform/base/system_calls.h"
#include "runtime/functions/date_text.h"
#include "runtime/functions/device_functions.h"
#include "runtime/functions/device_values.h"
#include "runtime/functions/keystroke_sender.h"
#include "runtime/functions/persistent_variables.h"
#include "runtime/functions/saved_clipboard.h"
#include "runtime/functions/script_platform.h"
#include "runtime/functions/shell_functions.h"
#include "runtime/functions/window_functions.h"
#include "runtime/keys/key_name_tables.h"
#include "runtime/keys/mouse_buttons.h"
#include "runtime/script/script_registrar.h"

namespace {

std::string IntToString(int x) { return std::to_string(x); }
float IntToFloat(int x) { return static_cast<float>(x); }
void SetJoyStick(int, int, int) {}

// The functions that reach the platform take it from the engine of the call under way.
SystemCalls& Calls() { return RunningScriptPlatform().calls; }

void SetVKey(int vKey, bool down) {
  Calls().InjectInput(KeyboardRecord(static_cast<std::uint16_t>(vKey & 0xFFFF), 0, down ? 0 : kKeyEventKeyUp));
}
// The key state's low byte: 0x80 down, 0x01 toggled.
bool IsVKeyDown(int vKey) { return (Calls().KeyState(vKey) & 0xF0) != 0; }
bool IsVKeyToggled(int vKey, bool) { return (Calls().KeyState(vKey) & 0x0F) != 0; }

// Bound with the calling convention of the platform's Sleep, which scripts were first given.
void __stdcall ScriptSleep(asUINT ms) { Calls().Sleep(ms); }

std::string ScriptGetDate(std::string format) { return GetDate(Calls(), format); }
void ScriptSendString(const std::string& text) { SendString(Calls(), text); }
void ScriptSendMouseMove(int dx, int dy, int dz) { SendMouseMove(Calls(), dx, dy, dz); }
void ScriptClickButton(int button) { ClickButton(Calls(), button); }
void ScriptDoubleClickButton(int button) { DoubleClickButton(Calls(), button); }
void ScriptSaveClipboard(int key) { SaveClipboard(Calls(), RunningScriptPlatform().program.MainWindow(), key); }
void ScriptPasteScrap(int key) { PasteScrap(Calls(), RunningScriptPlatform().program.MainWindow(), key); }
int ScriptShellExecute(int window, const std::string& verb, const std::string& file, const std::string& parameters,
                       const std::string& directory, int showCommand) {
  return ShellExecuteText(Calls(), window, verb, file, parameters, directory, showCommand);
}
int ScriptExecuteMemoryTest() { return ExecuteMemoryTest(Calls()); }
void ScriptOpenMyDocuments() { OpenMyDocuments(Calls()); }
bool ScriptOpenOXFile(std::string fileName) { return OpenOXFile(Calls(), fileName); }
void ScriptPlayDemo() { PlayDemo(Calls()); }
int ScriptMessageBox(int owner, std::string text, std::string caption, unsigned flags) {
  return MessageBoxText(Calls(), owner, text, caption, flags);
}
int ScriptGetByteValueFromDevice(int byteNum) { return GetByteValueFromDevice(Calls(), byteNum); }
int ScriptGetCalibratedValue(int pos) { return GetCalibratedValue(Calls(), pos); }
bool ScriptSetPersistentInt(const std::string& section, const std::string& name, int value) {
  return SetPersistentInt(Calls(), section, name, value);
}
bool ScriptSetPersistentDouble(const std::string& section, const std::string& name, double value) {
  return SetPersistentDouble(Calls(), section, name, value);
}
bool ScriptSetPersistentString(const std::string& section, const std::string& name, const std::string& value) {
  return SetPersistentString(Calls(), section, name, value);
}
bool ScriptGetPersistentInt(const std::string& section, const std::string& name, int& value) {
  return GetPersistentInt(Calls(), section, name, value);
}
bool ScriptGetPersistentDouble(const std::string& section, const std::string& name, double& value) {
  return GetPersistentDouble(Calls(), section, name, value);
}
bool ScriptGetPersistentString(const std::string& section, const std::string& name, std::string& value) {
  return GetPersistentString(Calls(), section, name, value);
}

float AbsoluteValue(float x) { return std::fabs(x); }
float FloatDivision(float first, float second) { return first / second; }
double ArcTangent2(double y, double x) { return std::atan2(y, x); }
double SquareRoot(double x) { return std::sqrt(x); }

void RunDesktopWizard() { RunningScriptPlatform().program.RunDesktopWizard(); }

struct Row {
  const char* declaration;
  asSFuncPtr function;
  asDWORD callConv;
};

}  // namespace

int RegisterScriptFunctions(asIScriptEngine* engine, const ScriptPlatform& platform) {
  ScriptRegistrar reg(engine);
  return RegisterScriptFunctions(reg, platform);
}

int RegisterScriptFunctions(ScriptRegistrar& reg, const ScriptPlatform& platform) {
  InitKeyNameTables();
  AttachScriptPlatform(reg.Engine(), platform);
  // Scripts and their generator rely on these declarations, in this order.
  const Row rows[] = {
      {"string GetDate(string dateString)", asFUNCTION(ScriptGetDate), asCALL_CDECL},
      {"string IntToString(int x)", asFUNCTION(IntToString), asCALL_CDECL},
      {"float IntToFloat(int x)", asFUNCTION(IntToFloat), asCALL_CDECL},
      {"void SendString(string &in)", asFUNCTION(ScriptSendString), asCALL_CDECL},
      {"void SetJoyStick(int x,int y,int z)", asFUNCTION(SetJoyStick), asCALL_CDECL},
      {"void SendMouseMove(int dx,int dy,int dz)", asFUNCTION(ScriptSendMouseMove), asCALL_CDECL},
      {"void ClickButton(int button)", asFUNCTION(ScriptClickButton), asCALL_CDECL},
      {"void DoubleClickButton(int button)", asFUNCTION(ScriptDoubleClickButton), asCALL_CDECL},
      {"void SaveClipboard(int key)", asFUNCTION(ScriptSaveClipboard), asCALL_CDECL},
      {"void PasteScrap(int key)", asFUNCTION(ScriptPasteScrap), asCALL_CDECL},
      {"int FindWindow(string &in,string &in)", asFUNCTION(FindWindowByText), asCALL_CDECL},
      {"int ActiveWindow()", asFUNCTION(GetActiveWindow), asCALL_CDECL},
      {"int FocusedWindow()", asFUNCTION(FocusedWindow), asCALL_CDECL},
      {"void SendMessageToWindow(int hWindow,int msg,int wParam,int lParam)",
       asFUNCTION(SendMessageToWindow), asCALL_CDECL},
      {"void PostMessageToWindow(int hWindow,int msg,int wParam,int lParam)",
       asFUNCTION(PostMessageToWindow), asCALL_CDECL},
      {"void SetVKey(int vKey,bool down)", asFUNCTION(SetVKey), asCALL_CDECL},
      {"bool IsVKeyDown(int vKey)", asFUNCTION(IsVKeyDown), asCALL_CDECL},
      {"bool IsVKeyToggled(int vKey,bool down)", asFUNCTION(IsVKeyToggled), asCALL_CDECL},
      {"int ShellExecute(int hWindow,string &in,string &in,string &in,string &in,int showCommand)",
       asFUNCTION(ScriptShellExecute), asCALL_CDECL},
      {"void GetTopWindowTitleAndClassName(string &out,string &out)",
       asFUNCTION(GetTopWindowTitleAndClassName), asCALL_CDECL},
      {"void GetTopWindowExeName(string &out)", asFUNCTION(GetTopWindowExeName), asCALL_CDECL},
      {"int GetHandleForExe(string &in)", asFUNCTION(GetHandleForExe), asCALL_CDECL},
      {"int SetForegroundWindow(int hWindow)", asFUNCTION(BringWindowToForeground), asCALL_CDECL},
      {"void sleep(uint ms)", asFUNCTION(ScriptSleep), asCALL_STDCALL},
      {"void AutoRepeatThisKey(uint initialRepeatDelay,uint repeatDelay)",
       asFUNCTION(AutoRepeatThisKey), asCALL_CDECL},
      {"void EnableProgramming(uint enable)", asFUNCTION(EnableProgramming), asCALL_CDECL},
      {"void RequestProgrammingMode()", asFUNCTION(RequestProgrammingMode), asCALL_CDECL},
      {"int ExecuteMemoryTest()", asFUNCTION(ScriptExecuteMemoryTest), asCALL_CDECL},
      {"void SetBacklights(bool on)", asFUNCTION(SetBacklights), asCALL_CDECL},
      {"void ToggleBacklights()", asFUNCTION(ToggleBacklights), asCALL_CDECL},
      {"void OpenMyDocuments()", asFUNCTION(ScriptOpenMyDocuments), asCALL_CDECL},
      {"bool OpenOXFile(string fileName)", asFUNCTION(ScriptOpenOXFile), asCALL_CDECL},
      {"void RunDesktopWizard()", asFUNCTION(RunDesktopWizard), asCALL_CDECL},
      {"void PlayDemo()", asFUNCTION(ScriptPlayDemo), asCALL_CDECL},
      {"int MessageBox(int hWnd, string mainText, string titleText, uint flags)",
       asFUNCTION(ScriptMessageBox), asCALL_CDECL},
      {"int GetByteValueFromDevice(int byteNum)", asFUNCTION(ScriptGetByteValueFromDevice), asCALL_CDECL},
      {"int GetCalibratedValue(int pos)", asFUNCTION(ScriptGetCalibratedValue), asCALL_CDECL},
      {"float fabs(float x)", asFUNCTION(AbsoluteValue), asCALL_CDECL},
      {"float FloatDivision(float first, float second)", asFUNCTION(FloatDivision), asCALL_CDECL},
      {"void SetQpadLayer(bool red)", asFUNCTION(SetQpadLayer), asCALL_CDECL},
      {"double atan2(double y,double x)", asFUNCTION(ArcTangent2), asCALL_CDECL},
      {"double sqrt(double x)", asFUNCTION(SquareRoot), asCALL_CDECL},
      {"void repeatFunction(string &in,int repeatTime)", asFUNCTION(RepeatFunction), asCALL_CDECL},
      {"bool SetPersistentInt(string &in,string &in,int value)", asFUNCTION(ScriptSetPersistentInt),
       asCALL_CDECL},
      {"bool SetPersistentDouble(string &in,string &in,double value)",
       asFUNCTION(ScriptSetPersistentDouble), asCALL_CDECL},
      {"bool SetPersistentString(string &in,string &in,string &in)",
       asFUNCTION(ScriptSetPersistentString), asCALL_CDECL},
      {"bool GetPersistentInt(string &in,string &in,int &out)", asFUNCTION(ScriptGetPersistentInt),
       asCALL_CDECL},
      {"bool GetPersistentDouble(string &in,string &in,double &out)",
       asFUNCTION(ScriptGetPersistentDouble), asCALL_CDECL},
      {"bool GetPersistentString(string &in,string &in,string &out)",
       asFUNCTION(ScriptGetPersistentString), asCALL_CDECL},
  };
  static_assert(std::size(rows) == kSystemScriptFunctionCount);
  const std::size_t before = reg.Failures().size();
  for (const Row& row : rows) reg.GlobalFunction(row.declaration, row.function, row.callConv);
  const auto& failures = reg.Failures();
  return failures.size() > before ? failures[before].code : 0;
}
