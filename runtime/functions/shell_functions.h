#pragma once
// Script functions that hand work to the shell or ask the user: opening documents, folders and
// programs, the demonstration video and plain message boxes.

#include <string>

class SystemCalls;

// Where PlayDemo sends the user when the video is not installed.
extern const char kTutorialPageAddress[];

// "int ShellExecute(int hWindow,string &in,string &in,string &in,string &in,int showCommand)":
// the shell's result (above 32 on success).
int ShellExecuteText(SystemCalls& calls, int window, const std::string& verb, const std::string& file,
                     const std::string& parameters, const std::string& directory, int showCommand);
// "void OpenMyDocuments()".
void OpenMyDocuments(SystemCalls& calls);
// "bool OpenOXFile(string fileName)": the program folder's file, opened by the shell; false
// when there is no such file.
bool OpenOXFile(SystemCalls& calls, const std::string& fileName);
// "void PlayDemo()".
void PlayDemo(SystemCalls& calls);
// "int MessageBox(int hWnd, string mainText, string titleText, uint flags)".
int MessageBoxText(SystemCalls& calls, int owner, const std::string& text, const std::string& caption,
                   unsigned flags);
