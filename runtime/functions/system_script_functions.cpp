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
#include "runtime/functions/shell_functions.h"
#include "runtime/functions/window_functions.h"
#include "runtime/keys/key_name_tables.h"
#include "runtime/keys/mouse_buttons.h"
#include "runtime/script/script_registrar.h"

namespace {

void (*desktopWizardStarter)() = nullptr;

std::string IntToString(int x) { return std::to_string(x); }
float IntToFloat(int x) { return static_cast<float>(x); }
void SetJoyStick(int, int, int) {}

void SetVKey(int vKey, bool down) {
  GetSystemCalls().InjectInput(
      KeyboardRecord(static_cast<std::uint16_t>(vKey & 0xFFFF), 0, down ? 0 : kKeyEventKeyUp));
}
// The key state's low byte: 0x80 down, 0x01 toggled.
bool IsVKeyDown(int vKey) { return (GetSystemCalls().KeyState(vKey) & 0xF0) != 0; }
bool IsVKeyToggled(int vKey, bool) { return (GetSystemCalls().KeyState(vKey) & 0x0F) != 0; }

// Bound with the calling convention of the platform's Sleep, which scripts were first given.
void __stdcall ScriptSleep(asUINT ms) { GetSystemCalls().Sleep(ms); }

float AbsoluteValue(float x) { return std::fabs(x); }
float FloatDivision(float first, float second) { return first / second; }
double ArcTangent2(double y, double x) { return std::atan2(y, x); }
double SquareRoot(double x) { return std::sqrt(x); }

void RunDesktopWizard() {
  if (desktopWizardStarter) desktopWizardStarter();
}

struct Row {
  const char* declaration;
  asSFuncPtr function;
  asDWORD callConv;
};

}  // namespace

void SetDesktopWizardStarter(void (*start)()) { desktopWizardStarter = start; }

int RegisterScriptFunctions(asIScriptEngine* engine) {
  ScriptRegistrar reg(engine);
  return RegisterScriptFunctions(reg);
}

int RegisterScriptFunctions(ScriptRegistrar& reg) {
  InitKeyNameTables();
  // Scripts and their generator rely on these declarations, in this order.
  const Row rows[] = {
      {"string GetDate(string dateString)", asFUNCTION(GetDate), asCALL_CDECL},
      {"string IntToString(int x)", asFUNCTION(IntToString), asCALL_CDECL},
      {"float IntToFloat(int x)", asFUNCTION(IntToFloat), asCALL_CDECL},
      {"void SendString(string &in)", asFUNCTION(SendString), asCALL_CDECL},
      {"void SetJoyStick(int x,int y,int z)", asFUNCTION(SetJoyStick), asCALL_CDECL},
      {"void SendMouseMove(int dx,int dy,int dz)", asFUNCTION(SendMouseMove), asCALL_CDECL},
      {"void ClickButton(int button)", asFUNCTION(ClickButton), asCALL_CDECL},
      {"void DoubleClickButton(int button)", asFUNCTION(DoubleClickButton), asCALL_CDECL},
      {"void SaveClipboard(int key)", asFUNCTION(SaveClipboard), asCALL_CDECL},
      {"void PasteScrap(int key)", asFUNCTION(PasteScrap), asCALL_CDECL},
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
       asFUNCTION(ShellExecuteText), asCALL_CDECL},
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
      {"int ExecuteMemoryTest()", asFUNCTION(ExecuteMemoryTest), asCALL_CDECL},
      {"void SetBacklights(bool on)", asFUNCTION(SetBacklights), asCALL_CDECL},
      {"void ToggleBacklights()", asFUNCTION(ToggleBacklights), asCALL_CDECL},
      {"void OpenMyDocuments()", asFUNCTION(OpenMyDocuments), asCALL_CDECL},
      {"bool OpenOXFile(string fileName)", asFUNCTION(OpenOXFile), asCALL_CDECL},
      {"void RunDesktopWizard()", asFUNCTION(RunDesktopWizard), asCALL_CDECL},
      {"void PlayDemo()", asFUNCTION(PlayDemo), asCALL_CDECL},
      {"int MessageBox(int hWnd, string mainText, string titleText, uint flags)",
       asFUNCTION(MessageBoxText), asCALL_CDECL},
      {"int GetByteValueFromDevice(int byteNum)", asFUNCTION(GetByteValueFromDevice), asCALL_CDECL},
      {"int GetCalibratedValue(int pos)", asFUNCTION(GetCalibratedValue), asCALL_CDECL},
      {"float fabs(float x)", asFUNCTION(AbsoluteValue), asCALL_CDECL},
      {"float FloatDivision(float first, float second)", asFUNCTION(FloatDivision), asCALL_CDECL},
      {"void SetQpadLayer(bool red)", asFUNCTION(SetQpadLayer), asCALL_CDECL},
      {"double atan2(double y,double x)", asFUNCTION(ArcTangent2), asCALL_CDECL},
      {"double sqrt(double x)", asFUNCTION(SquareRoot), asCALL_CDECL},
      {"void repeatFunction(string &in,int repeatTime)", asFUNCTION(RepeatFunction), asCALL_CDECL},
      {"bool SetPersistentInt(string &in,string &in,int value)", asFUNCTION(SetPersistentInt),
       asCALL_CDECL},
      {"bool SetPersistentDouble(string &in,string &in,double value)",
       asFUNCTION(SetPersistentDouble), asCALL_CDECL},
      {"bool SetPersistentString(string &in,string &in,string &in)",
       asFUNCTION(SetPersistentString), asCALL_CDECL},
      {"bool GetPersistentInt(string &in,string &in,int &out)", asFUNCTION(GetPersistentInt),
       asCALL_CDECL},
      {"bool GetPersistentDouble(string &in,string &in,double &out)",
       asFUNCTION(GetPersistentDouble), asCALL_CDECL},
      {"bool GetPersistentString(string &in,string &in,string &out)",
       asFUNCTION(GetPersistentString), asCALL_CDECL},
  };
  static_assert(std::size(rows) == kSystemScriptFunctionCount);
  const std::size_t before = reg.Failures().size();
  for (const Row& row : rows) reg.GlobalFunction(row.declaration, row.function, row.callConv);
  const auto& failures = reg.Failures();
  return failures.size() > before ? failures[before].code : 0;
}
