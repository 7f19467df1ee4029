#pragma once
// Script functions that look at and drive windows and the foreground program. Window handles
// cross the script boundary as int.

#include <windows.h>

#include <cstddef>
#include <string>

// Longest texts these give a script: a window's title and class (99), an executable name (49).
constexpr std::size_t kMaxWindowTextChars = 99;
constexpr std::size_t kMaxExeNameChars = 49;

// "int FindWindow(string &in,string &in)": class, title; an empty text matches any.
int FindWindowByText(const std::string& className, const std::string& title);
// "int FocusedWindow()": the focus window of the foreground thread, 0 when none.
int FocusedWindow();
void SendMessageToWindow(int window, int msg, int wParam, int lParam);
void PostMessageToWindow(int window, int msg, int wParam, int lParam);

// The root owner of the foreground window; null when there is no foreground window.
HWND TopWindow();
// The lower-case base name of the window's executable; "" when it cannot be read.
std::string GetWindowExeName(HWND window);

// "void GetTopWindowTitleAndClassName(string &out,string &out)"; both empty without a top window.
void GetTopWindowTitleAndClassName(std::string& title, std::string& className);
// "void GetTopWindowExeName(string &out)".
void GetTopWindowExeName(std::string& name);
// "int GetHandleForExe(string &in)": from the foreground window down the z-order, the root
// owner of the first window of that executable (any case); 0 when none.
int GetHandleForExe(const std::string& exeName);
// "int SetForegroundWindow(int hWindow)": shown maximised or normal as its placement says,
// then brought to the foreground; non-zero on success.
int BringWindowToForeground(int window);
