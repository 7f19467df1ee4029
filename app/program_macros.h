#pragma once
// The program's "Macro Input" editors: over the platform's calls, with the keystroke recorder
// under them and each key offered to its per-key plug-in window first. Made on first use, on
// the thread of the programming windows.

class MacroEditors;

MacroEditors& ProgramMacroEditors();
