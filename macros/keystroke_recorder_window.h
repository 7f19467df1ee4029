#pragma once
// The program's keystroke recorder over the "Macro Input" editor's windows, handed to the
// editor as its recorder (macro_recorder_hooks.h).

class KeystrokeRecorder;

// Puts the recorder under the editor; once, at start-up.
void InstallKeystrokeRecorder();
KeystrokeRecorder& ProgramKeystrokeRecorder();
