// The program-wide parts of the class-library stand-in: the application title, the message
// loop, the busy cursor and the box that reports an exception.
#pragma once
#include <windows.h>

#include <exception>
#include <string>

#include "calibration/vcl/system.h"

namespace vcl {

class Application {
 public:
  static void SetTitle(const std::string& title) { Title() = title; }
  static std::string& Title();
  // Runs the loop until WM_QUIT; dialog keys (Tab, Enter, mnemonics) go to `main` first.
  static int Run(HWND main);
  // The hourglass over every window of the program while busy.
  static void SetBusy(bool busy);
  static bool Busy();
  // The exception's text in an error box captioned with the title.
  static void ShowException(System& system, const std::exception& e);
};

}  // namespace vcl
