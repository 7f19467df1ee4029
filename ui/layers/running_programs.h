#pragma once
// The programs behind the windows on the screen, as the "Add Program Layer" dialog lists them
// and its finder tool finds them.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// The exe names (lower case) of the visible top-level windows in z order, one per window; a
// window of this process, or one whose program cannot be read, gives "".
std::vector<std::string> VisibleWindowPrograms();

// The exe name (lower case) of the first visible top-level window in z order whose rectangle
// holds the screen point, edges included; "" for none, for a window of this process, or one
// whose program cannot be read.
std::string ProgramAtPoint(POINT screen);

// Lower-cases by the rules of the program's code page.
std::string LowerCaseName(std::string text);

// The "EXE Name Table.csv" of the "Custom Commands" folder read into the table; nothing when
// the folder or the file is missing.
void LoadExeNameTable(std::map<std::string, std::string>& table);
