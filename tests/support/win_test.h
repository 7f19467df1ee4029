#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Runs fn on a thread of its own; false when it has not returned after timeoutMs
// (the thread is then left behind: the test has failed anyway).
bool RunWithTimeout(const std::function<void()>& fn, unsigned timeoutMs);

// Dispatches this thread's messages for about ms milliseconds.
void PumpMessages(unsigned ms);

// Polls (pumping this thread's messages) until pred() holds; false on time-out.
bool WaitUntil(const std::function<bool()>& pred, unsigned timeoutMs, unsigned stepMs = 10);

// A top-level window of any process, by class and/or caption (null matches any).
HWND WaitForWindow(const char* className, const char* caption, unsigned timeoutMs);
// A top-level window of the given process whose caption equals caption (null: any visible one).
HWND WaitForProcessWindow(DWORD processId, const char* caption, unsigned timeoutMs);
// A top-level window of this process with the class name; other tests' windows share the display.
HWND FindOwnWindow(const char* className);
// A child (any depth) by control id, or by class and text.
HWND FindChildById(HWND parent, int id);
HWND FindChildByText(HWND parent, const char* className, const char* text);
// The file name box of a file dialog: edt1, or the edit of the explorer style's name combo.
HWND FileDialogNameBox(HWND dialog);

// The text of a window or control of any process (WM_GETTEXT with a time-out).
std::string WindowText(HWND hwnd);
std::string ClassName(HWND hwnd);

// Clicks a button of any process and lets it act.
bool ClickButton(HWND button);

// A window's picture: 8-bit RGB pixels, rows top to bottom.
struct WindowPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
  explicit operator bool() const { return width > 0 && height > 0; }
  // RGB(...) of a pixel in window coordinates (the outer corner is 0, 0).
  COLORREF At(int x, int y) const;
};
// The window and its visible children as each paints itself (WM_PRINTCLIENT) into a bitmap of
// the window's outer size; the caption and frame are left in the face colour. Other windows
// over it do not matter.
WindowPicture CaptureWindow(HWND hwnd);

// The window's rectangle as the screen shows it, with whatever lies over it: for a window of
// another process, which cannot be asked to paint into this one's bitmap.
WindowPicture CaptureScreenArea(HWND hwnd);

// Saves the window's picture as an RGB PNG.
bool SaveWindowPng(HWND hwnd, const std::string& path);
// Saves the window's picture as build/pictures/<name>.png, for a look by eye at the main states
// of a window; the file's path, or "" when it could not be written.
std::string SavePicture(HWND hwnd, const std::string& name);
// The same from the screen (CaptureScreenArea).
std::string SaveScreenPicture(HWND hwnd, const std::string& name);

// A child process with its handles; killed on destruction if still running.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // commandLine as CreateProcess takes it; the child inherits this environment.
  bool Start(const std::string& commandLine, const std::string& workDir = "");
  // true when it ended within timeoutMs.
  bool Wait(unsigned timeoutMs);
  DWORD ExitCode() const;
  DWORD Id() const { return pi_.dwProcessId; }
  HANDLE Handle() const { return pi_.hProcess; }
  void Kill();

 private:
  PROCESS_INFORMATION pi_{};
};

// Runs a command line to its end with its standard output and error captured.
struct CapturedRun {
  bool finished = false;  // started and ended within the time-out (else it was killed)
  DWORD exitCode = 0;
  std::string out;
  std::string err;
};
CapturedRun RunCaptured(const std::string& commandLine, unsigned timeoutMs);

// The number of handles this process holds (the platform's own count, which Wine does not
// keep, is not used); -1 when it cannot be had.
int OwnHandleCount();

}  // namespace testsupport
