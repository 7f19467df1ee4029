#pragma once
// What the script functions reach besides the device table: the platform seam, and the part of
// the program they hand work to (its main window, the desktop setup wizard). Every engine holds
// its own in its user data, given to it with the functions' registration, so that a function
// finds them from the script call under way.

#include <windows.h>

class SystemCalls;
class asIScriptEngine;

// The program's side; a program without windows keeps these as they are.
class ScriptProgram {
 public:
  virtual ~ScriptProgram() = default;
  // The hidden main dialog, which owns the clipboard while a script uses it; null: none (a
  // host, a test).
  virtual HWND MainWindow() { return nullptr; }
  // "void RunDesktopWizard()": the desktop setup wizard lives with the programming windows.
  virtual void RunDesktopWizard() {}
};
// One without windows.
ScriptProgram& NoScriptProgram();

struct ScriptPlatform {
  SystemCalls& calls;
  ScriptProgram& program = NoScriptProgram();
};

// Gives the engine a copy, replacing any earlier one; it goes with the engine.
void AttachScriptPlatform(asIScriptEngine* engine, const ScriptPlatform& platform);
// The platform of the engine whose script call runs on this thread.
const ScriptPlatform& RunningScriptPlatform();
