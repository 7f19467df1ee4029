#include "tests/support/win_test.h"

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

#include "tests/support/png_writer.h"

namespace testsupport {

bool RunWithTimeout(const std::function<void()>& fn, unsigned timeoutMs) {
  struct Shared {
    std::function<void()> fn;
    HANDLE done;
  };
  auto shared = std::make_shared<Shared>(Shared{fn, CreateEventA(nullptr, TRUE, FALSE, nullptr)});
  std::thread([shared] {
    shared->fn();
    SetEvent(shared->done);
  }).detach();
  const bool finished = WaitForSingleObject(shared->done, timeoutMs) == WAIT_OBJECT_0;
  if (finished) CloseHandle(shared->done);
  return finished;
}

void PumpMessages(unsigned ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(1);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

bool WaitUntil(const std::function<bool()>& pred, unsigned timeoutMs, unsigned stepMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (pred()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    PumpMessages(stepMs);
  }
}

HWND WaitForWindow(const char* className, const char* caption, unsigned timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowA(className, caption)) != nullptr; }, timeoutMs);
  return found;
}

namespace {
struct ProcessWindowSearch {
  DWORD pid;
  const char* caption;
  HWND found;
};

BOOL CALLBACK ProcessWindowProc(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<ProcessWindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid) return TRUE;
  if (s->caption ? WindowText(hwnd) == s->caption : IsWindowVisible(hwnd) != 0) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

struct ChildSearch {
  int id;
  const char* cls;
  const char* text;
  HWND found;
};

BOOL CALLBACK ChildProc(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<ChildSearch*>(lp);
  bool match;
  if (s->cls || s->text) {
    match = (!s->cls || ClassName(hwnd) == s->cls) && (!s->text || WindowText(hwnd) == s->text);
  } else {
    match = GetDlgCtrlID(hwnd) == s->id;
  }
  if (match) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND WaitForProcessWindow(DWORD processId, const char* caption, unsigned timeoutMs) {
  ProcessWindowSearch s{processId, caption, nullptr};
  WaitUntil([&] {
    EnumWindows(ProcessWindowProc, reinterpret_cast<LPARAM>(&s));
    return s.found != nullptr;
  }, timeoutMs);
  return s.found;
}

HWND FindChildById(HWND parent, int id) {
  ChildSearch s{id, nullptr, nullptr, nullptr};
  EnumChildWindows(parent, ChildProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND FindChildByText(HWND parent, const char* className, const char* text) {
  ChildSearch s{0, className, text, nullptr};
  EnumChildWindows(parent, ChildProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::string WindowText(HWND hwnd) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return {};
  std::vector<char> buf(len + 1);
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                           SMTO_ABORTIFHUNG, 2000, &got))
    return {};
  return std::string(buf.data(), std::min<std::size_t>(got, len));
}

std::string ClassName(HWND hwnd) {
  char buf[256] = {};
  GetClassNameA(hwnd, buf, sizeof buf);
  return buf;
}

bool ClickButton(HWND button) {
  if (!button) return false;
  PostMessageA(button, BM_CLICK, 0, 0);
  PumpMessages(20);
  return true;
}

bool SaveWindowPng(HWND hwnd, const std::string& path) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (dib) {
    HGDIOBJ old = SelectObject(mem, dib);
    if (!PrintWindow(hwnd, mem, 0)) BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
    const auto* px = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0; i < static_cast<std::size_t>(w) * h; ++i) {
      rgb[i * 3] = px[i * 4 + 2];
      rgb[i * 3 + 1] = px[i * 4 + 1];
      rgb[i * 3 + 2] = px[i * 4];
    }
    ok = WriteBinaryFile(path, EncodePngRgb(w, h, rgb));
    SelectObject(mem, old);
    DeleteObject(dib);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::Start(const std::string& commandLine, const std::string& workDir) {
  Kill();
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::vector<char> cmd(commandLine.begin(), commandLine.end());
  cmd.push_back('\0');
  return CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi_) != 0;
}

bool ChildProcess::Wait(unsigned timeoutMs) {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

void ChildProcess::Kill() {
  if (!pi_.hProcess) return;
  if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
  pi_ = {};
}

namespace {

// Reads a pipe to its end on a thread of its own, so that a child filling both pipes never
// blocks.
class PipeReader {
 public:
  bool Open(HANDLE& childEnd) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE read = nullptr;
    if (!CreatePipe(&read, &childEnd, &sa, 0)) return false;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    read_ = read;
    return true;
  }
  void Start() {
    thread_ = std::thread([this] {
      char chunk[4096];
      DWORD n = 0;
      while (ReadFile(read_, chunk, sizeof chunk, &n, nullptr) && n > 0) text_.append(chunk, n);
    });
  }
  std::string Finish() {
    if (thread_.joinable()) thread_.join();
    return text_;
  }
  ~PipeReader() {
    if (thread_.joinable()) thread_.join();
    if (read_) CloseHandle(read_);
  }

 private:
  HANDLE read_ = nullptr;
  std::thread thread_;
  std::string text_;
};

}  // namespace

CapturedRun RunCaptured(const std::string& commandLine, unsigned timeoutMs) {
  CapturedRun run;
  PipeReader out, err;
  HANDLE outChild = nullptr, errChild = nullptr;
  if (!out.Open(outChild)) return run;
  if (!err.Open(errChild)) {
    CloseHandle(outChild);
    return run;
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = outChild;
  si.hStdError = errChild;
  std::vector<char> cmd(commandLine.begin(), commandLine.end());
  cmd.push_back('\0');
  PROCESS_INFORMATION pi{};
  BOOL started = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                &si, &pi);
  // Only the child keeps the write ends, so the readers see the end when it exits.
  CloseHandle(outChild);
  CloseHandle(errChild);
  if (!started) return run;
  out.Start();
  err.Start();
  if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    run.finished = true;
    GetExitCodeProcess(pi.hProcess, &run.exitCode);
  } else {
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  run.out = out.Finish();
  run.err = err.Finish();
  return run;
}

int OwnHandleCount() {
  // The system's handle table, one entry per handle of every process.
  struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  std::vector<BYTE> buffer(1 << 16);
  for (;;) {
    ULONG needed = 0;
    const LONG status = query(kSystemHandleInformation, buffer.data(),
                              static_cast<ULONG>(buffer.size()), &needed);
    if (status == kLengthMismatch && buffer.size() < (64u << 20)) {
      buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
      continue;
    }
    if (status != 0) return -1;
    break;
  }
  const ULONG entries = *reinterpret_cast<const ULONG*>(buffer.data());
  const auto* entry = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
  const DWORD self = GetCurrentProcessId();
  int count = 0;
  for (ULONG i = 0; i < entries; ++i)
    if (entry[i].ownerPid == self) ++count;
  return count;
}

}  // namespace testsupport
